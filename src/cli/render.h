// ksn render: the whole-train view as a picture file, for pasting into a web page.
#pragma once

#include "document/document.h"

#include <QString>

#include <cstdio>

namespace ksn {

// Loads file (a Windows path) into document and lays out its car list, in the document's save mode
// and comment switch, as the whole-train view lays it out; writes the strip to outputPath (a host path)
// in the format its extension names, PNG when Qt writes no such format. The picture is as tall as
// the tallest car drawn; what no car covers is transparent. Messages go to err.
// Returns 0 when written, 1 when the picture could not be made or written, 2 when the file could not
// be loaded or no car of it can be drawn (no car file exists, or none has a usable size).
int render(Document& document, const QString& file, const QString& outputPath, std::FILE* err);

}  // namespace ksn
