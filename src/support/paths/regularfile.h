// Regular files only. Formations come from Windows, where a path names a file or a folder; on this
// host it may also name a named pipe, a socket or a device, and opening one of those for reading
// can wait forever (a pipe without a writer) or never reach its end (/dev/zero). None of them is a
// file to this program: it neither lists, nor reads, nor counts them as existing.
#pragma once

#include <QFile>
#include <QString>

#include <optional>

namespace ksn {

// The most a whole read takes: formation and settings files are a few kilobytes, and a file far
// larger (a sparse one of a terabyte costs nothing on disk) would only exhaust the memory.
inline constexpr qint64 kMaxWholeRead = qint64(16) << 20;

// True when hostPath names a regular file, after following symbolic links.
bool isRegularFile(const QString& hostPath);
// True when hostPath itself is a symbolic link.
bool isSymbolicLink(const QString& hostPath);

// Opens hostPath in file for reading (mode must be read-only, buffered or not) when it is a
// regular file. The open itself never waits: a path swapped for a named pipe after a check is
// opened without blocking and refused. False, with *error set to a text for the user, otherwise.
bool openRegularFile(QFile& file, const QString& hostPath, QIODevice::OpenMode mode, QString* error = nullptr);

#ifdef Q_OS_UNIX
// Whether hostPath (in the file system's encoding) lies on one of the kernel's file systems (/proc,
// /sys and the like), whose files look regular but may never end or be used up by a read.
bool kernelFile(const QByteArray& hostPath);
// The same checks, giving the descriptor itself (-1 when refused): for reads too small to be worth
// what a QFile costs to set up around them. looked: the caller has just seen hostPath as a regular
// file (a folder listing, the look that resolved the path), which stands for the look before
// opening; what is opened is checked either way. *size: the file's size as opened.
int openRegularDescriptor(const QString& hostPath, QString* error = nullptr, bool looked = false,
                          qint64* size = nullptr);
// Reads up to maxBytes (everything when negative, up to kMaxWholeRead) from fd and closes it; size
// is what the file is expected to hold, to size the array in one go. Nothing, with *error set, on a
// read error or a file that outgrows kMaxWholeRead while it is read.
std::optional<QByteArray> readAndClose(int fd, qint64 maxBytes, qint64 size, QString* error = nullptr);
#endif

}  // namespace ksn
