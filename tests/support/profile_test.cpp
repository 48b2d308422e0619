// The settings file's reading and rewriting: every byte not part of the written value stays.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "support/settings/profile.h"
#include "support/text/cp932.h"
#include "testkit/tempdrive.h"

namespace ksn::profile {
namespace {

using namespace Qt::StringLiterals;

// Test texts are written in UTF-8 and stored as code page 932, as the files are.
QByteArray sj(const char* utf8) { return cp932::encode(QString::fromUtf8(utf8)); }
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(Profile, ReadFindsTheValueOrTheDefault) {
    const char* cases[][4] = {
        // file, section, key, value
        {"[ksned]\r\nKSN_FOLDER=D:\\KSN\r\n", "KSNED", "KSN_Folder", "D:\\KSN"},
        {"  [ KSNED ]  \r\n\t KSN_Folder \t=  D:\\K S N \t\r\n", "KSNED", "KSN_Folder", "D:\\K S N"},
        {"[A]\nx=1\ny=2\n", "A", "y", "2"},
        {"[A]\rx=1\ry=2", "A", "y", "2"},
        {"x=1\r\n[A]\r\ny=2\r\n", "A", "x", "<default>"},
        {"[A]\r\ny=1\r\n[B]\r\nx=2\r\n", "A", "x", "<default>"},
        // Only the first of equal sections, and the first of equal keys, is read.
        {"[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n", "A", "x", "1"},
        {"[A]\r\nx=1\r\n[a]\r\ny=3\r\n", "A", "y", "<default>"},
        {"[A]\r\nX=1\r\nx=2\r\n", "A", "x", "1"},
        {"[A]\r\nx=\"  D:\\KSN \"\r\n", "A", "x", "  D:\\KSN "},
        {"[A]\r\nx=\"a'\r\n", "A", "x", "\"a'"},
        {"[A]\r\nx=a=b\r\n", "A", "x", "a=b"},
        {"[A]\r\nx= \t\r\n", "A", "x", ""},
        {"[A]\r\n  =v\r\n \t\r\nx=1", "A", "x", "1"},
        {"[A]\r\n;x=1\r\nx=2\r\n", "A", "x", "2"},
        {"[A\r\nx=1\r\n", "A", "x", "<default>"},
        // The second byte of ゾ is "]": the section line is parsed on characters, not bytes.
        {"[ゾ]\r\nキー=D:\\表示\\ソ\r\n", "ゾ", "キー", "D:\\表示\\ソ"},
        {"[A]\r\n\u3000x=1\r\n", "A", "x", "<default>"}};  // an ideographic space belongs to the name
    for (const auto& c : cases) EXPECT_EQ(readValue(sj(c[0]), u(c[1]), u(c[2]), u"<default>"_s, 255), u(c[3])) << c[0];
}

TEST(Profile, WriteChangesOnlyWhatItMust) {
    const char* cases[][5] = {
        // before, section, key, value, after
        {"", "KSNED", "KSN_Folder", "D:\\KSN", "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"},
        {"[ksned]\r\nKSN_FOLDER=D:\\KSN\r\n", "KSNED", "KSN_Folder", "E:\\新", "[ksned]\r\nKSN_FOLDER=E:\\新\r\n"},
        {"; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder = old \r\nB=2\n\n[Z]\r\nC = 表\r\nend", "KSNED",
         "KSN_Folder", "new", "; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder=new\r\nB=2\n\n[Z]\r\nC = 表\r\nend"},
        {"[A]\r\n  x=1", "A", "x", "2", "[A]\r\n  x=2"},
        {"[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "a", "x", "9", "[A]\r\nx=9\r\n[A]\r\nx=2\r\n"},
        {"[A]\r\n[A]\r\nz=1\r\n", "A", "z", "9", "[A]\r\nz=9\r\n[A]\r\nz=1\r\n"},
        // A new key goes after the section's last key, before blank lines and comments.
        {"[A]\r\nx=1\r\n \t\r\n[B]\r\ny=2\r\n", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n \t\r\n[B]\r\ny=2\r\n"},
        {"[A]\n  x=1\n; about B\n[B]\n", "A", "z", "3", "[A]\n  x=1\nz=3\r\n; about B\n[B]\n"},
        {"[A]\r\n;z=1\r\n", "A", "z", "3", "[A]\r\nz=3\r\n;z=1\r\n"},
        {"[A]", "A", "z", "3", "[A]\r\nz=3\r\n"},
        {"[B]\ny=2", "A", "z", "3", "[B]\ny=2\r\n[A]\r\nz=3\r\n"}};
    for (const auto& c : cases) {
        const QByteArray after = withValue(sj(c[0]), u(c[1]), u(c[2]), u(c[3]));
        EXPECT_EQ(after, sj(c[4])) << c[0];
        EXPECT_EQ(readValue(after, u(c[1]), u(c[2]), u"<default>"_s, 255), u(c[3])) << c[0];
    }
    // 0xED40 decodes to a character that encodes as 0xFA5C, and 0x80 0xFF are no text at all:
    // lines other than the written one must never pass through the converter.
    EXPECT_EQ(withValue("[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=old\r\n", u"KSNED"_s, u"KSN_Folder"_s,
                        u"new"_s),
              QByteArray("[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=new\r\n"));
}

TEST(Profile, FileIsCreatedOnWriteButNeverReplacesAFolderOrAReadOnlyFile) {
    const test::TempDrive d;
    const QString ini = d.host(u"KSNED32.ini"_s);
    ASSERT_TRUE(WritePrivateProfileString(u"KSNED"_s, u"KSN_Folder"_s, u("D:\\表示"), ini));
    EXPECT_EQ(d.read(u"KSNED32.ini"_s), sj("[KSNED]\r\nKSN_Folder=D:\\表示\r\n"));
    EXPECT_EQ(GetPrivateProfileString(u"ksned"_s, u"KSN_FOLDER"_s, {}, 255, ini), u("D:\\表示"));

    EXPECT_FALSE(WritePrivateProfileString(u"A"_s, u"x"_s, u"1"_s, d.host(u"missing/a.ini"_s)));
    EXPECT_FALSE(QFileInfo::exists(d.host(u"missing"_s)));
    d.mkdir(u"sub.ini"_s);
    EXPECT_FALSE(WritePrivateProfileString(u"A"_s, u"x"_s, u"1"_s, d.host(u"sub.ini"_s)));
    EXPECT_TRUE(QFileInfo(d.host(u"sub.ini"_s)).isDir());
    ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(WritePrivateProfileString(u"KSNED"_s, u"KSN_Folder"_s, u"E:\\X"_s, ini));
    EXPECT_EQ(d.read(u"KSNED32.ini"_s), sj("[KSNED]\r\nKSN_Folder=D:\\表示\r\n"));
}

}  // namespace
}  // namespace ksn::profile
