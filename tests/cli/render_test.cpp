// `ksn render` as a user runs it: the real program, and the picture it wrote read back.
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::TempDrive;

constexpr QRgb kRed = 0xFFCC2200;
constexpr QRgb kGreen = 0xFF22AA44;
constexpr QRgb kBlue = 0xFF2244CC;
constexpr QRgb kClear = 0;

using RenderRun = test::ProgramRun;

// Default folder D:\KSN: a.bmp (100 x 40, red) and c.bmp (80 x 30, blue) beside the formation,
// b.bmp (120 x 40, green) in its cars folder.
class RenderTest : public ::testing::Test {
protected:
    RenderTest() {
        drive.write(QStringLiteral("KSN/a.bmp"), makeBmp(100, 40, kRed & 0xFFFFFF));
        drive.write(QStringLiteral("KSN/cars/b.bmp"), makeBmp(120, 40, kGreen & 0xFFFFFF));
        drive.write(QStringLiteral("KSN/c.bmp"), makeBmp(80, 30, kBlue & 0xFFFFFF));
        drive.write(QStringLiteral("KSN/express.KSN"),
                    ksnBytes({"Express", "horn.wav", "D:\\KSN\\a.bmp;front", "cars\\b.bmp", "missing.bmp", "c.bmp;rear"}));
        drive.write(QStringLiteral("KSN/ghost.KSN"), ksnBytes({"Ghost", "horn.wav", "x.bmp", "y.bmp"}));
    }

    RenderRun ksn(const QStringList& args) {
        const RenderRun r = test::runProgram(QStringLiteral(KSN_EXE), drive, QStringList{"--default-folder", drive.host(QStringLiteral("KSN"))} + args);
        return r;
    }
    QString file(const char* relative) const { return drive.host(QString::fromUtf8(relative)); }

    TempDrive drive;
};

TEST_F(RenderTest, TheStripIsLaidOutFromTheCarListOfTheMode) {
    const struct {
        const char* mode;
        QSize size;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    } cases[] = {
        // As in the file: the relative path finds the cars folder; the missing car closes up.
        {"as-in-file",
         {300, 40},
         {{{0, 0}, kRed}, {{99, 39}, kRed}, {{100, 0}, kGreen}, {{219, 39}, kGreen},
          {{220, 0}, kBlue}, {{299, 29}, kBlue}, {{299, 30}, kClear}}},
        // File names only: b.bmp is looked for beside the formation, where it is not.
        {"file-name", {180, 40}, {{{0, 0}, kRed}, {{100, 0}, kBlue}, {{179, 29}, kBlue}, {{150, 35}, kClear}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const QString out = file("out.png");
        QFile::remove(out);
        const RenderRun r = ksn({"render", file("KSN/express.KSN"), "-o", out, "--mode", QString::fromUtf8(c.mode)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage image(out, "PNG");
        ASSERT_EQ(image.size(), c.size);
        EXPECT_TRUE(image.hasAlphaChannel());
        for (const auto& [at, colour] : c.pixels) {
            const QRgb got = image.pixel(at);
            // Transparent pixels may keep any colour behind an alpha of 0.
            if (colour == kClear) {
                EXPECT_EQ(qAlpha(got), 0) << at.x() << "," << at.y();
            } else {
                EXPECT_EQ(got, colour) << at.x() << "," << at.y();
            }
        }
    }
}

TEST_F(RenderTest, NothingIsWrittenWhenNoCarFileExists) {
    const QString out = file("ghost.png");
    const RenderRun r = ksn({"render", file("KSN/ghost.KSN"), "--output", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no car file"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(RenderTest, UsageAndWriteErrors) {
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"render", file("KSN/express.KSN")}, 2},                         // no -o
        {{"render", "-o", file("x.png")}, 2},                             // no FILE
        {{"render", file("KSN/none.KSN"), "-o", file("x.png")}, 2},       // no such file
        {{"show", file("KSN/express.KSN"), "-o", file("x.png")}, 2},      // -o belongs to render
        {{"render", file("KSN/express.KSN"), "-o", file("no/such/dir/x.png")}, 1},
    };
    for (const auto& c : cases) {
        const RenderRun r = ksn(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(u' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(file("x.png")));
}

}  // namespace
}  // namespace ksn
