// A temporary host folder mapped as a Windows drive, with helpers to make files in it.
#pragma once

#include "common.h"

#include "support/paths/drivemap.h"

namespace ksn::test {

class TempDrive {
public:
    explicit TempDrive(QChar letter = u'D');

    QChar letter() const { return letter_; }
    QString hostRoot() const { return dir_.path(); }
    DriveMap driveMap() const;
    // "KSN/a.KSN" as a host path.
    QString host(const QString& relative) const;

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
// bytes, made at least 26 long, with the bitmap header's width and height fields (at 18 and 22) set.
inline QByteArray sized(QByteArray bytes, std::int32_t width, std::int32_t height) {
    if (bytes.size() < 26) bytes.resize(26, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = char((std::uint32_t(width) >> (8 * i)) & 0xFF);
        bytes[22 + i] = char((std::uint32_t(height) >> (8 * i)) & 0xFF);
    }
    return bytes;
}
// Lines encoded as code page 932, each followed by CR LF.
QByteArray ksnBytes(const QStringList& lines);

}  // namespace ksn::test

namespace ksn::test {

struct ProgramRun {
    int exitCode = -1;
    QString out;  // stdout, UTF-8
    QString err;  // stderr, UTF-8
};

// Runs program in the drive's root, its only drive, config and cache inside it; -1 after timeoutMs.
ProgramRun runProgram(const QString& program, const TempDrive& drive, const QStringList& args, int timeoutMs = 60000);

}  // namespace ksn::test
