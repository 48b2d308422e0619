// What arrives from forums and archives: none crashes, hangs or loses a byte the user did not change.
#include "document/ksnclass.h"
#include "document/messages.h"
#include "document/trainlayout.h"
#include "fixture.h"
#include "support/settings/profile.h"
#include "support/settings/settingsfile.h"

#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <future>

namespace ksn {
namespace {

using BadInputTest = test::EditorFixture;

TEST_F(BadInputTest, FormationFilesLoadWithTheExpectedRowsAndWarnings) {
    const QByteArray cut = cp932::encode(u"特急"_s).chopped(1), nul("T\0itle\r\n\0\r\ncar\0.bmp\r\n", 21);
    // warns: "will change when saved", and the batch leaves the file; rows -1: any up to the limit.
    const std::tuple<const char*, QByteArray, qsizetype, bool> cases[] = {
        {"empty file", QByteArray(), 2, false},
        {"a bitmap named .KSN", makeBmp(64, 64, 0x80FF00), -1, true},
        {"10 MB single line", QByteArray(10 << 20, 'x'), 2, false},
        {"NUL bytes", nul, 3, false},
        {"invalid Shift-JIS", QByteArray("\x80\x81\xFF\r\n \r\n"), 2, true},
        {"cut Shift-JIS", cut + "\r\n \r\n", 2, true},
    };
    for (const auto& [name, bytes, rows, warns] : cases) {
        SCOPED_TRACE(name);
        modal.clear();
        ASSERT_TRUE(loadBytes(bytes));
        EXPECT_EQ(editor.rows().size(),
                  rows < 0 ? std::min<qsizetype>(editor.rows().size(), kMaxFormationLines) : rows);
        EXPECT_EQ(modal.messageTexts().join(u'\n').contains(u"Shift-JIS"_s), warns);
        QString folder = state.DefaultFolder;
        EXPECT_EQ(editor.RewriteFolder(folder).failed, warns ? QStringList{u"t.KSN"_s} : QStringList());
        EXPECT_EQ(warns ? ksn(u"t.KSN"_s) : bytes, bytes);  // a file it warned about is left alone
    }
    ASSERT_TRUE(loadBytes(nul));  // a NUL inside a line survives a save byte for byte
    editor.setSaveMode(SaveMode::AsInFile);
    editor.RefreshCarList();
    EXPECT_EQ(editor.currentFileBytes(), nul);
}

TEST_F(BadInputTest, UnreadableFormationIsReportedAndTheDocumentKept) {
    ASSERT_TRUE(load({"Kept", " ", "car.bmp"}));
    drive.write(u"KSN/huge.KSN"_s, {});  // sparse: a terabyte on no disk, which no read may try to hold
    ASSERT_TRUE(QFile::resize(drive.host(u"KSN/huge.KSN"_s), qint64(1) << 40));
    editor.document().setCurrentFilePath(u"huge.KSN"_s);
    EXPECT_FALSE(editor.LoadCurrentFile());
    EXPECT_EQ(std::pair(editor.rows().value(0), modal.messages.back().text.contains(u"File= D:\\KSN\\huge.KSN"_s)),
              std::pair(u"Kept"_s, true));
    EXPECT_TRUE(modal.messages.back().text.contains(u"大きすぎます"_s)) << modal.messages.back().text.toStdString();
}

TEST_F(BadInputTest, AFolderOf1030FormationsLists1024WithOneMessage) {
    for (int i = 0; i < 1030; ++i) drive.write(u"many/%1.KSN"_s.arg(i, 4, 10, QChar(u'0')), "t\r\n");
    QString folder = u"D:\\many\\"_s;
    editor.ScanFolder(folder);  // sorted; the folder, one "\\" less, made current
    EXPECT_EQ(std::pair(folder, state.fso.currentDirectory()), std::pair(u"D:\\many"_s, u"D:\\many"_s));
    EXPECT_EQ(editor.trainItems().size(), kMaxFormationFiles);
    EXPECT_EQ(editor.document().FormationFileNames()[1023].fileName, u"1023.KSN"_s);
    EXPECT_EQ(modal.messageTexts(),
              QStringList{u"ﾃﾞｨﾚｸﾄﾘに1024以上のファイルが存在します。以後のファイルは無視します"_s});
}

// A header without a usable size gives no place; missing or undecodable pixels, a place and no picture.
TEST_F(BadInputTest, BrokenBitmapsGiveAnEmptyPlaceOrNone) {
    // An OS/2 bitmap: a 12-byte core header, whose two 16-bit sizes read as one absurd 32-bit width.
    const QByteArray os2 =
        QByteArray::fromHex("424d00000000000000001a0000000c0000000200010001001800") + QByteArray(8, '\x7F');
    const QByteArray bmp = makeBmp(100, 40), far = QByteArray(bmp).replace(10, 4, "\xFF\xFF\xFF\x7F");
    const std::tuple<const char*, QByteArray, QSize, bool> cases[] = {
        {"good", bmp, {100, 40}, true},
        {"shorter than 26 bytes", bmp.left(25), {}, false},
        {"INT_MIN", sized(bmp, INT_MIN, INT_MIN), {}, false},
        {"largest side, no pixels", sized("BM", 32767, 40), {32767, 40}, false},
        {"one past the largest side", sized("BM", 32768, 40), {}, false},
        {"30000 x 30000, pixels missing", sized(makeBmp(1, 1), 30000, 30000), {30000, 30000}, false},
        {"pixels cut short", bmp.left(200), {100, 40}, true},  // what was read is shown
        {"OS/2 header", os2, {}, false},
        {"pixels said to start 2 GB on", far, {100, 40}, false},
    };
    for (const auto& [name, bytes, place, picture] : cases) {
        drive.write(u"KSN/bad.bmp"_s, bytes);
        const CarPicture p = loadCarPicture(state.fso, u"D:\\KSN\\bad.bmp"_s);
        EXPECT_EQ(std::pair(p.size(), !p.image.isNull()), std::pair(place, picture)) << name;
    }
    // Of pixels cut short, the rows read keep their colour (rows are stored bottom first) and the
    // rows missing are black, never what memory held before: in the 24-bit decoder and in Qt's
    // reader (an 8-bit bitmap whose palette's first entry is black).
    QByteArray eight = bmp.left(54) + QByteArray(4, '\0') + QByteArray::fromHex("99663300") + QByteArray(1016, '\0');
    const auto field = [&](int at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) eight[at + k] = char(v >> (8 * k) & 0xFF);
    };
    field(10, 54 + 1024);
    eight[28] = 8;
    eight += QByteArray(500, '\x01');  // five rows of the palette's second colour
    for (const QByteArray& cut : {bmp.left(200), eight}) {
        drive.write(u"KSN/cut.bmp"_s, cut);
        const QImage image = loadCarPicture(state.fso, u"D:\\KSN\\cut.bmp"_s).image;
        ASSERT_EQ(image.size(), QSize(100, 40));
        EXPECT_EQ(std::pair(image.pixel(50, 0) & 0xFFFFFF, image.pixel(1, 39) & 0xFFFFFF), std::pair(0u, 0x336699u));
    }
    // A file too long to decode keeps the place its header gives.
    drive.write(u"KSN/bad.bmp"_s, bmp);
    ASSERT_TRUE(QFile::resize(drive.host(u"KSN/bad.bmp"_s), kMaxCarFileBytes + 1));  // sparse: costs no disk
    const CarPicture p = loadCarPicture(state.fso, u"D:\\KSN\\bad.bmp"_s);
    EXPECT_TRUE(p.size() == QSize(100, 40) && p.image.isNull());
    // Headers alone may claim a train no memory holds: it is not drawn.
    drive.write(u"KSN/huge.bmp"_s, sized("BM", 32767, 32767));
    const auto strip = buildTrainStrip({u"T"_s, u" "_s, u"huge.bmp"_s}, state.DefaultFolder, state.fso);
    EXPECT_TRUE(strip && strip->totalWidth == 32767 && renderTrainStrip(*strip).isNull());
}

// Runs work for at most five seconds: a read waiting on a named pipe fails the test (the pipes are then
// opened for writing to let it end) instead of hanging it.
bool finishesInTime(const std::function<void()>& work, const QStringList& pipes) {
    std::future<void> done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
    for (int round = 0; round < 100; ++round) {
        for (const QString& p : pipes)
            if (const int fd = ::open(QFile::encodeName(p).constData(), O_RDWR | O_NONBLOCK); fd >= 0) ::close(fd);
        if (done.wait_for(std::chrono::milliseconds(50)) == std::future_status::ready) return false;
    }
    std::fprintf(stderr, "a read still waits on a named pipe or a device\n");
    std::abort();
}

// Every reader refuses pipes and devices without opening them, and takes a folder for no file.
TEST_F(BadInputTest, PipesAndDevicesAreNoFilesAndNothingWaitsOnThem) {
    drive.write(u"KSN/cars/a.bmp"_s, makeBmp(30, 20));
    drive.write(u"KSN/real.KSN"_s, ksnBytes({"Real"}));
    drive.special(u"KSN/cars/pipe.bmp"_s);
    drive.special(u"KSN/cars/link.bmp"_s, drive.host(u"KSN/cars/pipe.bmp"_s));
    drive.special(u"KSN/cars/zero.bmp"_s, u"/dev/zero"_s);
    drive.special(u"KSN/pipe.KSN"_s);
    drive.special(u"KSN/link.KSN"_s, drive.host(u"KSN/pipe.KSN"_s));
    drive.special(u"KSN/kernel.KSN"_s, u"/proc/self/pagemap"_s);  // regular to stat, endless to read
    drive.mkdir(u"KSN/x.KSN"_s);                                  // folders named like a formation and a car
    drive.mkdir(u"KSN/cars.bmp"_s);
    const QStringList specials{u"D:\\KSN\\cars\\pipe.bmp"_s, u"D:\\KSN\\cars\\zero.bmp"_s,
                               u"D:\\KSN\\cars\\link.bmp"_s};
    const QStringList lines = QStringList{u"Odd"_s, specials[0], u"D:\\KSN\\cars\\a.bmp"_s} + specials;
    const auto work = [&] {
        ASSERT_TRUE(load(lines));
        EXPECT_EQ(modal.messageTexts().join(u'\n').count(u"Line="_s), 3);  // the height check: each 0
        const auto strip = buildTrainStrip(lines, state.DefaultFolder, state.fso);
        ASSERT_TRUE(strip);
        EXPECT_EQ(std::tuple(strip->cars[0].placed, strip->cars[1].found, strip->cars[2].found, strip->cars[3].found,
                             strip->height),
                  std::tuple(true, false, false, false, 20));
        EXPECT_FALSE(buildCarView(editor.document().FormationLines(), 3, state.DefaultFolder, state.fso).found);
        const KSNClass train(state.fso, modal);
        for (const QString& path : specials + QStringList{u"D:\\KSN\\pipe.KSN"_s, u"D:\\KSN\\kernel.KSN"_s}) {
            SCOPED_TRACE(path.toStdString());
            EXPECT_TRUE(loadCarPicture(state.fso, path).size().isEmpty());
            EXPECT_THROW(train.CheckKindFromImage(path), DivisionByZeroError);
            EXPECT_FALSE(state.fso.FileExists(path));
            const ReadResult r = state.fso.readFile(path);
            EXPECT_TRUE(!r.ok && r.error.contains(u"通常のファイルではありません"_s)) << r.error.toStdString();
            EXPECT_FALSE(state.fso.readFirstLine(path).ok);
        }
        QString folder = state.DefaultFolder;
        editor.ScanFolder(folder);
        EXPECT_EQ(editor.trainItems(), (QStringList{u"Real"_s, u"Odd"_s}));
        for (const char* name : {"pipe.KSN", "link.KSN", "x.KSN", "kernel.KSN"}) {
            editor.document().setCurrentFilePath(QString::fromUtf8(name));
            EXPECT_FALSE(editor.LoadCurrentFile());
        }
        // Nor is a pipe a settings file: it is left as it is, not replaced by one.
        EXPECT_FALSE(profile::WritePrivateProfileString(u"KSNED"_s, u"K"_s, u"v"_s, drive.host(u"KSN/pipe.KSN"_s)));
        EXPECT_FALSE(QFileInfo(drive.host(u"KSN/pipe.KSN"_s)).isFile());
        for (const char* name : {"x.KSN", "cars.bmp"}) {  // folders are never dropped
            editor.DropFile(u"D:\\KSN\\"_s + QLatin1String(name));
            EXPECT_EQ(modal.messages.back().text,
                      u"対応していない拡張子のファイルがドラッグ＆ドロップされました。File=D:\\KSN\\"_s + name);
        }
    };
    EXPECT_TRUE(finishesInTime(work, {drive.host(u"KSN/cars/pipe.bmp"_s), drive.host(u"KSN/pipe.KSN"_s)}));
}

// A link unpacked from an archive may lead to any file: the batch rewrites none through one.
TEST_F(BadInputTest, TheBatchWritesNoFileThroughALink) {
    const QByteArray notes("a\r\n\r\nkept only here\r\n");
    drive.write(u"notes.txt"_s, notes);
    drive.special(u"KSN/evil.KSN"_s, drive.host(u"notes.txt"_s));
    QString folder = state.DefaultFolder;
    EXPECT_EQ(editor.RewriteFolder(folder).failed, QStringList{u"evil.KSN"_s});
    EXPECT_EQ(std::pair(drive.read(u"notes.txt"_s), modal.messageTexts()),
              std::pair(notes, QStringList{msg::linkNotRewritten(u"D:\\KSN\\evil.KSN"_s)}));
}

TEST_F(BadInputTest, SettingsFilesGiveTheFirstUsableFolderOrNone) {
    const std::tuple<const char*, QByteArray, QString> cases[] = {
        {"duplicate sections", "[KSNED]\r\nKSN_Folder=D:\\A\r\n[ksned]\r\nKSN_Folder=D:\\B\r\n", u"D:\\A"_s},
        {"300-character value", "[KSNED]\r\nKSN_Folder=" + QByteArray(300, 'a') + "\r\n", QString(254, u'a')},
    };
    for (const auto& [name, bytes, folder] : cases) {
        drive.write(u"bin/ksned32.ini"_s, bytes);
        EXPECT_EQ(ReadIni(state.lib), folder) << name;
    }
}

}  // namespace
}  // namespace ksn
