#include "support/system/osservices.h"

#include "support/paths/filesystem.h"
#include "support/paths/winpath.h"
#include "support/system/desktopentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>

#include <cerrno>
#include <chrono>

#ifdef Q_OS_WIN
#include <shellapi.h>
#include <windows.h>
// The Windows headers name their text functions through macros; the class keeps the plain names.
#undef FindExecutable
#undef FormatMessage
#undef GetTempFileName
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef GetTempPath
#endif

namespace ksn {

// ---------------------------------------------------------------- the desktop

QStringList DesktopShell::openCommand(const QString& hostFile) const {
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const auto r = reinterpret_cast<INT_PTR>(
        ::FindExecutableW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(hostFile).utf16()), nullptr, buffer));
    if (r <= 32) return {};
    return {QString::fromWCharArray(buffer), hostFile};
#else
    const xdg::Dirs dirs = xdg::Dirs::fromEnvironment();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(hostFile);
    // A program for the type itself first, then for the types it is a kind of (text/plain for HTML).
    QStringList types{type.name()};
    types += type.allAncestors();
    for (const QString& t : types) {
        const QString entry = xdg::defaultApplication(t, dirs);
        if (entry.isEmpty()) continue;
        if (QStringList command = xdg::desktopCommand(entry, hostFile); !command.isEmpty()) return command;
    }
    return {};
#endif
}

bool DesktopShell::start(const QString& program, const QStringList& arguments) const {
    return QProcess::startDetached(program, arguments);
}

// ---------------------------------------------------------------- Win32ApiClass

Win32ApiClass::Win32ApiClass(const FileSystem& fs) : fs_(fs), shell_(std::make_shared<DesktopShell>()) {}

QString Win32ApiClass::hostPathOf(const QString& path, const QString& directory) const {
    if (path.isEmpty()) return {};
#ifndef Q_OS_WIN
    if (path.startsWith(u'/')) return path;
#endif
    const bool windowsForm = !winpath::driveName(path).isEmpty() || winpath::isSeparator(path[0]);
    if (windowsForm || directory.isEmpty()) return fs_.toHost(fs_.GetAbsolutePathName(path)).value_or(QString());
    const QString folder = hostPathOf(directory, {});
    if (folder.isEmpty()) return {};
    return QDir(folder).filePath(QString(path).replace(u'\\', u'/'));
}

qint32 Win32ApiClass::FindExecutable(const QString& lpFile, const QString& lpDirectory, QString& lpResult) const {
    const QString host = hostPathOf(lpFile, lpDirectory);
    if (host.isEmpty() || !QFileInfo(host).isFile()) return SE_ERR_FNF;
    const QString program = shell_->registeredProgram(host);
    if (program.isEmpty()) return SE_ERR_NOASSOC;
    // The caller's buffer keeps its length where it is long enough, as a fixed buffer would.
    const QString filled = program + QChar(u'\0');
    lpResult = filled + lpResult.mid(filled.size());
    return kFound;
}

QString Win32ApiClass::FormatMessage(qint32 ErrorCode) const {
#ifdef Q_OS_WIN
    wchar_t buffer[256] = {};
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     static_cast<DWORD>(ErrorCode), 0, buffer, 255, nullptr);
    QString text = QString::fromWCharArray(buffer, int(n));
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(1);
    return text;
#else
    // The host numbers its errors differently: each Windows code is told by the host's text for the
    // error that means the same.
    struct Pair {
        qint32 windows;
        int host;
    };
    static constexpr Pair pairs[] = {
        {0, 0},        {1, ENOSYS},         {2, ENOENT},    {3, ENOENT},       {4, EMFILE},       {5, EACCES},
        {6, EBADF},    {8, ENOMEM},         {12, EINVAL},   {13, EINVAL},      {14, ENOMEM},      {15, ENODEV},
        {16, EBUSY},   {17, EXDEV},         {19, EROFS},    {21, EAGAIN},      {32, EBUSY},       {33, EBUSY},
        {39, ENOSPC},  {50, ENOTSUP},       {53, ENOENT},   {67, ENOENT},      {80, EEXIST},      {82, EIO},
        {87, EINVAL},  {109, EPIPE},        {112, ENOSPC},  {122, ERANGE},     {123, EINVAL},     {145, ENOTEMPTY},
        {183, EEXIST}, {206, ENAMETOOLONG}, {267, ENOTDIR}, {1223, ECANCELED}, {1460, ETIMEDOUT},
    };
    for (const Pair& p : pairs) {
        if (p.windows != ErrorCode) continue;
        QString text = qt_error_string(p.host);
        while (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(1);
        return text;
    }
    return {};
#endif
}

quint32 Win32ApiClass::GetTempFileName(const QString& lpszPath, const QString& lpPrefixString, quint32 wUnique,
                                       QString& lpTempFileName) const {
    auto nameFor = [&](quint32 n) {
        return winpath::buildPath(lpszPath,
                                  lpPrefixString.left(3) + QString::number(n, 16).toUpper() + QStringLiteral(".TMP"));
    };
    if (wUnique != 0) {
        const quint32 n = wUnique & 0xFFFF;
        lpTempFileName = nameFor(n);
        return n;
    }
    quint32 n = GetTickCount() & 0xFFFF;
    if (n == 0) n = 1;
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        const QString name = nameFor(n);
        const auto host = fs_.toHost(name);
        if (!host) return 0;
        QFile file(*host);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            lpTempFileName = name;
            return n;
        }
        // Taken: the next number. Anything else (a missing folder, no right to write) ends the search.
        if (!QFileInfo::exists(*host)) return 0;
        n = n % 0xFFFF + 1;
    }
    return 0;
}

#ifdef Q_OS_WIN
namespace {
// A folder the system writes into a buffer; empty when it does not fit.
QString systemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t buffer[256] = {};
    const UINT n = get(buffer, 255);
    return n > 0 && n < 255 ? QString::fromWCharArray(buffer, int(n)) : QString();
}
}  // namespace
#endif

quint32 Win32ApiClass::GetTickCount() {
#ifdef Q_OS_WIN
    return ::GetTickCount();
#else
    // steady_clock is the monotonic clock, which counts from the system's start.
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<quint32>(static_cast<quint64>(ms.count()));
#endif
}

QString Win32ApiClass::GetWindowsDirectory() const {
#ifdef Q_OS_WIN
    return systemFolder(::GetWindowsDirectoryW);
#else
    for (const auto& [letter, root] : fs_.drives().drives()) {
        const QString folder = QString(letter) + QStringLiteral(":\\windows");
        if (fs_.FolderExists(folder)) return folder;
    }
    return {};
#endif
}

QString Win32ApiClass::GetSystemDirectory() const {
#ifdef Q_OS_WIN
    return systemFolder(::GetSystemDirectoryW);
#else
    const QString windows = GetWindowsDirectory();
    if (windows.isEmpty()) return {};
    const QString folder = winpath::buildPath(windows, QStringLiteral("system32"));
    return fs_.FolderExists(folder) ? folder : QString();
#endif
}

QString Win32ApiClass::GetTempPath() const {
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    return n > 0 && n <= MAX_PATH + 1 ? QString::fromWCharArray(buffer, int(n)) : QString();
#else
    const auto folder = fs_.toWindows(QDir::tempPath());
    if (!folder) return {};
    return folder->endsWith(u'\\') ? *folder : *folder + u'\\';
#endif
}

}  // namespace ksn
