// Windows path algebra on decoded text. No I/O: every function here is pure.
//
// Paths inside formation files are Windows paths, and the editor keeps every path it handles in
// Windows form so that what it writes works for the screensaver on Windows and under Wine. These
// functions work on QString (decoded text), never on Shift-JIS bytes: the byte 0x5C is the second
// half of characters such as ソ and 表, so a byte-level split would cut them in two.
#pragma once

#include <QString>

namespace ksn::winpath {

// True for "\" and "/", which Windows both accepts as separators.
bool isSeparator(QChar c);

// The drive part: "C:" for a drive-letter path, "\\server\share" for a network path, empty otherwise.
QString driveName(const QString& path);

// The last component: the text after the last separator (and after the drive part). Empty for "C:".
QString fileName(const QString& path);

// The last component without its extension ("car1" for "C:\x\car1.bmp").
QString baseName(const QString& path);

// The extension of the last component without the dot; empty when there is none.
QString extensionName(const QString& path);

// folder and name joined with exactly one "\" (none added when folder already ends with a separator;
// name alone when folder is empty). A bare drive "C:" as folder is that drive's root: "C:" and
// "car1.bmp" give "C:\car1.bmp", never the drive-relative "C:car1.bmp".
QString buildPath(const QString& folder, const QString& name);

// The folder that a search or a change of directory works on: a bare drive "C:" (as the folder
// box and the settings file keep a drive's root) is "C:\"; any other folder is itself.
QString searchFolder(const QString& folder);

// True when name has no folder part and an extension: it equals base + "." + extension.
bool isBareFileName(const QString& name);

// The absolute form of path against currentDir (itself absolute, e.g. "C:\Trains"): "/" becomes "\",
// "." and ".." are removed, trailing dots and blanks of components are dropped as Windows' full-path
// function drops them, and a trailing "\" is removed except after a root ("C:\", "\\server\share\").
// An empty path gives currentDir.
QString absolutePath(const QString& path, const QString& currentDir);

// The root of an absolute path: "C:\" or "\\server\share\"; empty when it has none.
QString rootOf(const QString& absolute);

// The components after the root of an absolute path, in order.
QStringList componentsAfterRoot(const QString& absolute);

// Upper-case drive letter of a drive-letter path ('C' for "c:\x"), or a null QChar.
QChar driveLetter(const QString& path);

// Whether a file name matches a search pattern as a directory search takes it: "*" stands for any
// run of characters, "?" for any one, everything else for itself without regard to case.
bool matchesWildcard(const QString& name, const QString& pattern);

}  // namespace ksn::winpath
