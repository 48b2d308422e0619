#include "support/text/numtext.h"

#include <QByteArray>

#include <cfenv>
#include <cmath>
#include <limits>

namespace ksn {

double roundHalfEven(double value) {
    // nearbyint rounds in the current mode, which is to nearest with ties to even unless a caller
    // changed it; say so rather than depend on it.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the number at the start of s (0 when there is none); the digits that make it up are
// copied into *latin, in the C locale's form.
qsizetype scanNumber(QStringView s, QByteArray* latin) {
    qsizetype i = 0;
    QByteArray out;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) out += char(s[i++].unicode());
    qsizetype digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        out += char(s[i++].unicode());
        ++digits;
    }
    if (i < s.size() && s[i] == u'.') {
        out += '.';
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            out += char(s[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it: "2e" is the number 2 followed by a letter.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        QByteArray exp = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exp += char(s[j++].unicode());
        const qsizetype first = j;
        while (j < s.size() && isDigit(s[j])) exp += char(s[j++].unicode());
        if (j > first) {
            out += exp;
            i = j;
        }
    }
    *latin = out;
    return i;
}

}  // namespace

double leadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    QByteArray latin;
    if (scanNumber(text.mid(i), &latin) == 0) return 0;
    // QByteArray reads numbers in the C locale, whatever the user's decimal separator is.
    const double v = latin.toDouble();
    return std::isfinite(v) ? v : 0;
}

std::optional<qint32> wholeNumber(QStringView text) {
    const QStringView t = text.trimmed();
    QByteArray latin;
    if (t.isEmpty() || scanNumber(t, &latin) != t.size()) return std::nullopt;
    const double v = roundHalfEven(latin.toDouble());
    if (!std::isfinite(v) || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(v);
}

}  // namespace ksn
