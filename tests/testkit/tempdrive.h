// A temporary host folder mapped as a Windows drive, with helpers to make files in it.
#pragma once

#include "common.h"

#include "support/paths/drivemap.h"

namespace ksn::test {

class TempDrive {
public:
    // The folder becomes drive `letter` (default D:).
    explicit TempDrive(QChar letter = u'D');

    QChar letter() const { return letter_; }
    QString hostRoot() const { return dir_.path(); }
    // A drive map holding this drive only.
    DriveMap driveMap() const;
    // Host path of a path relative to the root, written with "/" ("KSN/a.KSN").
    QString host(const QString& relative) const;
    // Windows path of the same ("D:\KSN\a.KSN").
    QString win(const QString& relative) const;

    // Writes bytes to a relative path, creating folders.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    void mkdir(const QString& relative) const;
    // A named pipe at a relative path; with linkTarget, a symbolic link to that host path instead.
    void special(const QString& relative, const QString& linkTarget = {}) const;

private:
    QTemporaryDir dir_;
    QChar letter_;
};

// A 24-bit bottom-up BMP of the given size (negative height: top-down), filled with one colour.
QByteArray makeBmp(std::int32_t width, std::int32_t height, std::uint32_t rgb = 0x336699);
// Lines encoded as code page 932, each followed by CR LF.
QByteArray ksnBytes(const QStringList& lines);

}  // namespace ksn::test

namespace ksn::test {

// What a run of a command-line program gave.
struct ProgramRun {
    int exitCode = -1;
    QString out;  // stdout, UTF-8
    QString err;  // stderr, UTF-8
};

// Runs program with args in the drive's root, the drive mapped as its only drive and the user's
// configuration kept inside the drive. A run that takes longer than timeoutMs is killed and gives
// the exit code -1.
ProgramRun runProgram(const QString& program, const TempDrive& drive, const QStringList& args, int timeoutMs = 60000);

}  // namespace ksn::test
