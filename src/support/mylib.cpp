#include "mylib.h"

#include "filesystem.h"
#include "linereader.h"
#include "modal.h"
#include "numtext.h"
#include "version.h"
#include "win32api.h"
#include "winpath.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QLibrary>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

namespace ksn {

MyLibClass::MyLibClass(const FileSystem& fs, QString programPath) : fs_(fs), programPath_(std::move(programPath)) {}

QString MyLibClass::F_STR(const QString& S, const QString& c) {
    const qsizetype p = S.indexOf(c);
    return p < 0 ? S : S.left(p);
}

QString MyLibClass::B_STR(const QString& S, const QString& c) {
    const qsizetype p = S.indexOf(c);
    // One character is stepped over: the callers pass one-character separators.
    if (p < 0 || p == S.size() - 1) return {};
    return S.mid(p + 1);
}

QString MyLibClass::DelComment(const QString& S) { return trimSpaces(F_STR(S, QStringLiteral(";"))); }

bool MyLibClass::FileSkipLoad(const QString& text, LineReader& file, const std::function<void()>& doEvents) {
    while (!file.atEnd()) {
        if (doEvents) doEvents();
        if (file.readLine() == text) return true;
    }
    return false;
}

std::int32_t MyLibClass::headerField(const QString& fileName, int offset) const {
    // A missing file, a folder and an unreadable file all fail to read: one look-up, not two.
    const ReadResult r = fs_.readFile(fileName, offset + 4);
    return r.ok ? BMPHeaderField(r.bytes, offset) : 0;
}

std::int32_t MyLibClass::BMPHeaderField(QByteArrayView bytes, int offset) {
    if (offset < 0 || bytes.size() < offset + 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    const std::uint32_t u = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                            (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

std::int32_t MyLibClass::GetBMPWidth(const QString& fileName) const { return headerField(fileName, kBMPWidthOffset); }
std::int32_t MyLibClass::GetBMPHeight(const QString& fileName) const { return headerField(fileName, kBMPHeightOffset); }

QString MyLibClass::GetIniFileName() const {
    const QFileInfo program(programPath_);
    return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

// ---------------------------------------------------------------- counting, fields, numbers

void MyLibClass::inc(qint32& Value) {
    if (Value == std::numeric_limits<qint32>::max()) throw OverflowError("inc: beyond the 32-bit range");
    ++Value;
}

void MyLibClass::dec(qint32& Value) {
    if (Value == std::numeric_limits<qint32>::min()) throw OverflowError("dec: beyond the 32-bit range");
    --Value;
}

qint32 MyLibClass::SetParam(const QString& Strings, QStringList& Param) {
    if (Param.isEmpty()) throw std::out_of_range("SetParam: no slot to fill");
    for (QString& p : Param) p.clear();
    const qint32 upper = qint32(Param.size() - 1);
    QString s = Strings;
    qint32 n = 0;
    for (;;) {
        const qsizetype comma = s.indexOf(u',');
        if (comma < 0) {
            Param[n] = s;
            return n;
        }
        Param[n] = s.left(comma);
        const qint32 last = n;
        inc(n);
        if (n > upper) return last;
        s = s.mid(comma + 1);
    }
}

QString MyLibClass::FHex(qint32 Value, int nKeta) {
    QString h = QString::number(static_cast<quint32>(Value), 16).toUpper();
    if (nKeta < 0) nKeta = 0;
    if (h.size() > nKeta) h = h.right(nKeta);
    return h.rightJustified(nKeta, u'0');
}

QString MyLibClass::RightAlignmentStrings(const QString& SrcString, int Num) {
    const qsizetype pad = Num - SrcString.size();
    return pad >= 1 ? QString(pad, u' ') + SrcString : SrcString;
}

QString MyLibClass::FormatText(const QString& Str, const std::function<double(const QString&)>& width) {
    const double limit = 60 * width(QStringLiteral(" "));
    double w = 0;
    QString out;
    for (qsizetype i = 0; i < Str.size();) {
        // A character outside the basic plane is two code units and is never cut in two.
        const qsizetype len = Str[i].isHighSurrogate() && i + 1 < Str.size() && Str[i + 1].isLowSurrogate() ? 2 : 1;
        const QString ch = Str.mid(i, len);
        i += len;
        out += ch;
        if (ch == u"\r" || ch == u"\n") {
            w = 0;  // the input's own line break starts a new line
            continue;
        }
        w += width(ch);
        if (w > limit) {
            out += QStringLiteral("\r\n");
            w = 0;
        }
    }
    return out;
}

namespace {

// A number with at least `digits` digits, a minus sign in front of the padded digits.
QString padded(qint64 v, int digits) {
    const QString d = QString::number(v < 0 ? -v : v).rightJustified(digits, u'0');
    return v < 0 ? u'-' + d : d;
}

}  // namespace

QString MyLibClass::FormatTime(qint32 in_n) {
    const qint32 ms = in_n % 1000;
    const qint32 s = in_n / 1000;
    const qint32 minutes = s / 60;
    // The minute count is held in 16 bits.
    if (minutes > std::numeric_limits<qint16>::max() || minutes < std::numeric_limits<qint16>::min())
        throw OverflowError("FormatTime: more minutes than 16 bits hold");
    const qint16 m = static_cast<qint16>(minutes);
    const qint32 sec = s % 60;
    return padded(m / 60, 2) + u':' + padded(m % 60, 2) + u':' + padded(sec, 2) + u'.' + padded(ms, 3);
}

QString MyLibClass::GetFormatTimeString(double in_n) {
    const double r = roundHalfEven(in_n);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        throw OverflowError("GetFormatTimeString: beyond the 32-bit range");
    const qint32 n = static_cast<qint32>(r);
    const qint32 parts[] = {n / 86400, (n % 86400) / 3600, (n % 3600) / 60, n % 60};
    const char16_t* units[] = {u"日", u"時間", u"分", u"秒"};
    QString out;
    for (int i = 0; i < 4; ++i)
        if (parts[i] != 0) out += QString::number(parts[i]) + QString::fromUtf16(units[i]);
    return out;
}

QString MyLibClass::GetFormatTimeString_ms(float in_n) {
    const double whole = std::floor(double(in_n));
    if (!(whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()))
        throw OverflowError("GetFormatTimeString_ms: more seconds than 16 bits hold");
    // The seconds are read as a time of day.
    const int t = ((int(whole) % 86400) + 86400) % 86400;
    const int parts[] = {t / 3600, (t % 3600) / 60, t % 60};
    const char16_t* units[] = {u"時間", u"分", u"秒"};
    QString out;
    for (int i = 0; i < 3; ++i)
        if (parts[i] != 0) out += QString::number(parts[i]) + QString::fromUtf16(units[i]);
    const double fraction = double(in_n) - whole;
    if (fraction * 100 > 1) out += QString::number(qint64(roundHalfEven(fraction * 1000))) + QStringLiteral("ミリ秒");
    return out;
}

qint32 MyLibClass::GetRandom(double LowerBound, double UpperBound) {
    const auto seed = std::chrono::steady_clock::now().time_since_epoch().count();
    std::mt19937_64 engine(static_cast<std::uint64_t>(seed));
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    const double v = std::floor((UpperBound - LowerBound + 1) * r + LowerBound);
    if (!(v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max()))
        throw OverflowError("GetRandom: beyond the 32-bit range");
    return static_cast<qint32>(v);
}

QString MyLibClass::GetVersionString() {
    return QStringLiteral("Ver %1.%2").arg(version::kMajor).arg(version::kMinor);
}

qint32 MyLibClass::GetStringToLong(int b1, int b2, int b3, int b4) {
    const qint64 low = qint64(b3) * 65536 + qint64(b2) * 256 + b1;
    if (b4 < 128) return static_cast<qint32>(qint64(b4) * 16777216 + low);
    return static_cast<qint32>(qint64(b4 - 128) * 16777216 + low - 2147483648LL);
}

// ---------------------------------------------------------------- environment

QString MyLibClass::GET_ENV(const QString& lpName) { return qEnvironmentVariable(lpName.toLocal8Bit().constData()); }

QString MyLibClass::GetTempDir() const {
    QStringList names{QStringLiteral("TMP"), QStringLiteral("TEMP")};
#ifndef Q_OS_WIN
    names << QStringLiteral("TMPDIR");
#endif
    for (const QString& name : names) {
        const QString value = GET_ENV(name);
        if (value.isEmpty()) continue;
#ifndef Q_OS_WIN
        // A host folder is told by its Windows form, as every path the program hands out is.
        if (value.startsWith(u'/'))
            if (const auto w = fs_.toWindows(QDir::cleanPath(value))) return *w;
#endif
        return value;
    }
    return {};
}

QString MyLibClass::GetTempDrive() const { return GetTempDir().left(2); }

void MyLibClass::Wait1ms(qint16 n, Modal& modal, const bool& stopRequested) {
    // Counting the elapsed ticks rather than comparing with start + n keeps the wait right when the
    // 32-bit count wraps.
    const quint32 start = Win32ApiClass::GetTickCount();
    const qint64 target = n;
    modal.processEvents();
    while (!stopRequested) {
        if (qint64(quint32(Win32ApiClass::GetTickCount() - start)) > target) break;
        modal.processEvents();
    }
}

// ---------------------------------------------------------------- system

bool MyLibClass::ExistAPI(const QString& APIName, const QString& DllFileName) const {
    QString file = DllFileName;
    if (!winpath::driveName(file).isEmpty()) file = fs_.toHost(file).value_or(QString());
    if (file.isEmpty()) return false;
    QLibrary library(file);
    if (!library.load()) return false;
    const bool found = library.resolve(APIName.toLatin1().constData()) != nullptr;
    library.unload();
    return found;
}

bool MyLibClass::InsertFile(const QString& SrcFileName, QIODevice& DestFileHandle, Modal& modal) const {
    if (!fs_.FileExists(SrcFileName)) return false;
    const ReadResult r = fs_.readFile(SrcFileName);
    if (!r.ok) throw std::runtime_error(r.error.toStdString());
    // Lines are copied byte for byte: whatever the source's code page, the output gets the same bytes.
    LineReader reader(r.bytes);
    while (!reader.atEnd()) {
        modal.processEvents();
        const QByteArray line = reader.readRawLine() + "\r\n";
        if (DestFileHandle.write(line) != line.size()) throw std::runtime_error(DestFileHandle.errorString().toStdString());
    }
    return true;
}

QStringList MyLibClass::helpFolders() const {
    const QString programFolder = QFileInfo(programPath_).absolutePath();
    return {QDir(programFolder).filePath(QStringLiteral("help")),
            QDir::cleanPath(programFolder + QStringLiteral("/../share/ksned32/help"))};
}

void MyLibClass::HelpShow(Modal& modal, const Win32ApiClass& api) const {
    const QStringList folders = helpFolders();
    auto find = [&](const QString& name) -> QString {
        for (const QString& folder : folders) {
            const QString page = QDir(folder).filePath(name);
            if (QFileInfo(page).isFile()) return page;
        }
        return {};
    };
    QString page = find(QStringLiteral("index.htm"));
    if (page.isEmpty()) {
        modal.message(kNoHelpMessage, QString(), MsgButtons::Ok, MsgIcon::Information);
        page = find(QStringLiteral("index0.htm"));
        if (page.isEmpty()) {
            modal.message(kNoCoverMessage, QString(), MsgButtons::Ok, MsgIcon::Information);
            return;
        }
    }
    QString buffer(512, u' ');
    const QString programFolder = QFileInfo(programPath_).absolutePath();
    if (api.FindExecutable(page, programFolder, buffer) < 32) return;
    const QString program = buffer.left(buffer.indexOf(QChar(u'\0')));
    if (program.isEmpty() || !QFileInfo(program).isFile()) return;
    // The program is started as the desktop starts it: through a wrapper (env, flatpak) with the
    // arguments its registration gives, or, when that changed meanwhile, with the page alone.
    QStringList command = api.shell().openCommand(page);
    if (command.value(0) != program) command = QStringList{program, page};
    if (!api.shell().start(program, command.mid(1)))
        throw ProgramStartError(program);
}

QString trimSpaces(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

}  // namespace ksn
