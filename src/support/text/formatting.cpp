// MyLibClass's routines for counters, comma-separated fields, numbers and times as text.
#include "support/mylib.h"
#include "support/product/version.h"
#include "support/text/numtext.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

namespace ksn {

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

QString MyLibClass::GetVersionString() { return QStringLiteral("Ver %1.%2").arg(version::kMajor).arg(version::kMinor); }

qint32 MyLibClass::GetStringToLong(int b1, int b2, int b3, int b4) {
    const qint64 low = qint64(b3) * 65536 + qint64(b2) * 256 + b1;
    if (b4 < 128) return static_cast<qint32>(qint64(b4) * 16777216 + low);
    return static_cast<qint32>(qint64(b4 - 128) * 16777216 + low - 2147483648LL);
}

}  // namespace ksn
