#include "cp932.h"
#include "profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ksn::profile {
namespace {

using namespace Qt::StringLiterals;

// Test texts are written in UTF-8 and stored as code page 932, as the files are.
QByteArray sj(const char* utf8) { return cp932::encode(QString::fromUtf8(utf8)); }
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Root writes through any permission bits, so a read-only file is only read-only for others.
bool permissionsBite(const QString& path) {
    QFile f(path);
    return !f.open(QIODevice::WriteOnly | QIODevice::Append);
}

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

// Test names carry the case; the case's name is all a report needs of it.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProfileReadCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadCases, FindsTheValueOrTheDefault) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(readValue(sj(c.file), u(c.section), u(c.key), QStringLiteral("<default>"), 255), u(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileReadCases,
    ::testing::Values(
        ReadCase{"NamesIgnoreCase", "[ksned]\r\nKSN_FOLDER=D:\\KSN\r\n", "KSNED", "KSN_Folder", "D:\\KSN"},
        ReadCase{"BlanksTrimmed", "  [ KSNED ]  \r\n\t KSN_Folder \t=  D:\\K S N \t\r\n", "KSNED", "KSN_Folder",
                 "D:\\K S N"},
        ReadCase{"LoneLf", "[A]\nx=1\ny=2\n", "A", "y", "2"},
        ReadCase{"LoneCr", "[A]\rx=1\ry=2", "A", "y", "2"},
        ReadCase{"EmptyFile", "", "A", "x", "<default>"},
        ReadCase{"NoSection", "[B]\r\nx=1\r\n", "A", "x", "<default>"},
        ReadCase{"KeyBeforeAnySection", "x=1\r\n[A]\r\ny=2\r\n", "A", "x", "<default>"},
        ReadCase{"KeyOfTheNextSection", "[A]\r\ny=1\r\n[B]\r\nx=2\r\n", "A", "x", "<default>"},
        ReadCase{"FirstOfDuplicateSections", "[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n", "A", "x", "1"},
        ReadCase{"LaterDuplicateSectionNotSearched", "[A]\r\nx=1\r\n[a]\r\ny=3\r\n", "A", "y", "<default>"},
        ReadCase{"FirstOfDuplicateKeys", "[A]\r\nX=1\r\nx=2\r\n", "A", "x", "1"},
        ReadCase{"DoubleQuotesRemoved", "[A]\r\nx=\"  D:\\KSN \"\r\n", "A", "x", "  D:\\KSN "},
        ReadCase{"SingleQuotesRemoved", "[A]\r\nx='a'\r\n", "A", "x", "a"},
        ReadCase{"MismatchedQuotesKept", "[A]\r\nx=\"a'\r\n", "A", "x", "\"a'"},
        ReadCase{"OneQuoteKept", "[A]\r\nx=\"\r\n", "A", "x", "\""},
        ReadCase{"EmptyValueIsNoDefault", "[A]\r\nx=\r\n", "A", "x", ""},
        ReadCase{"ValueKeepsLaterEquals", "[A]\r\nx=a=b\r\n", "A", "x", "a=b"},
        ReadCase{"CommentIsNoKey", "[A]\r\n;x=1\r\nx=2\r\n", "A", "x", "2"},
        ReadCase{"UnclosedBracketIsNoSection", "[A\r\nx=1\r\n", "A", "x", "<default>"},
        ReadCase{"Japanese", "[設定]\r\nフォルダ=D:\\表示\\ソ\r\n", "設定", "フォルダ", "D:\\表示\\ソ"},
        // The second byte of ゾ is "]": the section line is parsed on characters, not bytes.
        ReadCase{"BracketAsSecondByte", "[ゾ]\r\nキー=値\r\n", "ゾ", "キー", "値"},
        ReadCase{"IdeographicSpaceBelongsToTheName", "[A]\r\n\u3000x=1\r\n", "A", "x", "<default>"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ProfileRead, CutsToOneLessThanTheBufferSize) {
    const QString long300 = QString(300, u'k');
    const QByteArray file = "[KSNED]\r\nKSN_Folder=" + long300.toLatin1() + "\r\n";
    EXPECT_EQ(readValue(file, u"KSNED"_s, u"KSN_FOLDER"_s, {}, 255), long300.left(254));
    EXPECT_EQ(readValue(file, u"KSNED"_s, u"KSN_FOLDER"_s, {}, 1), QString());
    EXPECT_EQ(readValue(file, u"KSNED"_s, u"KSN_FOLDER"_s, {}, 0), QString());
    // Characters are counted, not bytes: a Japanese value is cut after its fourth character.
    EXPECT_EQ(readValue(sj("[A]\r\nx=表示表示表示\r\n"), u"A"_s, u"x"_s, {}, 5), u("表示表示"));
}

TEST(ProfileRead, DefaultLosesTrailingSpacesAndIsCutToo) {
    EXPECT_EQ(readValue({}, u"A"_s, u"x"_s, u" abc  "_s, 255), u" abc"_s);
    EXPECT_EQ(readValue({}, u"A"_s, u"x"_s, u"abcdef"_s, 4), u"abc"_s);
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class ProfileWriteCases : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteCases, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    const QByteArray after = withValue(sj(c.before), u(c.section), u(c.key), u(c.value));
    EXPECT_EQ(after, sj(c.after));
    EXPECT_EQ(readValue(after, u(c.section), u(c.key), QStringLiteral("<default>"), 255), u(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileWriteCases,
    ::testing::Values(
        WriteCase{"EmptyFile", "", "KSNED", "KSN_Folder", "D:\\KSN", "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"},
        WriteCase{"KeepsTheKeySpelling", "[ksned]\r\nKSN_FOLDER=D:\\KSN\r\n", "KSNED", "KSN_Folder", "E:\\新",
                  "[ksned]\r\nKSN_FOLDER=E:\\新\r\n"},
        WriteCase{"OtherLinesUntouched",
                  "; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder = old \r\nB=2\n\n[Z]\r\nC = 表\r\nend",
                  "KSNED", "KSN_Folder", "new",
                  "; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder=new\r\nB=2\n\n[Z]\r\nC = 表\r\nend"},
        WriteCase{"KeepsIndentation", "[A]\r\n  x=1\r\n", "A", "x", "2", "[A]\r\n  x=2\r\n"},
        WriteCase{"LastLineWithoutLineEnd", "[A]\r\nx=1", "A", "x", "2", "[A]\r\nx=2"},
        WriteCase{"EmptyValue", "[A]\r\nx=1\r\n", "A", "x", "", "[A]\r\nx=\r\n"},
        WriteCase{"FirstOfDuplicateKeys", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "9", "[A]\r\nx=9\r\nX=2\r\n"},
        WriteCase{"FirstOfDuplicateSections", "[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "a", "x", "9",
                  "[A]\r\nx=9\r\n[A]\r\nx=2\r\n"},
        WriteCase{"KeyOnlyInLaterDuplicate", "[A]\r\n[A]\r\nz=1\r\n", "A", "z", "9", "[A]\r\nz=9\r\n[A]\r\nz=1\r\n"},
        WriteCase{"NewKeyBeforeTrailingBlankLines", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"NewKeyBeforeAComment", "[A]\n  x=1\n; about B\n[B]\n", "A", "z", "3",
                  "[A]\n  x=1\nz=3\r\n; about B\n[B]\n"},
        WriteCase{"NewKeyInEmptySection", "[A]\r\n\r\n[B]\r\n", "A", "z", "3", "[A]\r\nz=3\r\n\r\n[B]\r\n"},
        WriteCase{"NewKeyAtEndWithoutLineEnd", "[A]\r\nx=1", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n"},
        WriteCase{"NewKeyAfterBareHeader", "[A]", "A", "z", "3", "[A]\r\nz=3\r\n"},
        WriteCase{"CommentedKeyIsNotReplaced", "[A]\r\n;z=1\r\n", "A", "z", "3", "[A]\r\nz=3\r\n;z=1\r\n"},
        WriteCase{"NewSectionAtEnd", "[B]\r\ny=2\r\n", "A", "z", "3", "[B]\r\ny=2\r\n[A]\r\nz=3\r\n"},
        WriteCase{"NewSectionAfterLoneLf", "[B]\ny=2\n", "A", "z", "3", "[B]\ny=2\n[A]\r\nz=3\r\n"},
        WriteCase{"NewSectionAfterMissingLineEnd", "[B]\ny=2", "A", "z", "3", "[B]\ny=2\r\n[A]\r\nz=3\r\n"},
        WriteCase{"JapaneseNames", "[設定]\r\n", "設定", "フォルダ", "D:\\表示\\ソ",
                  "[設定]\r\nフォルダ=D:\\表示\\ソ\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ProfileWrite, KeepsBytesThatWouldNotSurviveConversion) {
    // 0xED40 decodes to a character that encodes as 0xFA5C, and 0x80 0xFF are no text at all:
    // lines other than the written one must never pass through the converter.
    const QByteArray before = "[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=old\r\n";
    EXPECT_EQ(withValue(before, u"KSNED"_s, u"KSN_Folder"_s, u"new"_s),
              QByteArray("[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=new\r\n"));
}

class ProfileFile : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir_;
};

TEST_F(ProfileFile, MissingFileGivesTheDefaultAndIsCreatedOnWrite) {
    const QString ini = path("KSNED32.ini");
    EXPECT_EQ(GetPrivateProfileString(u"KSNED"_s, u"KSN_FOLDER"_s, u"none"_s, 255, ini), u"none"_s);
    ASSERT_TRUE(WritePrivateProfileString(u"KSNED"_s, u"KSN_Folder"_s, u("D:\\表示"), ini));
    EXPECT_EQ(readAll(ini), sj("[KSNED]\r\nKSN_Folder=D:\\表示\r\n"));
    EXPECT_EQ(GetPrivateProfileString(u"ksned"_s, u"KSN_FOLDER"_s, {}, 255, ini), u("D:\\表示"));
}

TEST_F(ProfileFile, FailsWhereNoFileCanBe) {
    EXPECT_FALSE(WritePrivateProfileString(u"A"_s, u"x"_s, u"1"_s, path("missing/a.ini")));
    EXPECT_FALSE(QFileInfo::exists(path("missing")));
    // A folder of the file's name is no file to replace.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(u"sub.ini"_s));
    EXPECT_FALSE(WritePrivateProfileString(u"A"_s, u"x"_s, u"1"_s, path("sub.ini")));
    EXPECT_TRUE(QFileInfo(path("sub.ini")).isDir());
}

TEST_F(ProfileFile, RefusesAReadOnlyFile) {
    const QString ini = path("ro.ini");
    const QByteArray old = "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n";
    writeAll(ini, old);
    ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    if (!permissionsBite(ini)) GTEST_SKIP() << "running with rights that ignore read-only files";
    EXPECT_FALSE(WritePrivateProfileString(u"KSNED"_s, u"KSN_Folder"_s, u"E:\\X"_s, ini));
    EXPECT_EQ(readAll(ini), old);
}

}  // namespace
}  // namespace ksn::profile
