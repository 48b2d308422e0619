// Text below the formation format: Windows path algebra, code page 932, line splitting, numbers.

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <random>
#include "testkit/common.h"

#include "support/mylib.h"
#include "support/paths/winpath.h"
#include "support/text/cp932.h"
#include "support/text/numtext.h"

namespace ksn {
namespace {

using namespace winpath;

TEST(WinPath, PartsAndJoins) {
    // The path, its drive, file, base and extension names.
    const char* parts[][5] = {{"c:car1.BMP", "c:", "car1.BMP", "car1", "BMP"},
                              {"C:", "C:", "", "", ""},
                              {"\\\\server\\share\\x.y.wav", "\\\\server\\share", "x.y.wav", "x.y", "wav"},
                              {"\\Trains\\a.d\\car1", "", "car1", "car1", ""},
                              // 0x5C is the second byte of 表 and ソ: only the decoded "\" separates.
                              {"C:\\表\\ソ.bmp", "C:", "ソ.bmp", "ソ", "bmp"}};
    for (const auto& c : parts) {
        const QString p = q(c[0]);
        EXPECT_EQ((QStringList{driveName(p), fileName(p), baseName(p), extensionName(p)}),
                  (QStringList{q(c[1]), q(c[2]), q(c[3]), q(c[4])}));
    }
    const char* joins[][3] = {{"C:\\trains\\", "\\car1.bmp", "C:\\trains\\car1.bmp"},
                              {"C:", "car1.bmp", "C:\\car1.bmp"}};
    for (const auto& j : joins) EXPECT_EQ(buildPath(q(j[0]), q(j[1])), q(j[2])) << j[0] << " + " << j[1];
    EXPECT_TRUE(isBareFileName(q("ソ.bmp")));
    for (const char* other : {"car1", "EC/car1.bmp", "C:car1.bmp", ""}) EXPECT_FALSE(isBareFileName(q(other))) << other;
}

TEST(WinPath, AbsoluteResolvesAgainstTheCurrentDirectory) {
    const char* cases[][3] = {{"EC\\..\\.\\car1.bmp", "C:\\Trains", "C:\\Trains\\car1.bmp"},
                              {"\\x\\y", "D:\\Trains", "D:\\x\\y"},
                              {"C:/Trains//EC/", "D:\\", "C:\\Trains\\EC"},
                              // A drive without a separator is relative to that drive's current directory.
                              {"c:x", "C:\\w", "c:\\w\\x"},
                              // Single periods go from every component, dots and blanks from the end of the last one.
                              {"C:\\a\\b.\\c", "D:\\", "C:\\a\\b\\c"},
                              {"C:\\a\\car1.bmp. . ", "D:\\", "C:\\a\\car1.bmp"},
                              // A network root keeps its separator as "C:\" does.
                              {"\\\\srv\\sh\\a\\..", "C:\\", "\\\\srv\\sh\\"}};
    for (const auto& c : cases) EXPECT_EQ(absolutePath(q(c[0]), q(c[1])), q(c[2])) << c[0] << " in " << c[1];
}

TEST(Cp932, DecodesAndEncodesBackByteForByte) {
    const std::pair<QByteArray, const char*> cases[] = {
        // the text, nullptr: not valid code page 932
        {"\x83\x5C\x95\x5C\x8F\x5C\x94\x5C", "ソ表十能"},  // second bytes 0x5C
        {"\x81\x60\x87\x40\xFB\xFC\xB1\xB2", "～①髙ｱｲ"},
        // UTF-8 "ファイル名"; many UTF-8 texts ("日本") are valid code page 932 too.
        {"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D.bmp", nullptr},
        {"abc\x83", nullptr}};  // cut double-byte character
    for (const auto& [bytes, utf8] : cases) {
        bool bad = utf8, badBack = true;
        const QString text = cp932::decode(bytes, &bad);
        EXPECT_EQ(bad, !utf8) << bytes.toHex().constData();
        if (!utf8) continue;
        EXPECT_EQ(std::tuple(text, cp932::encode(text, &badBack), badBack), std::tuple(q(utf8), bytes, false));
    }
    // No code page 932 form: written as Windows writes it, and said so; JIS forms as their counterparts.
    for (const auto& [text, bytes] :
         {std::pair("café¥\u00AD", QByteArray("cafe\\-")), {"a😀€\u200D", "a????"}, {"〜−", "\x81\x60\x81\x7C"}}) {
        bool bad = false;
        EXPECT_EQ(std::pair(cp932::encode(q(text), &bad), bad), std::pair(bytes, true)) << text;
    }
}

// The converter's tables and rules against Qt's own windows-31j converter, where this Qt has one
// (ICU): the same characters and the same bytes, and an error where it reports one, for every
// byte and byte pair, every character alone, and random mixtures of the cases that differ. Where
// Qt's has no code (it writes FC FC), Windows' substitutes stand, each UTF-16 unit on its own.
TEST(Cp932, ReadsAndWritesAsQtsConverter) {
    if (!QStringDecoder("windows-31j").isValid()) GTEST_SKIP() << "this Qt has no windows-31j converter";
    int mismatches = 0;
    const auto check = [&](bool same, const char* what, const QByteArray& shown) {
        if (!same && ++mismatches <= 5) ADD_FAILURE() << what << " " << shown.toHex(' ').constData();
    };
    const auto read = [&](const QByteArray& bytes) {
        QStringDecoder qt("windows-31j", QStringConverter::Flag::Stateless);
        bool bad = false;
        check(cp932::decode(bytes, &bad) == qt(bytes) && bad == qt.hasError(), "read", bytes);
    };
    const auto write = [&](const QString& text) {
        QByteArray expected;
        bool expectedBad = false, bad = false;
        for (const QChar unit : text) {
            QStringEncoder qt("windows-31j", QStringConverter::Flag::Stateless);
            const QByteArray b = qt(QStringView(&unit, 1));
            expectedBad |= qt.hasError();
            expected += qt.hasError() ? cp932::encode(QString(unit)) : b;
        }
        check(cp932::encode(text, &bad) == expected && bad == expectedBad, "write",
              QByteArray(reinterpret_cast<const char*>(text.utf16()), 2 * text.size()));
    };
    for (int b = 0; b < 0x10000; ++b) {
        if (b < 0x100) read(QByteArray(1, char(b)));
        const char pair[] = {char(b >> 8), char(b)};
        read(QByteArray(pair, 2));
        write(QString(QChar(char16_t(b))));
    }
    // Lead bytes, bytes that may or may not follow them, bytes that are no character.
    const uchar bytes[] = {0x00, 0x1A, 0x3F, 0x40, 0x5C, 0x7E, 0x7F, 0x80, 0x81, 0x85,
                           0x9F, 0xA0, 0xA1, 0xDF, 0xE0, 0xED, 0xFC, 0xFD, 0xFF};
    // ASCII, kana, kanji, duplicates, characters without a code or left out, halves of pairs.
    const char16_t units[] = {u'a', 0x1A, 0x7F,   0xFF71, 0x8868, 0x7E8A, 0x2116, 0xF86F,
                              0xA5, 0xAD, 0xFEFF, 0xD83D, 0xDE00, 0xDB40, 0xDD00};
    std::mt19937 random(932);
    for (int i = 0; i < 20000; ++i) {
        QByteArray someBytes;
        QString someText;
        for (int k = int(random() % 7); k >= 0; --k) {
            someBytes.append(char(bytes[random() % std::size(bytes)]));
            someText.append(QChar(units[random() % std::size(units)]));
        }
        read(someBytes);
        write(someText);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Cp932, LinesEndAtCrLfOrALoneCr) {
    const auto split = [](QByteArrayView bytes) {
        QList<QByteArray> lines;
        for (const QByteArrayView v : cp932::splitLines(bytes)) lines << v.toByteArray();
        return lines;
    };
    EXPECT_EQ(split("\r\r\n\r"), (QList<QByteArray>{"", "", ""}));
    EXPECT_EQ(split("a\nb\r\n\nc"), (QList<QByteArray>{"a\nb", "\nc"}));  // a lone LF is text
    for (const auto& [max, count, more] : {std::tuple{0, 0, true}, {2, 2, true}, {3, 3, false}}) {
        bool moreLeft = !more;
        EXPECT_EQ(std::pair(cp932::splitLines("1\r\n2\r\n3\r\n", max, &moreLeft).size(), moreLeft),
                  std::pair(qsizetype(count), more));
    }
}

// The text, which ends at "|" though more digits follow in memory; its leading and its whole number.
TEST(NumberText, LeadingWholeAndRoundedWithinTheTextOnly) {
    const std::tuple<const char*, double, std::optional<qint32>> cases[] = {
        {" -36 ", -36, -36}, {".5x", 0.5, {}}, {"2.5", 2.5, 2},  {"1e3", 1000, 1000}, {"\uFF11\uFF12", 0, {}},
        {"12|3456", 12, 12}, {"1.|53", 1, 1},  {"2e-|5", 2, {}}, {"-|5", 0, {}}};  // full-width digits: no number
    for (const auto& [chars, leading, whole] : cases) {
        QString all = q(chars);
        const qsizetype end = all.indexOf(u'|');
        all.remove(end, end < 0 ? 0 : 1);
        const QStringView text = end < 0 ? QStringView(all) : QStringView(all).first(end);
        EXPECT_EQ(std::pair(leadingNumber(text), wholeNumber(text)), std::pair(leading, whole)) << chars;
    }
    EXPECT_EQ(MyLibClass::DelComment(q(" \tcar\u3000.bmp ;x")), q("\tcar\u3000.bmp"));  // U+0020 only is trimmed
}

// The counts are 16 or 32 bits wide: their last value is written, the next one overflows.
TEST(Numbers, TimesOverflowJustPastTheirRange) {
    const std::pair<std::function<QString()>, const char*> cases[] = {
        {[] { return MyLibClass::FormatTime(-1966080000); }, "-546:-08:00.000"},  // -32768 minutes
        {[] { return MyLibClass::FormatTime(1966080000); }, nullptr},
        {[] { return MyLibClass::GetFormatTimeString_ms(32767.25f); }, "9時間6分7秒250ミリ秒"},
        {[] { return MyLibClass::GetFormatTimeString_ms(32768.0f); }, nullptr},
        {[] { return MyLibClass::GetFormatTimeString(-2147483648.0); }, "-24855日-3時間-14分-8秒"},
        {[] { return MyLibClass::GetFormatTimeString(2147483647.5); }, nullptr}};  // rounds to 2^31
    for (const auto& [format, text] : cases) {
        if (text) {
            EXPECT_EQ(format(), q(text));
        } else {
            EXPECT_THROW(format(), OverflowError);
        }
    }
}

}  // namespace
}  // namespace ksn
