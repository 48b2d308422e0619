#include "support/paths/regularfile.h"

#include "support/messages.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#endif

namespace ksn {

namespace {

#ifdef Q_OS_LINUX
// Whether a file of this file system is the kernel's: regular to stat, but reading one may never
// end (/proc/self/pagemap) or take what it reads away from others (/proc/kmsg).
bool kernelFileSystem(const struct statfs& fs) {
    switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case BPF_FS_MAGIC:
        case EFIVARFS_MAGIC:
            return true;
        default:
            return false;
    }
}
bool kernelDescriptor(int fd) {
    struct statfs fs;
    return ::fstatfs(fd, &fs) == 0 && kernelFileSystem(fs);
}
#elif defined(Q_OS_UNIX)
bool kernelDescriptor(int) { return false; }
#endif

// Whether hostPath is a regular file; when it is not, why not.
bool lookAt(const QString& hostPath, QString* reason) {
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(hostPath).constData(), &st) != 0) {
        if (reason) *reason = qt_error_string(errno);
        return false;
    }
    if (S_ISREG(st.st_mode) && !kernelFile(QFile::encodeName(hostPath))) return true;
#else
    const QFileInfo info(hostPath);
    if (info.isFile()) return true;
    if (!info.exists()) {
        QFile missing(hostPath);  // the system's own words for it
        if (reason) *reason = missing.open(QIODevice::ReadOnly) ? QString() : missing.errorString();
        return false;
    }
#endif
    if (reason) *reason = supportmsg::notRegularFile();
    return false;
}

}  // namespace

#ifdef Q_OS_UNIX
bool kernelFile(const QByteArray& hostPath) {
#ifdef Q_OS_LINUX
    struct statfs fs;
    return ::statfs(hostPath.constData(), &fs) == 0 && kernelFileSystem(fs);
#else
    (void)hostPath;
    return false;
#endif
}
#endif

bool isRegularFile(const QString& hostPath) { return lookAt(hostPath, nullptr); }

bool isSymbolicLink(const QString& hostPath) {
#ifdef Q_OS_UNIX
    struct stat st;
    return ::lstat(QFile::encodeName(hostPath).constData(), &st) == 0 && S_ISLNK(st.st_mode);
#else
    return QFileInfo(hostPath).isSymLink();
#endif
}

#ifdef Q_OS_UNIX
int openRegularDescriptor(const QString& hostPath, QString* error, bool looked, qint64* size) {
    // Looked at before the open, so that a device is never opened at all: opening some has effects
    // of its own (a terminal, a tape).
    if (!looked && !lookAt(hostPath, error)) return -1;
    auto fail = [&](const QString& reason) {
        if (error) *error = reason;
        return -1;
    };
    int fd;
    do {
        fd = ::open(QFile::encodeName(hostPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return fail(qt_error_string(errno));
    // What was opened is what counts: the path may name something else since it was looked at.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || kernelDescriptor(fd)) {
        ::close(fd);
        return fail(supportmsg::notRegularFile());
    }
    if (size) *size = qint64(st.st_size);
    // O_NONBLOCK stays: it changes nothing for a regular file, and taking it off cost two calls a file.
    return fd;
}

std::optional<QByteArray> readAndClose(int fd, qint64 maxBytes, qint64 size, QString* error) {
    QByteArray bytes;
    // One more byte than expected, so that a file that has not grown ends with the read that
    // finds nothing more, without a second allocation.
    bytes.resize(qsizetype(maxBytes < 0 ? std::clamp<qint64>(size, 0, kMaxWholeRead) + 1 : maxBytes));
    qint64 filled = 0;
    bool failed = false;
    while (maxBytes < 0 || filled < maxBytes) {
        if (maxBytes < 0 && filled > kMaxWholeRead) {  // grown past any file read whole
            if (error) *error = supportmsg::tooLarge();
            failed = true;
            break;
        }
        if (filled == qint64(bytes.size())) bytes.resize(bytes.size() * 2);
        ssize_t n;
        do {
            n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            if (error) *error = qt_error_string(errno);
            failed = true;
            break;
        }
        if (n == 0) break;
        filled += n;
        // What the file held when it was opened is what is read: no second call to learn that
        // nothing follows. A size of 0 says nothing (files of /proc), so those are read to the end.
        if (maxBytes < 0 && size > 0 && filled >= size) break;
    }
    ::close(fd);
    if (failed) return std::nullopt;
    bytes.truncate(qsizetype(filled));
    return bytes;
}
#endif

bool openRegularFile(QFile& file, const QString& hostPath, QIODevice::OpenMode mode, QString* error) {
    if (file.isOpen()) file.close();
    file.setFileName(hostPath);
#ifdef Q_OS_UNIX
    const int fd = openRegularDescriptor(hostPath, error);
    if (fd < 0) return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error) *error = file.errorString();
        return false;
    }
    return true;
#else
    if (!lookAt(hostPath, error)) return false;
    if (file.open(mode)) return true;
    if (error) *error = file.errorString();
    return false;
#endif
}

}  // namespace ksn
