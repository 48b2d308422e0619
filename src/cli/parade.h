// ksn parade: a formation as the screensaver reads it.
#pragma once

#include "support/paths/filesystem.h"
#include "support/ui/modal.h"

#include <QString>

#include <cstdio>

namespace ksn {

struct ParadeOptions {
    bool noBellows = false;  // leave out coupler bellows pieces
    bool quiet = false;      // no load messages
};

// Loads file (a Windows path) with the screensaver's reading and prints to out, one item a line:
// the title, the sound, the number of cars, each distinct image as "index<TAB>kind<TAB>path<TAB>
// comment", and the train as the image indices of its cars separated by blanks. Load messages go
// through modal; an error that ends the reading is written to err. Prints nothing when the file
// cannot be loaded. Returns 0 when it loaded, 2 otherwise.
int parade(const FileSystem& fs, Modal& modal, const QString& file, const ParadeOptions& options, std::FILE* out,
           std::FILE* err);

}  // namespace ksn
