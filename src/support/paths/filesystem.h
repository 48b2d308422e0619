// The one file-system object: Windows paths in, host files out.
//
// Every path the program keeps is a Windows path. This object owns the drive map and the program's
// own current drive and directory (the process's working directory is never changed), and offers
// the path and existence operations the editor relies on, under their Windows names.
#pragma once

#include "support/paths/drivemap.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ksn {

// Result of a read or write: ok, or a message for the user.
struct IoResult {
    bool ok = false;
    QString error;  // Japanese text for the user; empty when ok
};

struct ReadResult : IoResult {
    QByteArray bytes;
};

// The files of one folder as a listing found them, with the folder's host path: a file of the
// listing is read without resolving its path through the drive map again.
struct FolderListing {
    QString folder;      // absolute, Windows form, ending with "\"
    QString hostFolder;  // empty when the folder is on no drive
    QStringList names;   // as findFiles lists them
};

class FileSystem {
public:
    // currentDir: the program's current directory in Windows form; empty gives the host working
    // directory in Windows form (or the root of the first drive when it lies under no drive).
    explicit FileSystem(DriveMap drives = DriveMap::detect(), const QString& currentDir = {});

    const DriveMap& drives() const { return drives_; }
    // Replaces the drive map; the current directory is kept.
    void setDrives(DriveMap drives);

    // Path algebra (no I/O).
    QString BuildPath(const QString& folder, const QString& name) const;
    QString GetBaseName(const QString& path) const;
    QString GetExtensionName(const QString& path) const;
    QString GetFileName(const QString& path) const;
    QString GetDriveName(const QString& path) const;
    // Absolute against the current drive and directory.
    QString GetAbsolutePathName(const QString& path) const;
    // BuildPath(folder, name) when name is a bare file name (no folder, an extension), else name.
    QString GetFullFileName(const QString& folder, const QString& name) const;
    // The absolute folder part of path, ending with "\".
    QString GetFolderPath(const QString& path) const;

    // Existence, against the current directory for relative paths.
    bool FileExists(const QString& path) const;
    bool FolderExists(const QString& path) const;

    // The program's current drive and directory.
    QString currentDirectory() const { return currentDir_; }
    // Makes folder's drive the current drive and folder the current directory. False (nothing
    // changes) when folder is not an existing folder.
    bool setCurrentDirectory(const QString& folder);

    // Windows -> host: the drive's root, then each component; a component missing with the exact
    // spelling is matched without regard to case (the first in name order when several match).
    // Nothing for a network path or an unmapped drive. Missing trailing components are kept as written.
    std::optional<QString> toHost(const QString& windowsPath) const;
    // Host -> Windows: the drive whose root is the deepest folder containing the path (lowest letter
    // on a tie). Nothing, with *error set, for a path under no drive root.
    std::optional<QString> toWindows(const QString& hostPath, QString* error = nullptr) const;

    // Bare names of the ordinary files of folder matching the wildcard pattern ("*.KSN"), extension
    // compared without regard to case, hidden files (names starting with ".") and folders left out,
    // ascending by name without regard to case: the order Windows file systems return.
    QStringList findFiles(const QString& folder, const QString& pattern) const;
    // The same names with the folder they were found in.
    FolderListing listFiles(const QString& folder, const QString& pattern) const;

    // Whole file (refused when it holds more than kMaxWholeRead bytes), or its first maxBytes bytes.
    ReadResult readFile(const QString& path, qint64 maxBytes = -1) const;
    // The whole file when it holds at most wholeLimit bytes, else its first headBytes; *whole says
    // which. One open and one read, for a picture whose header alone matters when it is too large.
    ReadResult readFileOrHead(const QString& path, qint64 wholeLimit, qint64 headBytes, bool* whole = nullptr) const;
    // The bytes up to (not including) the first CR, or the whole file when it has none; no more
    // than the first 64 KiB.
    ReadResult readFirstLine(const QString& path) const;
    // The same for a file of a listing (name one of listing.names).
    ReadResult readFirstLine(const FolderListing& listing, const QString& name) const;
    // Writes through a save file: on any failure the old file stays byte for byte.
    IoResult writeFile(const QString& path, const QByteArray& bytes) const;

private:
    // toHost, telling also whether the look that resolved the path saw a regular file there (so
    // that the open which follows need not look again).
    std::optional<QString> resolve(const QString& windowsPath, bool* seenRegular) const;

    DriveMap drives_;
    QString currentDir_;
};

}  // namespace ksn
