// ksn thumbnail: a small picture of the train as the screensaver reads it, for file managers.
#pragma once

#include <QString>
#include <cstdio>

#include "support/paths/filesystem.h"
#include "support/ui/modal.h"

namespace ksn {

// Reads file (a Windows path) as the screensaver does and draws its cars, bellows pieces included,
// folded into rows as near square as whole cars allow (foldTrain), scaled to fit side x side
// (a smaller train keeps its size), on a transparent background; writes it as PNG to outputPath (a
// host path) through a save file in that folder, whatever its extension. Nothing else is written and
// the formation is only read. Load messages go through modal, the command's own to err.
// Returns 0 when written, 1 when the picture could not be made or written, 2 when the formation
// cannot be read or no car of it can be (the file manager then keeps its own icon).
int thumbnail(const FileSystem& fs, Modal& modal, const QString& file, const QString& outputPath, int side,
              std::FILE* err);

// Draws file (a Windows path; hostPath is the same file on the host) as thumbnail does in each size
// of the desktop's shared thumbnail cache below cacheRoot, each picture marked with the file's URI and
// modification time, so that file managers show it without running a thumbnailer. Writes nothing
// else. Returns 0 when cached, 1 when a picture could not be made or written, 2 when the formation
// cannot be read or no car of it can be; the reason goes to err.
int cacheThumbnail(const FileSystem& fs, Modal& modal, const QString& file, const QString& hostPath,
                   const QString& cacheRoot, const QString& software, std::FILE* err);

}  // namespace ksn
