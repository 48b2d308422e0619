// Drive letters onto host folders, the file-system object over them, the settings file's place and
// the car bitmaps' headers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <climits>
#include <optional>
#include <vector>

#include "support/mylib.h"
#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "support/settings/settingsfile.h"
#include "testkit/envguard.h"
#include "testkit/tempdrive.h"

namespace ksn {
namespace {

using test::EnvGuard;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(DriveMap, ParseReadsLettersAndRootsOrNamesTheBadEntry) {
    const char* cases[][2] = {{" d:=/mnt/d ; c:=/srv/c ;", "C:=/srv/c;D:=/mnt/d"},
                              {"C:=/a;c:=/b", "C:=/b"},
                              {"", ""},
                              {"C:=/srv/c;D=/mnt/d", nullptr},
                              {"C:=", nullptr},
                              {"1:=/x", nullptr},
                              {"CD:=/x", nullptr}};
    for (const auto& c : cases) {
        QString error;
        const auto m = DriveMap::parse(q(c[0]), &error);
        EXPECT_EQ(m ? m->toString() : q("refused"), c[1] ? q(c[1]) : q("refused")) << error.toStdString();
        // The message names the entry at fault; what toString writes, parse reads back unchanged.
        EXPECT_TRUE(m ? DriveMap::parse(m->toString())->drives() == m->drives()
                      : error.contains(q(c[0]).split(u';').last()))
            << c[0];
    }
}

// A Wine prefix laid out as Wine makes it, in the home folder.
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
    qunsetenv("KSNED_DRIVES");
    qputenv("WINEPREFIX", "/nonexistent");  // a prefix named outright comes before the home folder's
    EXPECT_EQ(DriveMap::detect().toString(), "Z:=/");
    qunsetenv("WINEPREFIX");
    for (const char* drives : {"C:=/srv/c", "C=/srv/c", "  "}) {  // a malformed or blank variable is passed over
        qputenv("KSNED_DRIVES", drives);
        EXPECT_EQ(DriveMap::detect().root(u'C'), drives[1] == ':' ? q("/srv/c") : prefix + "/drive_c") << drives;
    }
}

TEST(Settings, FileBesideTheProgramFirstThenTheConfigFolder) {
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
}

// Drive D: holding a few formation folders and car bitmaps, the current directory D:\.
class FileSystemTest : public ::testing::Test {
protected:
    FileSystemTest() : fs(drive.driveMap(), "D:\\") {
        for (const char* f :
             {"KSN/Express.KSN", "Cars/car1.bmp", "表示/ソフト.bmp", "multi/abc.txt", "multi/Abc.txt", "multi/ABC.txt"})
            drive.write(q(f), "x");
    }
    // The host path toHost should give: the mapped (canonical) root, then relative.
    QString host(const char* relative) const {
        return drive.driveMap().root(u'D') + (*relative ? u'/' + q(relative) : QString());
    }

    TempDrive drive;
    FileSystem fs;
};

TEST_F(FileSystemTest, WindowsPathsFindHostFilesWithoutRegardToCase) {
    const char* cases[][2] = {{"d:\\ksn\\EXPRESS.ksn", "KSN/Express.KSN"},
                              {"KSN\\.\\Express.KSN", "KSN/Express.KSN"},
                              {"D:/cars/CAR1.BMP", "Cars/car1.bmp"},
                              {"D:\\表示\\ソフト.BMP", "表示/ソフト.bmp"},
                              // Several entries match: the exact spelling, else the first in name order.
                              {"D:\\multi\\Abc.txt", "multi/Abc.txt"},
                              {"D:\\multi\\aBC.txt", "multi/ABC.txt"},
                              // Missing components stay as written: that is where a new file goes.
                              {"D:\\ksn\\New\\x.KSN", "KSN/New/x.KSN"},
                              {"D:\\", ""},
                              {"\\\\srv\\sh\\a", nullptr},
                              {"E:\\a", nullptr}};
    for (const auto& c : cases) EXPECT_EQ(fs.toHost(q(c[0])).value_or("none"), c[1] ? host(c[1]) : "none") << c[0];

    const std::pair<const char*, int> exist[] = {// 1: a file, 2: a folder
                                                 {"ksn\\Express.KSN", 1},
                                                 {"D:\\KSN\\", 2},
                                                 {"D:\\KSN\\Express.KSN\\x", 0},
                                                 {"", 0},
                                                 {"E:\\KSN", 0}};
    for (const auto& [path, kind] : exist)
        EXPECT_EQ(std::pair(fs.FileExists(q(path)), fs.FolderExists(q(path))), std::pair(kind == 1, kind == 2)) << path;
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
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(f.toWindows(host(c[0]), &error).value_or("refused: " + error), q(c[1])) << c[0];
    }
    EXPECT_EQ(f.toWindows("/"), "Z:\\");
    EXPECT_FALSE(fs.toWindows("/usr/share/a.bmp").has_value());  // under no drive
}

