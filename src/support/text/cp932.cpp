#include "support/text/cp932.h"

#include <QChar>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace ksn::cp932 {

namespace {

// The tables: what each byte and byte pair reads as, and the code each character is written as.
// They hold what Qt's windows-31j converter (ICU) did for this program before, code for code,
// which is what Windows does for every assigned code, and for the characters without one what
// Windows writes instead; tools/cp932-table renews and checks them against both.
#include "support/text/cp932table.inc"

constexpr char16_t kNoChar = 0xFFFF;
// What a byte that is no character reads as, and a pair that has none.
constexpr char16_t kBadByte = 0x001A;
constexpr char16_t kBadPair = 0xFFFD;
// Characters in the form Japanese input on other systems gives them ("〜" U+301C where Windows
// has "～" U+FF5E), which Windows writes as "?": written with the code Windows reads as their
// counterpart, so that a comment typed with them keeps its wave dash, minus or dash.
constexpr char16_t kJisForms[][2] = {{0x2014, 0x815C}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x301C, 0x8160}};

constexpr bool isLead(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool isTrail(uchar b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
constexpr int pairIndex(uchar lead, uchar trail) {
    return (lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31) * 188 + (trail < 0x7F ? trail - 0x40 : trail - 0x41);
}

// The code of c in the ascending chars with their codes beside them, or -1.
template <std::size_t N>
int lookUp(char16_t c, const char16_t (&chars)[N], const quint16 (&codes)[N]) {
    const char16_t* it = std::lower_bound(std::begin(chars), std::end(chars), c);
    return it != std::end(chars) && *it == c ? codes[it - std::begin(chars)] : -1;
}

// What a character without a code is written as instead: its JIS form's code, Windows' best fit,
// or "?".
int substituteOf(char16_t c) {
    for (const auto& [jis, code] : kJisForms)
        if (c == jis) return code;
    const int fit = lookUp(c, kBestFitChars, kBestFitCodes);
    return fit >= 0 ? fit : '?';
}

// Sorted and distinct, so the first 128 characters are ASCII itself: encode looks them up directly.
static_assert(kWrittenChars[127] == 127);

}  // namespace

QString decode(QByteArrayView bytes, bool* hadErrors) {
    bool bad = false;
    const qsizetype n = bytes.size();
    const auto* in = reinterpret_cast<const uchar*>(bytes.data());
    QString text(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const begin = out;
    for (qsizetype i = 0; i < n;) {
        const uchar b = in[i];
        if (!isLead(b)) {
            const char16_t c = kSingle[b];
            bad |= c == kNoChar;
            *out++ = c == kNoChar ? kBadByte : c;
            ++i;
        } else if (i + 1 == n) {  // a character cut at the end reads as nothing
            bad = true;
            ++i;
        } else if (!isTrail(in[i + 1])) {  // the byte after a lone lead byte is read again
            bad = true;
            *out++ = kBadByte;
            ++i;
        } else {
            const char16_t c = kPairs[pairIndex(b, in[i + 1])];
            bad |= c == kNoChar;
            *out++ = c == kNoChar ? kBadPair : c;
            i += 2;
        }
    }
    text.truncate(out - begin);
    if (hadErrors) *hadErrors = bad;
    return text;
}

QByteArray encode(const QString& text, bool* hadErrors) {
    bool bad = false;
    const qsizetype n = text.size();
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    QByteArray bytes(2 * n, Qt::Uninitialized);  // at most two bytes a character
    char* out = bytes.data();
    char* const begin = out;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            *out++ = char(kWrittenCodes[c]);  // every ASCII character has a code, in the table's first places
            continue;
        }
        int code = QChar::isSurrogate(c) ? -1 : lookUp(c, kWrittenChars, kWrittenCodes);
        if (code < 0) {
            // As Windows writes it: a substitute, else "?" for each UTF-16 unit, so "??" for a
            // character outside the BMP.
            bad = true;
            code = QChar::isSurrogate(c) ? '?' : substituteOf(c);
        }
        if (code > 0xFF) *out++ = char(code >> 8);
        *out++ = char(code);
    }
    bytes.truncate(out - begin);
    if (hadErrors) *hadErrors = bad;
    return bytes;
}

QList<QByteArrayView> splitLines(QByteArrayView bytes, qsizetype maxLines, bool* more) {
    QList<QByteArrayView> lines;
    if (more) *more = false;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        if (maxLines >= 0 && lines.size() >= maxLines) {
            if (more) *more = true;
            break;
        }
        const char* p = static_cast<const char*>(memchr(bytes.data() + start, '\r', size_t(n - start)));
        if (!p) {
            lines << bytes.sliced(start);
            break;
        }
        const qsizetype cr = p - bytes.data();
        lines << bytes.sliced(start, cr - start);
        start = cr + 1;
        if (start < n && bytes[start] == '\n') ++start;
    }
    return lines;
}

}  // namespace ksn::cp932
