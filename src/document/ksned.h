// The program's shared state: one object, owned by the application and handed to whoever needs it:
// the services, the default folder and the stop request.
#pragma once

#include "support/locale/national.h"
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/system/osservices.h"

#include <QString>

#include <array>

namespace ksn {

// Title, sound line and 101 car lines.
inline constexpr int kMaxFormationLines = 103;
// One more entry than lines, so that an empty entry always follows the last line in use.
inline constexpr int kFormationTableSize = 104;
// The formation list shows at most this many files of a folder.
inline constexpr int kMaxFormationFiles = 1024;

// The document table: index 0 title, 1 sound line, 2 and up cars; the first empty entry at index 2
// or later ends the formation.
using FormationTable = std::array<QString, kFormationTableSize>;

struct Ksned {
    // programPath: host path of the editor's program file (its folder holds the ini file).
    explicit Ksned(FileSystem fileSystem, QString programPath = {})
        : fso(std::move(fileSystem)), api(fso), lib(fso, std::move(programPath)) {}
    Ksned(const Ksned&) = delete;
    Ksned& operator=(const Ksned&) = delete;

    FileSystem fso;  // declared before api and lib, which keep a reference to it
    Win32ApiClass api;
    MyLibClass lib;
    National national;  // the about box's language, chosen on first use

    // The document itself (the formation table, its file, its save mode) is the Document's.
    QString DefaultFolder;  // Windows path
    bool StopRequested = false;
};

}  // namespace ksn
