// Writes the code page 932 tables of src/support/text/cp932table.inc from Qt's windows-31j
// converter (ICU), which reads and writes every assigned code as Windows does, and from what
// Windows writes for the characters without a code (wine-encode's list). Before writing, it
// checks that the converter treats what the tables leave out the way cp932.cpp does: a byte that
// is neither a character nor a lead byte reads as U+001A; a lead byte before a byte that cannot
// follow it reads as U+001A and the byte after it is read again; an unassigned pair reads as
// U+FFFD; a lead byte at the end reads as nothing. And that Windows writes every character the
// converter has a code for with that code, but for ICU's own: the swap of 1A, 1C and 7F, kept so
// that files read and write as they always have, and U+F86F.
// Any difference stops it, so the tables are never written for converters that behave otherwise.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr char16_t kNone = 0xFFFF;

bool isLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(int b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

struct Decoded {
    QString text;
    bool error;
};

Decoded decode(const QByteArray& bytes) {
    QStringDecoder d("windows-31j", QStringConverter::Flag::Stateless);
    QString s = d.decode(bytes);
    return {s, d.hasError()};
}

[[noreturn]] void fail(const char* what, int code) {
    std::fprintf(stderr, "cp932-table: %s (code %04X)\n", what, code);
    std::exit(1);
}

void printArray(FILE* out, const char* decl, const std::vector<unsigned>& values) {
    std::fprintf(out, "%s = {", decl);
    for (std::size_t i = 0; i < values.size(); ++i)
        std::fprintf(out, "%s0x%04X,", i % 12 == 0 ? "\n    " : " ", values[i]);
    std::fprintf(out, "\n};\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cp932-table OUTPUT.inc WINE-ENCODE.txt\n");
        return 2;
    }
    // What Windows writes for each character: "XXXX HEX" lines.
    std::map<unsigned, QByteArray> windows;
    QFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::ReadOnly)) fail("cannot read the list of wine-encode", 0);
    for (const QByteArray& line : list.readAll().split('\n'))
        if (const QList<QByteArray> f = line.split(' '); f.size() == 2)
            windows[f[0].toUInt(nullptr, 16)] = QByteArray::fromHex(f[1]);
    if (windows.size() < 60000) fail("the list of wine-encode is incomplete", int(windows.size()));
    if (!QStringDecoder("windows-31j").isValid()) fail("this Qt has no windows-31j converter", 0);

    std::vector<unsigned> single(256), pairs(60 * 188);
    for (int b = 0; b < 256; ++b) {
        const Decoded d = decode(QByteArray(1, char(b)));
        if (isLead(b)) {
            if (!d.error || !d.text.isEmpty()) fail("a lead byte at the end does not read as nothing", b);
            single[b] = kNone;
        } else if (d.error) {
            if (d.text != QString(QChar(0x1A))) fail("an unassigned byte does not read as U+001A", b);
            single[b] = kNone;
        } else {
            if (d.text.size() != 1) fail("a byte does not read as one character", b);
            single[b] = d.text[0].unicode();
        }
    }
    for (int lead = 0; lead < 256; ++lead) {
        if (!isLead(lead)) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const int code = lead << 8 | trail;
            QByteArray bytes;
            bytes.append(char(lead)).append(char(trail));
            const Decoded d = decode(bytes);
            if (!isTrail(trail)) {
                if (!d.error || d.text != QChar(0x1A) + decode(QByteArray(1, char(trail))).text)
                    fail("a lead byte before a byte that cannot follow it does not read as U+001A", code);
                continue;
            }
            const int index =
                (lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31) * 188 + (trail < 0x7F ? trail - 0x40 : trail - 0x41);
            if (d.error) {
                if (d.text != QString(QChar(0xFFFD))) fail("an unassigned pair does not read as U+FFFD", code);
                pairs[index] = kNone;
            } else {
                if (d.text.size() != 1) fail("a pair does not read as one character", code);
                pairs[index] = d.text[0].unicode();
            }
        }
    }

    // Each character on its own: written as one code, or none (FC FC, or left out when invisible
    // by default). For those without, what Windows writes other than "?" is its best fit.
    std::map<unsigned, unsigned> written, bestFit;  // character -> code
    const auto codeOf = [](const QByteArray& b) {
        return b.size() == 1 ? uchar(b[0]) : uchar(b[0]) << 8 | uchar(b[1]);
    };
    std::optional<QStringEncoder> e;
    for (char32_t u = 0; u < 0x110000; ++u) {
        if (u >= 0xD800 && u < 0xE000) continue;
        if (!e || e->hasError()) e.emplace("windows-31j", QStringConverter::Flag::Stateless);  // errors only add up
        // Not QString::fromUcs4, which drops a leading U+FEFF.
        const QChar units[2] = {QChar(QChar::highSurrogate(u)), QChar(QChar::lowSurrogate(u))};
        const QString text = u > 0xFFFF ? QString(units, 2) : QString(QChar(char16_t(u)));
        const QByteArray b = e->encode(text);
        const auto win = windows.find(unsigned(u));
        const bool icuOwn = u == 0x1A || u == 0x1C || u == 0x7F || u == 0xF86F;
        if (e->hasError()) {
            if (!b.isEmpty() && b != "\xFC\xFC") fail("a character without a code is not written FC FC", int(u));
            if (win != windows.end() && win->second != "?") {
                if (win->second.size() > 2) fail("Windows writes a character as more than two bytes", int(u));
                bestFit[u] = codeOf(win->second);
            }
            continue;
        }
        if (u > 0xFFFF) fail("a character outside the BMP has a code", int(u));
        if (u != 0 && u != 10 && u != 13 && !icuOwn && (win == windows.end() || win->second != b))
            fail("Windows writes a character otherwise", int(u));
        if (b.size() == 1)
            written[u] = uchar(b[0]);
        else if (b.size() == 2)
            written[u] = uchar(b[0]) << 8 | uchar(b[1]);
        else
            fail("a character is written as more than two bytes", int(u));
    }
    for (unsigned u = 0; u < 0x80; ++u)
        if (!written.count(u)) fail("an ASCII character has no code", int(u));

    FILE* out = std::fopen(argv[1], "w");
    if (!out) fail("cannot write the output", 0);
    std::fprintf(out,
                 "// Generated by tools/cp932-table from Qt's windows-31j converter and Wine; do not edit.\n"
                 "// kSingle: the character of each byte; kPairs: of each lead byte (81-9F, E0-FC) and\n"
                 "// following byte (40-7E, 80-FC), 188 to a lead byte. 0xFFFF: no character.\n"
                 "// kWrittenChars (ascending) are written as the kWrittenCodes beside them; of the others,\n"
                 "// kBestFitChars (ascending) are written as the kBestFitCodes Windows writes for them.\n");
    printArray(out, "constexpr char16_t kSingle[256]", single);
    printArray(out, "constexpr char16_t kPairs[60 * 188]", pairs);
    std::vector<unsigned> chars, codes;
    for (const auto& [u, c] : written) chars.push_back(u), codes.push_back(c);
    char decl[80];
    std::snprintf(decl, sizeof decl, "constexpr char16_t kWrittenChars[%zu]", chars.size());
    printArray(out, decl, chars);
    std::snprintf(decl, sizeof decl, "constexpr quint16 kWrittenCodes[%zu]", codes.size());
    printArray(out, decl, codes);
    chars.clear(), codes.clear();
    for (const auto& [u, c] : bestFit) chars.push_back(u), codes.push_back(c);
    std::snprintf(decl, sizeof decl, "constexpr char16_t kBestFitChars[%zu]", chars.size());
    printArray(out, decl, chars);
    std::snprintf(decl, sizeof decl, "constexpr quint16 kBestFitCodes[%zu]", codes.size());
    printArray(out, decl, codes);
    return std::fclose(out) == 0 ? 0 : 1;
}
