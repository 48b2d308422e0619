// Win32ApiClass: the operating-system services the program uses, with the results the Windows
// functions of the same names give. On Windows they are those functions; elsewhere each is made
// from what the host offers (the desktop's file associations, the system's error texts, a
// monotonic clock, the drive map for Windows forms of host folders).
//
// The services that act on windows and paint devices (SetWindowPos, StretchBlt, GetWorkArea) need
// widgets and live in src/platform.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace ksn {

class FileSystem;

// How the desktop opens documents: which program is registered for a file, and starting it.
class Shell {
public:
    virtual ~Shell() = default;
    // The command the desktop runs to open the host file: the registered program's host path, then
    // its arguments (which hold the file). Empty when no program is registered for it.
    virtual QStringList openCommand(const QString& hostFile) const = 0;
    // Host path of the program registered to open the host file; empty when none is.
    QString registeredProgram(const QString& hostFile) const { return openCommand(hostFile).value(0); }
    // Starts program with arguments and does not wait for it; never through a shell. False when it
    // could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) const = 0;
};

// The desktop's own: on Windows the shell's file associations (the program, given the file);
// elsewhere the freedesktop.org default application for the file's MIME type, whose desktop
// entry's Exec line is run as a launcher runs it (wrappers such as env or flatpak included).
class DesktopShell : public Shell {
public:
    QStringList openCommand(const QString& hostFile) const override;
    bool start(const QString& program, const QStringList& arguments) const override;
};

class Win32ApiClass {
public:
    // Result codes of FindExecutable: above 32 is success.
    static constexpr qint32 SE_ERR_FNF = 2;       // the file does not exist
    static constexpr qint32 SE_ERR_NOASSOC = 31;  // no program is registered for it
    static constexpr qint32 kFound = 33;          // the smallest value that means success

    // fs: the file system whose drive map gives host paths their Windows form. It must outlive
    // this object.
    explicit Win32ApiClass(const FileSystem& fs);

    // Replaces the desktop (tests script the association and the start of programs).
    void setShell(std::shared_ptr<const Shell> shell) { shell_ = std::move(shell); }
    const Shell& shell() const { return *shell_; }

    // The program registered for lpFile (a Windows path, or a host path; a relative path is taken
    // below lpDirectory). On success (a result above 32) lpResult starts with the program's host
    // path followed by a NUL character, the rest of the caller's buffer kept.
    qint32 FindExecutable(const QString& lpFile, const QString& lpDirectory, QString& lpResult) const;
    // The system's text for a Windows error code, without the line break it ends with; the empty
    // text for a code the system has no text for.
    QString FormatMessage(qint32 ErrorCode) const;
    // A temporary file name in lpszPath (a Windows path): the first three characters of the prefix,
    // the number in hexadecimal and ".TMP". wUnique 0: the first number from the clock whose file
    // does not exist yet is taken and the empty file made; otherwise wUnique's low 16 bits are used
    // and no file is made. Returns the number used, 0 when no file could be made.
    quint32 GetTempFileName(const QString& lpszPath, const QString& lpPrefixString, quint32 wUnique,
                            QString& lpTempFileName) const;
    // Milliseconds of a monotonic clock (since the system started), wrapping at 32 bits.
    static quint32 GetTickCount();
    // The Windows folder and its system32 folder as Windows paths: on Windows the system's; under
    // Wine's drive map the prefix's (a drive holding a "windows" folder, usually C:\windows).
    // Empty when this host has none.
    QString GetWindowsDirectory() const;
    QString GetSystemDirectory() const;
    // The folder for temporary files in Windows form, ending with "\"; empty when the host's
    // temporary folder lies under no drive.
    QString GetTempPath() const;

private:
    // The host file of a path that is either a Windows path or a host path; empty when it has none.
    QString hostPathOf(const QString& path, const QString& directory) const;

    const FileSystem& fs_;
    std::shared_ptr<const Shell> shell_;
};

}  // namespace ksn
