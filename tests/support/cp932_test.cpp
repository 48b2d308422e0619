#include "cp932.h"

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include "linereader.h"

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Cp932, ConverterIsAvailable) {
    ASSERT_TRUE(cp932::available()) << cp932::unavailableMessage().toStdString();
}

struct CodeCase {
    QByteArray bytes;
    const char* text;
    bool bad;  // the bytes are not valid code page 932
};

class Decode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(Decode, ConvertsWholeLinesAndReportsInvalidBytes) {
    const CodeCase& c = GetParam();
    bool bad = !c.bad;
    const QString text = cp932::decode(c.bytes, &bad);
    EXPECT_EQ(bad, c.bad);
    if (!c.bad) {
        EXPECT_EQ(text, q(c.text));
        EXPECT_EQ(cp932::encode(text, &bad), c.bytes);  // written back byte for byte
        EXPECT_FALSE(bad);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Decode,
    ::testing::Values(CodeCase{"", "", false}, CodeCase{"car1.bmp;front", "car1.bmp;front", false},
                      // Second bytes 0x5C: ソ, 表, 十, 能.
                      CodeCase{"\x83\x5C\x95\x5C\x8F\x5C\x94\x5C", "ソ表十能", false},
                      CodeCase{"C:\\\x95\x5C\x8E\xA6\\a.bmp", "C:\\表示\\a.bmp", false},
                      CodeCase{"\x81\x60\x87\x40\xFB\xFC", "～①髙", false}, CodeCase{"\xB1\xB2", "ｱｲ", false},
                      // UTF-8 "ファイル名.bmp"; many UTF-8 texts ("日本") are valid code page 932 too.
                      CodeCase{"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D.bmp", nullptr,
                               true},
                      CodeCase{"abc\x83", nullptr, true},  // cut double-byte character
                      CodeCase{"\x83", nullptr, true}));

TEST(Cp932, EncodeReportsCharactersWithoutACodePage932Form) {
    bool bad = true;
    EXPECT_EQ(cp932::encode(QString(), &bad), QByteArray());
    EXPECT_FALSE(bad);
    for (const char* text : {"한", "a😀b", "Ω≠ø"}) {
        bad = false;
        EXPECT_FALSE(cp932::encode(q(text), &bad).isEmpty());
        EXPECT_TRUE(bad) << text;
    }
}

struct SplitCase {
    QByteArray bytes;
    QList<QByteArray> lines;
};

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, EndsLinesAtCrLfOrALoneCr) {
    const SplitCase& c = GetParam();
    QList<QByteArray> views;
    for (const QByteArrayView v : cp932::splitLines(c.bytes)) views << v.toByteArray();
    EXPECT_EQ(views, c.lines);

    // The line reader splits the same way.
    LineReader reader(c.bytes);
    QList<QByteArray> read;
    while (!reader.atEnd()) read << reader.readRawLine();
    EXPECT_EQ(read, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Split,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"\r\n", {""}}, SplitCase{"a", {"a"}},
                      SplitCase{"a\r\nb\r\n", {"a", "b"}}, SplitCase{"a\r\nb", {"a", "b"}},
                      SplitCase{"a\rb\rc\r", {"a", "b", "c"}}, SplitCase{"a\nb\r\n\nc", {"a\nb", "\nc"}},
                      SplitCase{"\r\r\n\r", {"", "", ""}}, SplitCase{"a\r\n\r\nb", {"a", "", "b"}},
                      SplitCase{"\n", {"\n"}},
                      // 0x0D never occurs inside a double-byte character: ソ stays whole.
                      SplitCase{"\x83\x5C\r\n\x95\x5C", {"\x83\x5C", "\x95\x5C"}}));

TEST(Cp932, SplitStopsAfterMaxLinesAndSaysWhetherMoreFollow) {
    const QByteArray bytes = "1\r\n2\r\n3\r\n";
    const struct {
        qsizetype max;
        qsizetype count;
        bool more;
    } cases[] = {{-1, 3, false}, {0, 0, true}, {2, 2, true}, {3, 3, false}, {4, 3, false}};
    for (const auto& c : cases) {
        bool more = !c.more;
        EXPECT_EQ(cp932::splitLines(bytes, c.max, &more).size(), c.count) << c.max;
        EXPECT_EQ(more, c.more) << c.max;
    }
}

TEST(LineReader, DecodesEachLineAndFlagsOnlyTheBadOne) {
    LineReader reader("\x93\xC1\x8B\x7D\r\n\xE3\x81\x82 1\r\nsnd.wav");  // the middle line is UTF-8
    bool bad = true;
    EXPECT_EQ(reader.readLine(&bad), q("特急"));
    EXPECT_FALSE(bad);
    reader.readLine(&bad);
    EXPECT_TRUE(bad);
    EXPECT_EQ(reader.readLine(&bad), q("snd.wav"));
    EXPECT_FALSE(bad);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(&bad), QString());
    EXPECT_FALSE(bad);
}

}  // namespace
}  // namespace ksn