TEST_F(FileSystemTest, FindFilesAndReadFirstLine) {
    for (const char* f : {"b.KSN", "A.ksn", "_z.KSN", "C.Ksn", "c.txt", ".hidden.KSN", "x.KSN.bak", "d.KSN/in.KSN"})
        drive.write("KSN/" + q(f), "x");
    // Ordinary files in Windows order: names compare as upper case, so "_" (0x5F) follows the letters.
    EXPECT_EQ(fs.findFiles("d:\\ksn\\", "*.KSN"), (QStringList{"A.ksn", "b.KSN", "C.Ksn", "Express.KSN", "_z.KSN"}));
    const QByteArray longLine(700, '\n');  // longer than one read, and a lone LF is text
    drive.write("t.KSN", longLine + "\r\nb");
    EXPECT_EQ(fs.readFirstLine("D:\\T.ksn").bytes, longLine);
    EXPECT_FALSE(fs.readFirstLine("D:\\none.KSN").ok);
}

TEST_F(FileSystemTest, WriteReplacesTheFileUnderAnySpellingAndRefusesAFolder) {
    EXPECT_TRUE(fs.writeFile("d:\\ksn\\EXPRESS.ksn", "new").ok);
    EXPECT_TRUE(fs.writeFile("D:\\ksn\\New.KSN", "n").ok);
    EXPECT_EQ(drive.read("KSN/Express.KSN"), QByteArray("new"));
    EXPECT_EQ(QDir(drive.host("KSN")).entryList(QDir::Files), (QStringList{"Express.KSN", "New.KSN"}));
    for (const char* bad : {"D:\\ksn", "E:\\a.KSN", "\\\\srv\\sh\\a.KSN", "D:\\nope\\a.KSN"}) {
        const IoResult r = fs.writeFile(q(bad), "x");
        EXPECT_FALSE(r.ok || r.error.isEmpty()) << bad;
    }
    EXPECT_TRUE(QFileInfo(drive.host("KSN")).isDir());
}

TEST_F(FileSystemTest, BitmapSizeComesFromTheHeaderFieldsOnly) {
    QByteArray odd(26, '\0');  // no "BM", extreme values: only the two fields are read
    odd.replace(18, 8, QByteArray("\xFF\xFF\xFF\xFF\x00\x00\x00\x80", 8));
    drive.write("Cars/car1.bmp", test::makeBmp(320, -40));
    drive.write("Cars/odd.bmp", odd);
    drive.write("Cars/short25.bmp", test::makeBmp(7, 9).left(25));
    drive.write("Cars/empty.bmp", {});
    drive.mkdir("Cars/folder.bmp");
    ASSERT_TRUE(fs.setCurrentDirectory("D:\\Cars"));
    const MyLibClass lib(fs, drive.host("KSNED32.exe"));
    const struct {
        const char* path;
        std::int32_t width, height;
    } cases[] = {{"d:/cars/CAR1.BMP", 320, -40},
                 {"odd.bmp", -1, INT_MIN},
                 {"short25.bmp", 7, 0},  // too short for the height
                 {"empty.bmp", 0, 0},
                 {"folder.bmp", 0, 0},
                 {"missing.bmp", 0, 0},
                 {"E:\\car1.bmp", 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(lib.GetBMPWidth(q(c.path)), lib.GetBMPHeight(q(c.path))), std::pair(c.width, c.height))
            << c.path;
    EXPECT_FALSE(QFileInfo::exists(drive.host("Cars/missing.bmp")));
}

}  // namespace
}  // namespace ksn
