// What arrives from old machines, forums and archives: each bad input has an expected outcome, and
// none crashes, hangs or loses a byte the user did not mean to change.
#include "cp932.h"
#include "editor.h"
#include "scripted_modal.h"
#include "tempdrive.h"
#include "trainlayout.h"

#include <gtest/gtest.h>

#include <QFile>

#include <climits>
#include <unistd.h>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::ScriptedModal;
using test::TempDrive;

class BadInputTest : public ::testing::Test {
protected:
    BadInputTest() : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\KSN")), drive.host(QStringLiteral("bin/ksned32"))), editor(state, modal) {
        state.DefaultFolder = QStringLiteral("D:\\KSN");
        drive.mkdir(QStringLiteral("KSN"));
    }
    bool load(const QByteArray& bytes) {
        drive.write(QStringLiteral("KSN/in.KSN"), bytes);
        state.CurrentFilePath = QStringLiteral("in.KSN");
        return editor.LoadCurrentFile();
    }

    TempDrive drive;
    ScriptedModal modal;
    Ksned state;
    Editor editor;
};

TEST_F(BadInputTest, FormationFilesLoadWithTheExpectedRowsAndWarnings) {
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) binary += char((i * 7919) & 0xFF);
    const QByteArray tenMegabytes(10 << 20, 'x');
    QByteArray cut = cp932::encode(QStringLiteral("特急"));
    cut.chop(1);
    const struct {
        const char* name;
        QByteArray bytes;
        int rows;           // rows listed; -1: do not check
        bool warnsEncoding;  // the "will change when saved" warning
    } cases[] = {
        {"empty file", QByteArray(), 2, false},
        {"binary file", binary, -1, true},
        {"10 MB single line", tenMegabytes, 2, false},
        {"NUL bytes", QByteArray("T\0itle\r\n\0\r\ncar\0.bmp\r\n", 21), 3, false},
        {"invalid Shift-JIS", QByteArray("\x80\x81\xFF\r\n \r\n"), 2, true},
        {"cut Shift-JIS", cut + "\r\n \r\n", 2, true},
    };
    for (const auto& c : cases) {
        modal.clear();
        ASSERT_TRUE(load(c.bytes)) << c.name;
        if (c.rows >= 0) {
            EXPECT_EQ(editor.rows().size(), c.rows) << c.name;
        }
        EXPECT_LE(editor.rows().size(), kMaxFormationLines) << c.name;
        const bool warned = modal.messageTexts().join(u'\n').contains(QStringLiteral("Shift-JIS"));
        EXPECT_EQ(warned, c.warnsEncoding) << c.name;
    }
    // A NUL inside a line survives a save byte for byte.
    load(QByteArray("T\0itle\r\n\0\r\ncar\0.bmp\r\n", 21));
    editor.setSaveMode(SaveMode::AsInFile);
    editor.RefreshCarList();
    EXPECT_EQ(editor.currentFileBytes(), QByteArray("T\0itle\r\n\0\r\ncar\0.bmp\r\n", 21));
}

TEST_F(BadInputTest, FoldersNamedLikeFormationsAreNeitherListedNorLoaded) {
    drive.mkdir(QStringLiteral("KSN/x.KSN"));
    drive.write(QStringLiteral("KSN/real.KSN"), ksnBytes({"Real"}));
    QString folder = state.DefaultFolder;
    editor.ScanFolder(folder);
    EXPECT_EQ(editor.trainItems(), QStringList{QStringLiteral("Real")});
    state.CurrentFilePath = QStringLiteral("x.KSN");
    EXPECT_FALSE(editor.LoadCurrentFile());
    EXPECT_EQ(modal.messages.back().title, QStringLiteral("Not found"));
    // Dropped, a folder is no formation, sound or car whatever its name ends with.
    for (const char* name : {"x.KSN", "cars.bmp", "plain"}) {
        drive.mkdir(QStringLiteral("KSN/") + QLatin1String(name));
        editor.DropFile(QStringLiteral("D:\\KSN\\") + QLatin1String(name));
        EXPECT_TRUE(modal.messages.back().text.startsWith(QStringLiteral("対応していない拡張子"))) << name;
    }
}

