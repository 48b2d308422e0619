#include "cp932.h"
#include "filesystem.h"
#include "formation.h"

#include <gtest/gtest.h>

namespace ksn {
namespace {

struct ConvertCase {
    const char* line;
    SaveMode mode;
    bool comments;
    const char* expected;
};

class ConvertLine : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertLine, GivesTheFormOfTheMode) {
    // The current directory only matters to the drive-less mode.
    const FileSystem fs(DriveMap(), QStringLiteral("C:\\Work\\KSN"));
    const ConvertCase& c = GetParam();
    EXPECT_EQ(convertLine(QString::fromUtf8(c.line), c.mode, c.comments, fs, QStringLiteral("D:\\Formations")),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ConvertLine,
    ::testing::Values(
        ConvertCase{"C:\\Trains\\EC\\car1.bmp;front", SaveMode::FileOnly, true, "car1.bmp;front"},
        ConvertCase{"C:\\Trains\\EC\\car1.bmp;front", SaveMode::NonDrive, true, "\\Trains\\EC\\car1.bmp;front"},
        ConvertCase{"C:\\Trains\\EC\\car1.bmp;front", SaveMode::DefaultFolder, true, "D:\\Formations\\car1.bmp;front"},
        ConvertCase{"C:\\Trains\\EC\\car1.bmp;front", SaveMode::AsInFile, true, "C:\\Trains\\EC\\car1.bmp;front"},
        ConvertCase{"C:\\Trains\\EC\\car1.bmp;front", SaveMode::FileOnly, false, "car1.bmp"},
        // Blanks around the path go, the comment is kept exactly.
        ConvertCase{"  car1.bmp  ;  red  ", SaveMode::AsInFile, true, "car1.bmp;  red  "},
        ConvertCase{"car1.bmp;a;b", SaveMode::FileOnly, true, "car1.bmp;a;b"},
        ConvertCase{"car1.bmp;", SaveMode::FileOnly, true, "car1.bmp"},
        // Tabs and ideographic spaces belong to the path.
        ConvertCase{"\tcar1.bmp\u3000;x", SaveMode::AsInFile, true, "\tcar1.bmp\u3000;x"},
        // Relative forms become absolute against the current directory before the drive goes.
        ConvertCase{"EC\\car1.bmp", SaveMode::NonDrive, true, "\\Work\\KSN\\EC\\car1.bmp"},
        ConvertCase{"..\\car1.bmp", SaveMode::NonDrive, true, "\\Work\\car1.bmp"},
        ConvertCase{"\\\\server\\share\\cars\\car1.bmp", SaveMode::NonDrive, true, "\\cars\\car1.bmp"},
        ConvertCase{"\\\\server\\share\\cars\\car1.bmp", SaveMode::FileOnly, true, "car1.bmp"},
        ConvertCase{"C:/Trains/car1.bmp", SaveMode::FileOnly, true, "car1.bmp"},
        // 0x5C is the second byte of ソ: the split works on characters, so the name stays whole.
        ConvertCase{"C:\\ソフト\\表示.bmp", SaveMode::FileOnly, true, "表示.bmp"},
        // A line without a path is kept exactly, whatever the mode: listed empty it would end the
        // formation at the next load.
        ConvertCase{";comment only", SaveMode::FileOnly, false, ";comment only"},
        ConvertCase{"   ", SaveMode::DefaultFolder, true, "   "},
        ConvertCase{"", SaveMode::FileOnly, true, ""}));

TEST(ConvertLine, DefaultFolderModeWithoutFolderLeavesTheBareName) {
    const FileSystem fs(DriveMap(), QStringLiteral("C:\\"));
    EXPECT_EQ(convertLine(QStringLiteral("C:\\x\\car1.bmp;a"), SaveMode::DefaultFolder, true, fs, QString()),
              QStringLiteral("car1.bmp;a"));
    EXPECT_EQ(convertLine(QStringLiteral("C:\\x\\car1.bmp"), SaveMode::DefaultFolder, true, fs, QStringLiteral("D:\\F\\")),
              QStringLiteral("D:\\F\\car1.bmp"));
}

TEST(SaveModeNames, AreTheCaptionsUpToTheParenthesis) {
    EXPECT_EQ(saveModeName(SaveMode::FileOnly), QStringLiteral("ファイル名のみ"));
    EXPECT_EQ(saveModeName(SaveMode::AsInFile), QStringLiteral("編成ファイルのまま"));
    EXPECT_EQ(saveModeName(SaveMode::NonDrive), QStringLiteral("ドライブ名以降"));
    EXPECT_EQ(saveModeName(SaveMode::DefaultFolder), QStringLiteral("デフォルトフォルダ"));
    EXPECT_TRUE(saveModeCaption(SaveMode::AsInFile).endsWith(u' '));
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    int maxLines;
    QStringList lines;
    bool overLimit;
};

TEST(ReadFormationText, SplitsAtCrLfAndLoneCrOnly) {
    const ReadCase cases[] = {
        {"crlf", "T\r\nS\r\nc1\r\n", 103, {"T", "S", "c1"}, false},
        {"no final line end", "T\r\nS\r\nc1", 103, {"T", "S", "c1"}, false},
        {"lone cr", "T\rS\rc1\r", 103, {"T", "S", "c1"}, false},
        {"lone lf is a character", "T\nS\r\nc1", 103, {"T\nS", "c1"}, false},
        {"empty line kept", "T\r\n\r\nc1\r\n", 103, {"T", "", "c1"}, false},
        {"empty file", "", 103, {}, false},
        {"exactly at the limit", "a\r\nb\r\nc\r\n", 3, {"a", "b", "c"}, false},
        {"over the limit", "a\r\nb\r\nc\r\nd", 3, {"a", "b", "c"}, true},
        {"over the limit by an empty line", "a\r\nb\r\nc\r\n\r\n", 3, {"a", "b", "c"}, true},
    };
    for (const auto& c : cases) {
        const FormationText t = readFormationText(c.bytes, c.maxLines);
        EXPECT_EQ(t.lines, c.lines) << c.name;
        EXPECT_EQ(t.overLimit, c.overLimit) << c.name;
        EXPECT_FALSE(t.invalidBytes) << c.name;
    }
}

TEST(ReadFormationText, FlagsLinesThatWouldNotBeWrittenBackTheSame) {
    QByteArray cut = cp932::encode(QStringLiteral("特急"));
    cut.chop(1);  // a lead byte with no second byte
    const struct {
        const char* name;
        QByteArray bytes;
        bool flagged;
    } cases[] = {
        {"utf-8 text", QStringLiteral("あいう\r\n").toUtf8(), true},
        {"undefined byte", QByteArray("ab\x80\r\n"), true},
        {"cut double-byte character", cut, true},
        {"NEC duplicate that encodes to its IBM twin", QByteArray("\xED\x40\r\n"), true},
        {"0x5C second bytes", cp932::encode(QStringLiteral("ソ表\r\n")), false},
        {"half-width katakana", cp932::encode(QStringLiteral("ﾃﾞｨﾚｸﾄﾘ")), false},
    };
    for (const auto& c : cases) EXPECT_EQ(readFormationText(c.bytes, 103).invalidBytes, c.flagged) << c.name;
}

TEST(FormationBytes, WritesEveryRowWithCrLfInShiftJis) {
    bool bad = true;
    EXPECT_EQ(formationBytes({QStringLiteral("新生した編成"), QStringLiteral(" ")}, &bad),
              cp932::encode(QStringLiteral("新生した編成")) + "\r\n \r\n");
    EXPECT_FALSE(bad);
    formationBytes({QStringLiteral("emoji 🚆")}, &bad);
    EXPECT_TRUE(bad);
}

}  // namespace
}  // namespace ksn
