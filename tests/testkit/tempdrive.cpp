#include "tempdrive.h"

#include "support/text/cp932.h"

#include <QProcess>

#include <sys/stat.h>
#include <stdexcept>

namespace ksn::test {

TempDrive::TempDrive(QChar letter) : letter_(letter.toUpper()) {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

DriveMap TempDrive::driveMap() const {
    DriveMap m;
    m.set(letter_, QFileInfo(dir_.path()).canonicalFilePath());
    return m;
}

QString TempDrive::host(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : dir_.path() + u'/' + relative;
}

void TempDrive::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = host(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

QByteArray TempDrive::read(const QString& relative) const {
    QFile f(host(relative));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void TempDrive::mkdir(const QString& relative) const { QDir().mkpath(host(relative)); }

void TempDrive::special(const QString& relative, const QString& linkTarget) const {
    const QString path = host(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool made =
        linkTarget.isEmpty() ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QFile::link(linkTarget, path);
    if (!made) throw std::runtime_error("cannot make special file " + path.toStdString());
}

QByteArray makeBmp(std::int32_t width, std::int32_t height, std::uint32_t rgb) {
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    const std::int64_t stride = (std::int64_t(width) * 3 + 3) / 4 * 4, pixelBytes = width > 0 ? stride * rows : 0;
    QByteArray b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    // offset, value: file size, pixel offset, header size, width, height, planes and bits, pixel bytes
    const std::pair<int, std::uint32_t> fields[] = {{2, std::uint32_t(54 + pixelBytes)},
                                                    {10, 54},
                                                    {14, 40},
                                                    {18, std::uint32_t(width)},
                                                    {22, std::uint32_t(height)},
                                                    {26, 1 | 24 << 16},
                                                    {34, std::uint32_t(pixelBytes)}};
    for (const auto& [offset, v] : fields)
        for (int i = 0; i < 4; ++i) b[offset + i] = char((v >> (8 * i)) & 0xFF);
    QByteArray row(qsizetype(stride), '\0');
    for (std::int64_t x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c) row[qsizetype(x * 3 + c)] = char((rgb >> (8 * c)) & 0xFF);
    for (std::int64_t y = 0; y < rows && width > 0; ++y) b += row;
    return b;
}

QByteArray ksnBytes(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) out += cp932::encode(l) + "\r\n";
    return out;
}

ProgramRun runProgram(const QString& program, const TempDrive& drive, const QStringList& args, int timeoutMs) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KSNED_DRIVES"), QString(drive.letter()) + QStringLiteral(":=") + drive.hostRoot());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), drive.host(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), drive.host(QStringLiteral("cache")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(drive.hostRoot());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("(did not finish in time)")};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace ksn::test