TEST_F(BadInputTest, UnreadableFormationIsReportedAndTheDocumentKept) {
    ASSERT_TRUE(load(ksnBytes({"Kept", " ", "car.bmp"})));
    drive.write(QStringLiteral("KSN/locked.KSN"), ksnBytes({"Locked"}));
    const QString host = drive.host(QStringLiteral("KSN/locked.KSN"));
    QFile::setPermissions(host, {});
    if (::access(host.toLocal8Bit().constData(), R_OK) == 0) {
        QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        GTEST_SKIP() << "permissions do not stop this user from reading";
    }
    state.CurrentFilePath = QStringLiteral("locked.KSN");
    EXPECT_FALSE(editor.LoadCurrentFile());
    QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(editor.rows().value(0), QStringLiteral("Kept"));
    EXPECT_TRUE(modal.messages.back().text.contains(QStringLiteral("File= D:\\KSN\\locked.KSN")));
}

QByteArray bmpWithHeader(std::int32_t w, std::int32_t h) {
    QByteArray b = makeBmp(4, 4);
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = char((std::uint32_t(w) >> (8 * i)) & 0xFF);
        b[22 + i] = char((std::uint32_t(h) >> (8 * i)) & 0xFF);
    }
    return b;
}

TEST_F(BadInputTest, BrokenBitmapsGiveAnEmptyPlaceOrNoneAndNeverStopTheView) {
    // An OS/2 bitmap: a 12-byte core header with 16-bit sizes at 18 and 20.
    QByteArray os2(26, '\0');
    os2[0] = 'B';
    os2[1] = 'M';
    os2[10] = 26;
    os2[14] = 12;
    os2[18] = 2;   // width 2 (16 bits)
    os2[20] = 1;   // height 1 (16 bits)
    os2[22] = 1;   // planes
    os2[24] = 24;  // bits
    os2 += QByteArray(8, '\x7F');
    const struct {
        const char* name;
        QByteArray bytes;
        bool placed;
        QSize size;
    } cases[] = {
        {"good", makeBmp(120, 40), true, {120, 40}},
        {"shorter than 26 bytes", makeBmp(120, 40).left(25), false, {}},
        {"zero width", bmpWithHeader(0, 40), false, {}},
        {"zero height", bmpWithHeader(120, 0), false, {}},
        {"negative height (top-down)", bmpWithHeader(120, -40), false, {}},
        {"INT_MIN", bmpWithHeader(INT_MIN, INT_MIN), false, {}},
        {"huge", bmpWithHeader(100000, 100000), false, {}},
        {"header says 30000 x 30000, pixels missing", bmpWithHeader(30000, 30000), true, {30000, 30000}},
        {"not a picture, absurd header", QByteArray(64, 'z'), false, {}},
        {"not a picture, usable header", bmpWithHeader(50, 20).left(26) + QByteArray(40, 'z'), true, {50, 20}},
        {"OS/2 header", os2, false, {}},
    };
    QStringList rows{QStringLiteral("Bad"), QStringLiteral(" ")};
    int n = 0;
    for (const auto& c : cases) {
        const QString name = QStringLiteral("b%1.bmp").arg(n++);
        drive.write(QStringLiteral("KSN/") + name, c.bytes);
        rows << name;
    }
    const auto strip = buildTrainStrip(rows, state.DefaultFolder, state.fso);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->cars.size(), std::size(cases));
    int left = 0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TrainCar& car = strip->cars[i];
        const bool expectPlaced = cases[i].placed;
        EXPECT_EQ(car.placed, expectPlaced) << cases[i].name;
        EXPECT_TRUE(car.found) << cases[i].name;
        if (expectPlaced) {
            EXPECT_EQ(car.size, cases[i].size) << cases[i].name;
            EXPECT_EQ(car.left, left) << cases[i].name;
            left += car.size.width();
        }
    }
    EXPECT_EQ(strip->totalWidth, left);
    EXPECT_FALSE(strip->cars[0].picture.isNull());
}

}  // namespace
}  // namespace ksn
