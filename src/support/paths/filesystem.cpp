#include "support/paths/filesystem.h"

#include "support/messages.h"
#include "support/paths/regularfile.h"
#include "support/paths/winpath.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace ksn {

namespace {

QString joinHost(const QString& dir, const QString& name) {
    return dir.endsWith(u'/') ? dir + name : dir + u'/' + name;
}

// The entry of hostDir equal to name without regard to case, the first in name order; empty if none.
QString findCaseInsensitive(const QString& hostDir, const QString& name) {
    QStringList entries =
        QDir(hostDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(entries.begin(), entries.end());
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    return {};
}

// Canonical form of a host path whose tail may not exist yet: the longest existing prefix is
// canonicalised (links resolved), the rest appended as written.
QString canonicalHost(const QString& hostPath) {
    QString path = QDir::cleanPath(QFileInfo(hostPath).absoluteFilePath());
    QStringList tail;
    QString head = path;
    while (true) {
        const QString canon = QFileInfo(head).canonicalFilePath();
        if (!canon.isEmpty()) {
            QString out = canon;
            for (auto it = tail.crbegin(); it != tail.crend(); ++it) out = joinHost(out, *it);
            return out;
        }
        const qsizetype slash = head.lastIndexOf(u'/');
        if (slash <= 0) return path;
        tail << head.mid(slash + 1);
        head = head.left(slash);
    }
}

bool isUnder(const QString& path, const QString& root) {
    if (root == u"/") return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

}  // namespace

FileSystem::FileSystem(DriveMap drives, const QString& currentDir) : drives_(std::move(drives)) {
    if (!currentDir.isEmpty()) {
        currentDir_ = winpath::absolutePath(currentDir, QStringLiteral("C:\\"));
        return;
    }
    if (auto cwd = toWindows(QDir::currentPath())) {
        currentDir_ = *cwd;
    } else if (!drives_.drives().empty()) {
        currentDir_ = QString(drives_.drives().begin()->first) + QStringLiteral(":\\");
    } else {
        currentDir_ = QStringLiteral("C:\\");
    }
}

void FileSystem::setDrives(DriveMap drives) { drives_ = std::move(drives); }

QString FileSystem::BuildPath(const QString& folder, const QString& name) const {
    return winpath::buildPath(folder, name);
}
QString FileSystem::GetBaseName(const QString& path) const { return winpath::baseName(path); }
QString FileSystem::GetExtensionName(const QString& path) const { return winpath::extensionName(path); }
QString FileSystem::GetFileName(const QString& path) const { return winpath::fileName(path); }
QString FileSystem::GetDriveName(const QString& path) const { return winpath::driveName(path); }
QString FileSystem::GetAbsolutePathName(const QString& path) const { return winpath::absolutePath(path, currentDir_); }

QString FileSystem::GetFullFileName(const QString& folder, const QString& name) const {
    return winpath::isBareFileName(name) ? BuildPath(folder, name) : name;
}

QString FileSystem::GetFolderPath(const QString& path) const {
    const QString a = GetAbsolutePathName(path);
    // The name as the absolute form spells it: "a.ksn. " there is "a.ksn", and cutting the length
    // written would cut into the folder.
    const QString f = GetFileName(path).isEmpty() ? QString() : GetFileName(a);
    QString folder = a.left(a.size() - f.size());
    // For a folder given with a trailing separator the file name is empty; end with one "\" anyway.
    if (!folder.isEmpty() && !winpath::isSeparator(folder.back())) folder += u'\\';
    return folder;
}

bool FileSystem::FileExists(const QString& path) const {
    if (path.isEmpty()) return false;
    bool regular = false;
    const auto host = resolve(path, &regular);
    return host && (regular || isRegularFile(*host));
}

bool FileSystem::FolderExists(const QString& path) const {
    if (path.isEmpty()) return false;
    const auto host = toHost(winpath::searchFolder(path));
    return host && QFileInfo(*host).isDir();
}

bool FileSystem::setCurrentDirectory(const QString& folder) {
    if (!FolderExists(folder)) return false;
    currentDir_ = GetAbsolutePathName(winpath::searchFolder(folder));
    return true;
}

std::optional<QString> FileSystem::toHost(const QString& windowsPath) const { return resolve(windowsPath, nullptr); }

namespace {

// Whether hostPath exists (links followed); *regular: whether it is a regular file.
bool exists(const QString& hostPath, bool* regular) {
#ifdef Q_OS_UNIX
    struct stat st;
    const QByteArray encoded = QFile::encodeName(hostPath);
    if (::stat(encoded.constData(), &st) != 0) return false;
    if (regular) *regular = S_ISREG(st.st_mode) && !kernelFile(encoded);
    return true;
#else
    const QFileInfo info(hostPath);
    if (regular) *regular = info.isFile();
    return info.exists();
#endif
}

}  // namespace

std::optional<QString> FileSystem::resolve(const QString& windowsPath, bool* seenRegular) const {
    if (seenRegular) *seenRegular = false;
    // No file name holds a NUL; such a path (from a damaged file) names nothing.
    if (windowsPath.contains(QChar(u'\0'))) return std::nullopt;
    const QString abs = GetAbsolutePathName(windowsPath);
    if (drives_.isIdentity()) return QDir::fromNativeSeparators(abs);
    const QChar letter = winpath::driveLetter(abs);
    if (letter.isNull()) return std::nullopt;  // a network path names nothing here
    QString host = drives_.root(letter);
    if (host.isEmpty()) return std::nullopt;
    const QStringList components = winpath::componentsAfterRoot(abs);
    // Nearly every path is spelt as on disk: one look-up settles it, and only a miss walks the
    // components to match them without regard to case.
    QString exactPath = host;
    for (const QString& c : components) exactPath = joinHost(exactPath, c);
    if (exists(exactPath, seenRegular)) return exactPath;
    bool resolving = true;
    for (const QString& c : components) {
        const QString exact = joinHost(host, c);
        if (resolving && !exists(exact, nullptr)) {
            const QString match = findCaseInsensitive(host, c);
            if (!match.isEmpty()) {
                host = joinHost(host, match);
                continue;
            }
            resolving = false;  // nothing below a missing folder exists either
        }
        host = exact;
    }
    return host;
}

std::optional<QString> FileSystem::toWindows(const QString& hostPath, QString* error) const {
    if (drives_.isIdentity()) return QDir::toNativeSeparators(QFileInfo(hostPath).absoluteFilePath());
    const QString path = canonicalHost(hostPath);
    QChar best;
    QString bestRoot;
    for (const auto& [letter, rootDir] : drives_.drives()) {
        const QString canonRoot = canonicalHost(rootDir);
        if (!isUnder(path, canonRoot)) continue;
        if (best.isNull() || canonRoot.size() > bestRoot.size()) {
            best = letter;
            bestRoot = canonRoot;
        }
    }
    if (best.isNull()) {
        if (error) *error = supportmsg::notOnAnyDrive(hostPath, drives_.toString());
        return std::nullopt;
    }
    QString rest = bestRoot == u"/" ? path.mid(1) : path.mid(bestRoot.size() + 1);
    rest.replace(u'/', u'\\');
    return QString(best) + QStringLiteral(":\\") + rest;
}

QStringList FileSystem::findFiles(const QString& folder, const QString& pattern) const {
    return listFiles(folder, pattern).names;
}

FolderListing FileSystem::listFiles(const QString& folder, const QString& pattern) const {
    FolderListing listing;
    const QString search = winpath::searchFolder(folder);
    listing.folder = GetAbsolutePathName(search);
    if (!listing.folder.isEmpty() && !winpath::isSeparator(listing.folder.back())) listing.folder += u'\\';
    const auto host = toHost(search);
    if (!host) return listing;
    listing.hostFolder = *host;
    // Windows file systems order names by their upper-case form, so "_" (0x5F) comes after the
    // letters; a lower-case (folded) comparison would put it before them. Each name's key is made
    // once: made inside the comparison, it was most of the work of scanning a large folder.
    struct Entry {
        QString key;
        QString name;
    };
    std::vector<Entry> entries;
    QDirIterator it(*host, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        QString name = it.fileName();
        if (!winpath::matchesWildcard(name, pattern)) continue;
        // A link to a named pipe or a device passes the iterator's filter; it is no formation.
        if (it.fileInfo().isSymLink() && !isRegularFile(it.filePath())) continue;
        QString key = name;
        for (QChar& c : key) c = c.toUpper();
        entries.push_back({std::move(key), std::move(name)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.key.compare(b.key);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    listing.names.reserve(qsizetype(entries.size()));
    for (Entry& e : entries) listing.names << std::move(e.name);
    return listing;
}

#ifndef Q_OS_UNIX
namespace {

// Opens the host file of path for reading; false, with r.error set, when there is none or it
// cannot be opened.
bool openForReading(QFile& f, const std::optional<QString>& host, const QString& path, QIODevice::OpenMode mode,
                    ReadResult& r) {
    if (!host) {
        r.error = supportmsg::cannotRead(path, supportmsg::noSuchDrive());
        return false;
    }
    QString reason;
    if (!openRegularFile(f, *host, mode, &reason)) {
        r.error = supportmsg::cannotRead(path, reason);
        return false;
    }
    return true;
}

}  // namespace
#endif

ReadResult FileSystem::readFile(const QString& path, qint64 maxBytes) const {
    if (maxBytes >= 0) return readFileOrHead(path, -1, maxBytes);
    // A file larger than any read whole is refused by its size, before a byte is read.
    bool whole = false;
    ReadResult r = readFileOrHead(path, kMaxWholeRead, 0, &whole);
    if (r.ok && !whole) {
        r.ok = false;
        r.bytes.clear();
        r.error = supportmsg::cannotRead(path, supportmsg::tooLarge());
    }
    return r;
}

ReadResult FileSystem::readFileOrHead(const QString& path, qint64 wholeLimit, qint64 headBytes, bool* whole) const {
    ReadResult r;
    if (whole) *whole = false;
#ifdef Q_OS_UNIX
    // One descriptor, no QFile: the start of a file (a bitmap header: 26 bytes) is read as asked,
    // where a device's buffer would copy 16 KiB, and a whole file in one read of its size.
    bool regular = false;
    const auto host = resolve(path, &regular);
    QString reason = supportmsg::noSuchDrive();
    qint64 size = 0;
    const int fd = host ? openRegularDescriptor(*host, &reason, regular, &size) : -1;
    const bool all = size <= wholeLimit;
    std::optional<QByteArray> bytes;
    if (fd >= 0) bytes = readAndClose(fd, all ? -1 : headBytes, size, &reason);
    if (!bytes) {
        r.error = supportmsg::cannotRead(path, reason);
        return r;
    }
    r.bytes = std::move(*bytes);
#else
    QFile f;
    if (!openForReading(f, toHost(path), path, QIODevice::ReadOnly | QIODevice::Unbuffered, r)) return r;
    const bool all = f.size() <= wholeLimit;
    r.bytes = all ? f.readAll() : f.read(headBytes);
    if (f.error() != QFileDevice::NoError) {
        r.error = supportmsg::cannotRead(path, f.errorString());
        r.bytes.clear();
        return r;
    }
#endif
    if (whole) *whole = all;
    r.ok = true;
    return r;
}

namespace {

// Titles are short: one small read nearly always holds the whole first line.
constexpr qsizetype kFirstLineChunk = 512;
// A first line is not read past this: a file with no line end (a sparse file of gigabytes) gives
// the title so far, at once.
constexpr qsizetype kMaxFirstLine = 64 * 1024;

// Reads up to the first CR with readSome(buf, size) (-1 on an error, whose text errorText gives).
template <typename ReadSome, typename ErrorText>
ReadResult readUpToCr(const QString& path, ReadSome readSome, ErrorText errorText) {
    ReadResult r;
    char buf[kFirstLineChunk];
    while (true) {
        const qint64 n = readSome(buf, kFirstLineChunk);
        if (n < 0) {
            r.error = supportmsg::cannotRead(path, errorText());
            r.bytes.clear();
            break;
        }
        if (n == 0) {
            r.ok = true;
            break;
        }
        const void* cr = memchr(buf, '\r', size_t(n));
        if (cr) {
            r.bytes.append(buf, static_cast<const char*>(cr) - buf);
            r.ok = true;
            break;
        }
        r.bytes.append(buf, n);
        if (r.bytes.size() >= kMaxFirstLine) {
            r.ok = true;
            break;
        }
    }
    return r;
}

#ifdef Q_OS_UNIX
// Reads from the descriptor itself: around a read this small a QFile doubled the calls of the
// formation list's scan. fd < 0 means the open failed with reason.
ReadResult readFirstLineOf(int fd, const QString& path, const QString& reason) {
    if (fd < 0) {
        ReadResult r;
        r.error = supportmsg::cannotRead(path, reason);
        return r;
    }
    ReadResult r = readUpToCr(
        path,
        [fd](char* buf, qsizetype size) {
            ssize_t n;
            do {
                n = ::read(fd, buf, size_t(size));
            } while (n < 0 && errno == EINTR);
            return qint64(n);
        },
        [] { return qt_error_string(errno); });
    ::close(fd);
    return r;
}
#endif

}  // namespace

ReadResult FileSystem::readFirstLine(const QString& path) const {
#ifdef Q_OS_UNIX
    bool regular = false;
    const auto host = resolve(path, &regular);
    if (!host) return readFirstLineOf(-1, path, supportmsg::noSuchDrive());
    QString reason;
    const int fd = openRegularDescriptor(*host, &reason, regular);
    return readFirstLineOf(fd, path, reason);
#else
    const auto host = toHost(path);
    ReadResult r;
    QFile f;
    if (!openForReading(f, host, path, QIODevice::ReadOnly, r)) return r;
    return readUpToCr(
        path, [&f](char* buf, qsizetype size) { return f.read(buf, size); }, [&f] { return f.errorString(); });
#endif
}

ReadResult FileSystem::readFirstLine(const FolderListing& listing, const QString& name) const {
#ifdef Q_OS_UNIX
    const QString path = listing.folder + name;
    if (listing.hostFolder.isEmpty()) return readFirstLineOf(-1, path, supportmsg::noSuchDrive());
    QString reason;
    const int fd = openRegularDescriptor(joinHost(listing.hostFolder, name), &reason, true);
    return readFirstLineOf(fd, path, reason);
#else
    return readFirstLine(listing.folder + name);
#endif
}

IoResult FileSystem::writeFile(const QString& path, const QByteArray& bytes) const {
    IoResult r;
    const auto host = toHost(path);
    if (!host) {
        r.error = supportmsg::cannotSave(path, supportmsg::noSuchDrive());
        return r;
    }
    const QFileInfo info(*host);
    if (info.isDir()) {
        r.error = supportmsg::cannotSave(path, supportmsg::folderOfSameName());
        return r;
    }
    // A save file replaces the target by renaming, which would get past a read-only file; Windows
    // refuses to overwrite one, and so do we.
    // The owner's write bit stands for the read-only attribute, so that the rule holds for root too.
    if (info.exists() && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))) {
        r.error = supportmsg::cannotSave(path, supportmsg::readOnlyFile());
        return r;
    }
    const QFileInfo folder(info.absolutePath());
    if (folder.isDir() && (!folder.isWritable() || !(folder.permissions() & QFileDevice::WriteOwner))) {
        r.error = supportmsg::cannotSave(path, supportmsg::readOnlyFolder());
        return r;
    }
    QSaveFile f(*host);
    // Unbuffered, so that a short write (a full disk, a file-size limit) is seen here: a buffered
    // write is flushed by commit(), which does not notice a short write and would put the cut file
    // in place of the old one.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        r.error = supportmsg::cannotSave(path, f.errorString());
        return r;
    }
    if (f.write(bytes) != bytes.size()) {
        r.error = supportmsg::cannotSave(path, f.errorString());
        f.cancelWriting();
        return r;
    }
    if (!f.commit()) {
        r.error = supportmsg::cannotSave(path, f.errorString());
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace ksn
