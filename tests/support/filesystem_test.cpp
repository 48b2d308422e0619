#include "filesystem.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ostream>

#include "cp932.h"
#include "tempdrive.h"

[[maybe_unused]] static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace ksn {
namespace {

using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

// Drive D: holding a few formation folders, the current directory D:\.
class FileSystemTest : public ::testing::Test {
  protected:
    FileSystemTest() : fs(drive.driveMap(), q("D:\\")) {
        for (const char* f : {"KSN/Express.KSN", "Cars/car1.bmp", "表示/ソフト.bmp", "multi/abc.txt",
                              "multi/Abc.txt", "multi/ABC.txt"})
            drive.write(q(f), "x");
    }
    // The host path toHost should give: the mapped (canonical) root, then relative.
    QString host(const QString& relative) const {
        const QString root = drive.driveMap().root(u'D');
        return relative.isEmpty() ? root : root + u'/' + relative;
    }

    TempDrive drive;
    FileSystem fs;
};

TEST_F(FileSystemTest, ToHostFollowsTheComponentsWithoutRegardToCase) {
    const struct {
        const char* win;
        const char* host;  // relative to the drive root; nullptr: names nothing
    } cases[] = {{"D:\\KSN\\Express.KSN", "KSN/Express.KSN"},
                 {"d:\\ksn\\EXPRESS.ksn", "KSN/Express.KSN"},
                 {"D:/cars/CAR1.BMP", "Cars/car1.bmp"},
                 {"KSN\\.\\Express.KSN", "KSN/Express.KSN"},
                 {"D:\\表示\\ソフト.BMP", "表示/ソフト.bmp"},
                 // Several entries match: the exact spelling, else the first in name order.
                 {"D:\\multi\\Abc.txt", "multi/Abc.txt"},
                 {"D:\\multi\\aBC.txt", "multi/ABC.txt"},
                 // Missing components stay as written: that is where a new file goes.
                 {"D:\\ksn\\New\\x.KSN", "KSN/New/x.KSN"},
                 {"D:\\Missing\\SUB\\a", "Missing/SUB/a"},
                 {"D:\\", ""},
                 {"\\\\srv\\sh\\a", nullptr},
                 {"E:\\a", nullptr}};
    for (const auto& c : cases)
        EXPECT_EQ(fs.toHost(q(c.win)).value_or(q("none")), c.host ? host(q(c.host)) : q("none")) << c.win;
}

TEST_F(FileSystemTest, FilesAndFoldersExistUnderAnySpelling) {
    const struct {
        QString path;
        bool file, folder;
    } cases[] = {{q("D:\\KSN\\express.ksn"), true, false},
                 {q("ksn\\Express.KSN"), true, false},
                 {q("D:\\ksn"), false, true},
                 {q("D:\\KSN\\"), false, true},
                 {q("D:\\"), false, true},
                 {q("D:\\KSN\\Express.KSN\\x"), false, false},
                 // Decoded from bytes whose second halves are 0x5C: split after decoding, the path holds.
                 {cp932::decode("D:\\\x95\x5C\x8E\xA6\\\x83\x5C\x83\x74\x83\x67.bmp"), true, false},
                 {q(""), false, false},
                 {q("E:\\KSN"), false, false},
                 {q("\\\\srv\\sh\\KSN"), false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(fs.FileExists(c.path), c.file) << c.path.toStdString();
        EXPECT_EQ(fs.FolderExists(c.path), c.folder) << c.path.toStdString();
    }
}

TEST_F(FileSystemTest, CurrentDirectoryMovesOnlyToExistingFolders) {
    EXPECT_FALSE(fs.setCurrentDirectory(q("D:\\nope")));
    EXPECT_FALSE(fs.setCurrentDirectory(q("D:\\KSN\\Express.KSN")));
    EXPECT_EQ(fs.currentDirectory(), q("D:\\"));
    EXPECT_TRUE(fs.setCurrentDirectory(q("d:/ksn/")));
    EXPECT_EQ(fs.currentDirectory(), q("d:\\ksn"));
    EXPECT_TRUE(fs.FileExists(q("express.ksn")));
    EXPECT_TRUE(fs.FileExists(q("..\\Cars\\car1.bmp")));
    EXPECT_EQ(fs.GetAbsolutePathName(q("a.bmp")), q("d:\\ksn\\a.bmp"));
}

TEST(FileSystem, StartsInTheHostWorkingDirectoryOrTheFirstDrive) {
    DriveMap root;
    root.set(u'Z', q("/"));
    EXPECT_EQ(FileSystem(root).currentDirectory(),
              q("Z:") + QDir::current().canonicalPath().replace(u'/', u'\\'));

    TempDrive d(u'E');
    DriveMap other = d.driveMap();
    other.set(u'F', d.hostRoot());
    EXPECT_EQ(FileSystem(other).currentDirectory(), q("E:\\"));
    EXPECT_EQ(FileSystem(other, q("f:/a/./b/")).currentDirectory(), q("f:\\a\\b"));
}

TEST_F(FileSystemTest, ToWindowsPicksTheDeepestDriveRootThenTheLowestLetter) {
    drive.mkdir(q("sub"));
    drive.mkdir(q("linked"));
    ASSERT_TRUE(QFile::link(host(q("linked")), host(q("via-link"))));
    DriveMap m;
    m.set(u'F', host(q("")));
    m.set(u'D', host(q("")));
    m.set(u'E', host(q("sub")));
    m.set(u'G', host(q("via-link")));  // a root given through a link
    m.set(u'Z', q("/"));
    const FileSystem f(m, q("D:\\"));
    const struct {
        QString host;
        const char* win;
    } cases[] = {{host(q("")), "D:\\"},
                 {host(q("KSN/Express.KSN")), "D:\\KSN\\Express.KSN"},
                 {host(q("sub")), "E:\\"},
                 {host(q("sub/new/file.KSN")), "E:\\new\\file.KSN"},
                 {host(q("linked/a.bmp")), "G:\\a.bmp"},
                 {host(q("via-link/a.bmp")), "G:\\a.bmp"},
                 {q("/"), "Z:\\"}};
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(f.toWindows(c.host, &error).value_or(q("refused: ") + error), q(c.win))
            << c.host.toStdString();
    }
    // And back: the Windows form names the same host file.
    EXPECT_EQ(f.toHost(q("E:\\new\\file.KSN")), host(q("sub/new/file.KSN")));

    QString error;
    EXPECT_FALSE(fs.toWindows(q("/usr/share/a.bmp"), &error).has_value());
    EXPECT_TRUE(error.contains(q("/usr/share/a.bmp")));
}

TEST_F(FileSystemTest, FullFileNameAndFolderPath) {
    ASSERT_TRUE(fs.setCurrentDirectory(q("D:\\KSN")));
    const struct {
        const char* folder;
        const char* name;
        const char* full;
    } full[] = {{"C:\\trains", "car1.bmp", "C:\\trains\\car1.bmp"},
                {"C:\\trains\\", "car1.bmp", "C:\\trains\\car1.bmp"},
                {"C:\\trains", "D:\\cars\\car1.bmp", "D:\\cars\\car1.bmp"},
                {"C:\\trains", "car1", "car1"},
                {"C:\\trains", "EC\\car1.bmp", "EC\\car1.bmp"}};
    for (const auto& c : full) EXPECT_EQ(fs.GetFullFileName(q(c.folder), q(c.name)), q(c.full)) << c.name;

    const struct {
        const char* path;
        const char* folder;
    } folders[] = {{"C:\\trains\\a.ksn", "C:\\trains\\"},
                   {"C:/trains/a.ksn", "C:\\trains\\"},
                   {"a.ksn", "D:\\KSN\\"},
                   {"..\\x\\a.ksn", "D:\\x\\"},
                   {"C:\\a.ksn", "C:\\"},
                   {"C:\\trains\\", "C:\\trains\\"},
                   {"C:\\trains\\a.ksn. ", "C:\\trains\\"},
                   {"\\\\srv\\sh\\a.ksn", "\\\\srv\\sh\\"},
                   {"\\\\srv\\sh", "\\\\srv\\sh\\"}};
    for (const auto& c : folders) EXPECT_EQ(fs.GetFolderPath(q(c.path)), q(c.folder)) << c.path;
}

TEST_F(FileSystemTest, FindFilesListsOrdinaryFilesInWindowsOrder) {
    for (const char* f :
         {"b.KSN", "A.ksn", "_z.KSN", "C.Ksn", "c.txt", ".hidden.KSN", "x.KSN.bak", "d.KSN/in.KSN"})
        drive.write(q("KSN/") + q(f), "x");
    // Names compare as upper case, so "_" (0x5F) follows the letters.
    const QStringList expected{q("A.ksn"), q("b.KSN"), q("C.Ksn"), q("Express.KSN"), q("_z.KSN")};
    EXPECT_EQ(fs.findFiles(q("d:\\ksn"), q("*.KSN")), expected);
    EXPECT_EQ(fs.findFiles(q("D:\\KSN\\"), q("*.ksn")), expected);
    EXPECT_TRUE(fs.findFiles(q("D:\\nope"), q("*.KSN")).isEmpty());
    EXPECT_TRUE(fs.findFiles(q("E:\\KSN"), q("*.KSN")).isEmpty());
}

TEST_F(FileSystemTest, ReadFirstLineStopsAtTheFirstCarriageReturn) {
    const QByteArray longLine(700, 'x');  // longer than one read
    const QByteArray cases[][2] = {{"Title\r\nsnd.wav\r\n", "Title"},
                                   {"Title", "Title"},
                                   {"a\nb\rc", "a\nb"},
                                   {longLine + "\r\n", longLine}};
    for (const auto& c : cases) {
        drive.write(q("t.KSN"), c[0]);
        EXPECT_EQ(fs.readFirstLine(q("D:\\T.ksn")).bytes, c[1]);
    }
    const ReadResult missing = fs.readFirstLine(q("D:\\none.KSN"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(q("D:\\none.KSN")));
}

TEST_F(FileSystemTest, WriteReplacesTheFileUnderAnySpellingAndRefusesAFolder) {
    EXPECT_TRUE(fs.writeFile(q("d:\\ksn\\EXPRESS.ksn"), "new").ok);
    EXPECT_EQ(drive.read(q("KSN/Express.KSN")), QByteArray("new"));
    EXPECT_EQ(QDir(drive.host(q("KSN"))).entryList(QDir::Files), QStringList{q("Express.KSN")});

    EXPECT_TRUE(fs.writeFile(q("D:\\ksn\\New.KSN"), "n").ok);
    EXPECT_EQ(drive.read(q("KSN/New.KSN")), QByteArray("n"));

    for (const char* bad : {"D:\\ksn", "E:\\a.KSN", "\\\\srv\\sh\\a.KSN", "D:\\nope\\a.KSN"}) {
        const IoResult r = fs.writeFile(q(bad), "x");
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_FALSE(r.error.isEmpty()) << bad;
    }
    EXPECT_TRUE(QFileInfo(drive.host(q("KSN"))).isDir());
}

}  // namespace
}  // namespace ksn
