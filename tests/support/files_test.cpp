// Drive letters, the file-system object, the settings file and bitmap headers.

#include "support/mylib.h"
#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "support/paths/winpath.h"
#include "support/settings/profile.h"
#include "support/settings/settingsfile.h"
#include "support/text/cp932.h"
#include "testkit/envguard.h"
#include "testkit/tempdrive.h"

namespace ksn {
namespace {

// Settings texts are written in UTF-8 and stored as code page 932, as the files are.
QByteArray sj(const char* utf8) { return cp932::encode(q(utf8)); }

TEST(DriveMap, ParseReadsLettersAndRootsOrNamesTheBadEntry) {
    const char* cases[][2] = {
        {" d:=/mnt/d ; c:=/srv/c ;", "C:=/srv/c;D:=/mnt/d"}, {"C:=/srv/c;D=/mnt/d", nullptr}, {"C:=", nullptr}};
    for (const auto& c : cases) {
        QString error;
        const auto m = DriveMap::parse(q(c[0]), &error);
        EXPECT_EQ(m ? m->toString() : q("refused"), c[1] ? q(c[1]) : q("refused")) << error.toStdString();
        // The message names the entry at fault; what toString writes, parse reads back unchanged.
        EXPECT_TRUE(m ? DriveMap::parse(m->toString())->drives() == m->drives()
                      : error.contains(q(c[0]).split(u';').last()));
    }
}

TEST(DriveMap, DetectPrefersTheVariableThenThePrefixThenHomeWine) {
    const EnvGuard env{"KSNED_DRIVES", "WINEPREFIX", "HOME"};
    QTemporaryDir dir;
    const QString home = QDir(dir.path()).canonicalPath(), prefix = home + "/.wine";
    ASSERT_TRUE(QDir(prefix).mkpath("dosdevices") && QDir(prefix).mkpath("drive_c"));
    for (const auto& [target, link] :
         {std::pair{"../drive_c", "c:"}, {"/", "z:"}, {"/dev/null", "c::"}, {"/nonexistent/cdrom", "e:"}})
        ASSERT_TRUE(QFile::link(target, prefix + "/dosdevices/" + link));
    // c:: is the raw device, no drive; e: is a drive whose media is absent.
    EXPECT_EQ(DriveMap::fromWinePrefix(prefix).toString(), "C:=" + prefix + "/drive_c;E:=/nonexistent/cdrom;Z:=/");

    qputenv("HOME", home.toUtf8());
    qputenv("KSNED_DRIVES", "C:=/srv/c");
    qputenv("WINEPREFIX", "/nonexistent");
    EXPECT_EQ(DriveMap::detect().toString(), "C:=/srv/c");
    qunsetenv("KSNED_DRIVES");
    EXPECT_EQ(DriveMap::detect().toString(), "Z:=/");
    qunsetenv("WINEPREFIX");
    EXPECT_EQ(DriveMap::detect().root(u'C'), prefix + "/drive_c");
}

TEST(Settings, FileBesideTheProgramFirstThenTheConfigFolderButNeverAFolderOrReadOnlyFile) {
    const EnvGuard env{"XDG_CONFIG_HOME"};
    const TempDrive d;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(d.host("config")));
    const FileSystem fs(DriveMap(), "C:\\");
    const MyLibClass lib(fs, d.host("prog/KSNED32.exe"));
    d.mkdir("prog");
    ASSERT_TRUE(WriteIni(lib, "D:\\KSN"));
    // A program "folder" that is a plain file: nobody, not even root, can create a file in it.
    d.write("bin", "not a folder");
    const MyLibClass installed(fs, d.host("bin/KSNED32.exe"));
    d.write("config/ksned32/KSNED32.ini", "[KSNED]\r\nKSN_Folder=C:\\Config\r\n");
    EXPECT_EQ(ReadIni(lib), "D:\\KSN");  // the file beside the program comes first
    EXPECT_EQ(ReadIni(installed), "C:\\Config");
    ASSERT_TRUE(WriteIni(installed, "D:\\KSN"));
    EXPECT_EQ(d.read("config/ksned32/KSNED32.ini"), QByteArray("[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"));
    // Nor is a folder or a read-only file of that name ever replaced.
    d.mkdir(u"sub.ini"_s);
    d.write(u"ro.ini"_s, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(d.host(u"ro.ini"_s), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    for (const char* name : {"sub.ini", "ro.ini"})
        EXPECT_FALSE(profile::WritePrivateProfileString(u"A"_s, u"x"_s, u"2"_s, d.host(q(name)))) << name;
    EXPECT_EQ(d.read(u"ro.ini"_s), QByteArray("[A]\r\nx=1\r\n"));
}

class FileSystemTest : public ::testing::Test {
protected:
    FileSystemTest() : fs(drive.driveMap(), "D:\\") {
        for (const char* f : {"KSN/Express.KSN", "multi/abc.txt", "multi/Abc.txt", "multi/ABC.txt"})
            drive.write(q(f), "x");
    }
    QString host(const char* relative) const {
        return drive.driveMap().root(u'D') + (*relative ? u'/' + q(relative) : QString());
    }

    TempDrive drive;
    FileSystem fs;
};

TEST_F(FileSystemTest, WindowsPathsFindHostFilesWithoutRegardToCase) {
    const char* cases[][2] = {{"d:\\ksn\\EXPRESS.ksn", "KSN/Express.KSN"},
                              // Several entries match: the exact spelling, else the first in name order.
                              {"D:\\multi\\Abc.txt", "multi/Abc.txt"},
                              {"D:\\multi\\aBC.txt", "multi/ABC.txt"},
                              // Missing components stay as written: that is where a new file goes.
                              {"D:\\ksn\\New\\x.KSN", "KSN/New/x.KSN"},
                              {"E:\\a", nullptr}};
    for (const auto& c : cases) EXPECT_EQ(fs.toHost(q(c[0])).value_or("none"), c[1] ? host(c[1]) : "none") << c[0];
}

TEST_F(FileSystemTest, ToWindowsPicksTheDeepestDriveRootThenTheLowestLetter) {
    for (const char* folder : {"sub", "linked"}) drive.mkdir(folder);
    ASSERT_TRUE(QFile::link(host("linked"), host("via-link")));
    DriveMap m;
    for (const auto& [letter, root] : {std::pair{u'F', ""}, {u'D', ""}, {u'E', "sub"}, {u'G', "via-link"}})
        m.set(letter, host(root));  // G: is a root given through a link
    m.set(u'Z', "/");
    const FileSystem f(m, "D:\\");
    const char* cases[][2] = {{"KSN/Express.KSN", "D:\\KSN\\Express.KSN"},
                              {"sub", "E:\\"},
                              {"sub/new/file.KSN", "E:\\new\\file.KSN"},
                              {"linked/a.bmp", "G:\\a.bmp"},
                              {"via-link/a.bmp", "G:\\a.bmp"}};
    for (const auto& c : cases) EXPECT_EQ(f.toWindows(host(c[0])).value_or("refused"), q(c[1])) << c[0];
    EXPECT_EQ(f.toWindows("/"), "Z:\\");
    EXPECT_FALSE(fs.toWindows("/usr/share/a.bmp").has_value());  // under no drive
}

TEST_F(FileSystemTest, FindFilesAndReadFirstLine) {
    for (const char* f : {"b.KSN", "A.ksn", "_z.KSN", "C.Ksn", "c.txt", ".hidden.KSN", "x.KSN.bak", "d.KSN/in.KSN"})
        drive.write("KSN/" + q(f), "x");
    ASSERT_TRUE(QFile::link(drive.host("KSN/b.KSN"), drive.host("KSN/link.KSN")));  // a link to a formation is one
    // Ordinary files in Windows order: names compare as upper case, so "_" (0x5F) follows the letters.
    EXPECT_EQ(fs.findFiles("d:\\ksn\\", "*.KSN"),
              (QStringList{"A.ksn", "b.KSN", "C.Ksn", "Express.KSN", "link.KSN", "_z.KSN"}));
    const QByteArray longLine(700, '\n');  // longer than one read, and a lone LF is text
    drive.write("t.KSN", longLine + "\r\nb");
    EXPECT_EQ(fs.readFirstLine("D:\\T.ksn").bytes, longLine);
    // A listing's file is read from the folder it was found in, as the path would read it.
    const FolderListing listing = fs.listFiles("d:\\ksn", "*.KSN");
    EXPECT_EQ(listing.folder, "d:\\ksn\\");
    EXPECT_EQ(fs.readFirstLine(listing, "b.KSN").bytes, "x");
    EXPECT_FALSE(fs.readFirstLine(listing, "gone.KSN").ok);
}

TEST(Wildcard, StarsAndQuestionMarksMatchWithoutRegardToCase) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {{"Express.ksn", "*.KSN", true}, {"x.KSN.bak", "*.KSN", false}, {".KSN", "*.KSN", true},
                 {"a.KSN", "?.ksn", true},       {"ab.KSN", "?.ksn", false},    {"a.b.KSN", "a*.*N", true},
                 {"特急.ksn", "特*.KSN", true},  {"KSN", "*.KSN", false}};
    for (const auto& c : cases) EXPECT_EQ(winpath::matchesWildcard(q(c.name), q(c.pattern)), c.matches) << c.name;
}

TEST_F(FileSystemTest, ReadFileOrHeadReadsWholeUpToTheLimit) {
    drive.write("pic.bmp", "0123456789");
    const struct {
        qint64 wholeLimit, headBytes;
        const char* bytes;
        bool whole;
    } cases[] = {{10, 4, "0123456789", true}, {9, 4, "0123", false}, {-1, 26, "0123456789", false}};
    for (const auto& c : cases) {
        bool whole = !c.whole;
        const ReadResult r = fs.readFileOrHead("D:\\PIC.bmp", c.wholeLimit, c.headBytes, &whole);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.bytes, QByteArray(c.bytes)) << c.wholeLimit;
        EXPECT_EQ(whole, c.whole) << c.wholeLimit;
    }
}

TEST_F(FileSystemTest, WriteReplacesTheFileUnderAnySpellingAndRefusesAFolder) {
    EXPECT_TRUE(fs.writeFile("d:\\ksn\\EXPRESS.ksn", "new").ok);
    EXPECT_TRUE(fs.writeFile("D:\\ksn\\New.KSN", "n").ok);
    EXPECT_EQ(drive.read("KSN/Express.KSN"), QByteArray("new"));
    EXPECT_EQ(QDir(drive.host("KSN")).entryList(QDir::Files), (QStringList{"Express.KSN", "New.KSN"}));
    for (const char* bad : {"D:\\ksn", "E:\\a.KSN", "D:\\nope\\a.KSN"}) {
        const IoResult r = fs.writeFile(q(bad), "x");
        EXPECT_FALSE(r.ok || r.error.isEmpty()) << bad;
    }
}

TEST_F(FileSystemTest, BitmapSizeComesFromTheHeaderFieldsOnly) {
    drive.write("Cars/car1.bmp", makeBmp(320, -40));
    drive.write("Cars/short25.bmp", makeBmp(7, 9).left(25));  // too short for the height
    drive.mkdir("Cars/folder.bmp");                           // as a missing file or one on no drive: nothing is read
    EXPECT_FALSE(fs.setCurrentDirectory("D:\\none"));         // refused, and the current folder kept
    ASSERT_TRUE(fs.setCurrentDirectory("D:\\Cars"));
    const MyLibClass lib(fs, drive.host("KSNED32.exe"));
    const std::tuple<const char*, std::int32_t, std::int32_t> cases[] = {
        {"d:/cars/CAR1.BMP", 320, -40}, {"short25.bmp", 7, 0}, {"folder.bmp", 0, 0}};
    for (const auto& [path, width, height] : cases)
        EXPECT_EQ(std::pair(lib.GetBMPWidth(q(path)), lib.GetBMPHeight(q(path))), std::pair(width, height)) << path;
}

TEST(Profile, ReadFindsTheValueOrTheDefault) {
    const char* cases[][4] = {
        {"[ksned]\r\nKSN_FOLDER=D:\\KSN\r\n", "KSNED", "KSN_Folder", "D:\\KSN"},
        {"  [ KSNED ]  \r\n\t KSN_Folder \t=  D:\\K S N \t\r\n", "KSNED", "KSN_Folder", "D:\\K S N"},
        {"[A]\r\nx=\"  D:\\KSN \"\r\n", "A", "x", "  D:\\KSN "},
        // The second byte of ゾ is "]": the section line is parsed on characters, not bytes.
        {"[ゾ]\r\nキー=D:\\表示\\ソ\r\n", "ゾ", "キー", "D:\\表示\\ソ"},
        {"[A]\r\n\u3000x=1\r\n", "A", "x", "<default>"}};  // an ideographic space belongs to the name
    for (const auto& c : cases)
        EXPECT_EQ(profile::readValue(sj(c[0]), q(c[1]), q(c[2]), u"<default>"_s, 255), q(c[3])) << c[0];
}

TEST(Profile, WriteChangesOnlyWhatItMust) {
    const char* cases[][5] = {
        {"", "KSNED", "KSN_Folder", "D:\\表示", "[KSNED]\r\nKSN_Folder=D:\\表示\r\n"},
        {"; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder = old \r\nB=2\n\n[Z]\r\nC = 表\r\nend", "KSNED",
         "KSN_Folder", "new", "; 設定\n[Other]\rA = 1\r\n\r\n[KSNED]\nKSN_Folder=new\r\nB=2\n\n[Z]\r\nC = 表\r\nend"},
        {"[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "a", "x", "9", "[A]\r\nx=9\r\n[A]\r\nx=2\r\n"},
        // A new key goes after the section's last key, before blank lines and comments.
        {"[A]\r\nx=1\r\n \t\r\n[B]\r\ny=2\r\n", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n \t\r\n[B]\r\ny=2\r\n"},
        {"[B]\ny=2", "A", "z", "3", "[B]\ny=2\r\n[A]\r\nz=3\r\n"}};
    for (const auto& c : cases) {
        const QByteArray after = profile::withValue(sj(c[0]), q(c[1]), q(c[2]), q(c[3]));
        EXPECT_EQ(after, sj(c[4])) << c[0];
        EXPECT_EQ(profile::readValue(after, q(c[1]), q(c[2]), u"<default>"_s, 255), q(c[3])) << c[0];
    }
    // 0xED40 decodes to a character that encodes as 0xFA5C, and 0x80 0xFF are no text at all:
    // lines other than the written one must never pass through the converter.
    EXPECT_EQ(profile::withValue("[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=old\r\n", u"KSNED"_s,
                                 u"KSN_Folder"_s, u"new"_s),
              QByteArray("[Other]\r\nA=\xED\x40\x80\xFF\r\n[KSNED]\r\nKSN_Folder=new\r\n"));
}

}  // namespace
}  // namespace ksn
