// The viewers' rules without a window: the strip, its scroll range, the car view, the pictures.
#include "tempdrive.h"
#include "trainlayout.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <cstdint>

namespace ksn {
namespace {

using test::makeBmp;
using test::TempDrive;

constexpr std::uint32_t kRed = 0xCC2200;
constexpr std::uint32_t kGreen = 0x22AA44;
constexpr std::uint32_t kBlue = 0x2244CC;

QByteArray header(std::int32_t width, std::int32_t height, const QByteArray& start = "BM") {
    QByteArray b = start;
    b.resize(54, '\0');
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = char((std::uint32_t(width) >> (8 * i)) & 0xFF);
        b[22 + i] = char((std::uint32_t(height) >> (8 * i)) & 0xFF);
    }
    return b;
}

// A well-formed bitmap header that claims a size its pixels do not hold.
QByteArray claimedBmp(std::int32_t width, std::int32_t height) {
    QByteArray b = makeBmp(1, 1);
    const QByteArray h = header(width, height);
    b.replace(18, 8, h.mid(18, 8));
    return b;
}

QByteArray png(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// Drive D: with the default folder D:\KSN; the current directory is D:\.
class TrainLayoutTest : public ::testing::Test {
protected:
    TrainLayoutTest() : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("ksned32"))) {
        drive.mkdir(QStringLiteral("KSN"));
        state.DefaultFolder = QStringLiteral("D:\\KSN");
    }
    void car(const QString& relative, std::int32_t w, std::int32_t h, std::uint32_t rgb = kRed) {
        drive.write(relative, makeBmp(w, h, rgb));
    }
    TrainStrip strip(const QStringList& carLines, const QString& title = QStringLiteral("Express")) {
        const auto s = buildTrainStrip(QStringList{title, QStringLiteral("horn.wav")} + carLines, state.DefaultFolder, state.fso);
        if (!s) throw std::runtime_error("no strip");
        return *s;
    }

    TempDrive drive;
    Ksned state;
};

TEST_F(TrainLayoutTest, CarsStandSideBySideAtTheirSizesAndMissingCarsCloseUp) {
    car(QStringLiteral("KSN/a.bmp"), 100, 40, kRed);
    car(QStringLiteral("KSN/b.bmp"), 120, 40, kGreen);
    car(QStringLiteral("KSN/c.bmp"), 80, 30, kBlue);
    const TrainStrip s = strip({"a.bmp;front", "b.bmp", "missing.bmp", "c.bmp"});

    EXPECT_EQ(s.rowCount, 6);
    const struct {
        int row;
        bool found;
        int left;
        QSize size;
        const char* toolTip;
        std::uint32_t rgb;
    } expected[] = {
        {2, true, 0, {100, 40}, "1 : a : front", kRed},
        {3, true, 100, {120, 40}, "2 : b : ", kGreen},
        {4, false, 0, {}, "", 0},
        {5, true, 220, {80, 30}, "4 : c : ", kBlue},
    };
    ASSERT_EQ(s.cars.size(), std::size(expected));
    for (size_t i = 0; i < s.cars.size(); ++i) {
        const TrainCar& c = s.cars[i];
        const auto& e = expected[i];
        SCOPED_TRACE(e.row);
        EXPECT_EQ(c.row, e.row);
        EXPECT_EQ(c.found, e.found);
        EXPECT_EQ(c.placed, e.found);
        EXPECT_EQ(c.left, e.left);
        EXPECT_EQ(c.size, e.size);
        EXPECT_EQ(c.toolTip, QString::fromUtf8(e.toolTip));
        if (e.found) {
            ASSERT_EQ(c.picture.size(), e.size);
            EXPECT_EQ(c.picture.pixel(5, 5) & 0xFFFFFF, e.rgb);
        } else {
            EXPECT_TRUE(c.picture.isNull());
        }
    }
    EXPECT_EQ(s.cars[2].file, QStringLiteral("D:\\KSN\\missing.bmp"));
    EXPECT_EQ(s.totalWidth, 300);
    EXPECT_EQ(s.height, 30);  // the last car found, not the tallest
    EXPECT_EQ(s.tallest, 40);
    EXPECT_EQ(s.caption, QStringLiteral("Express ( 30dot )"));
}

TEST_F(TrainLayoutTest, ToolTipsTakeTheCommentAfterTheFirstSemicolonAsListed) {
    car(QStringLiteral("KSN/car1.bmp"), 10, 10);
    const struct {
        const char* line;
        const char* toolTip;
    } cases[] = {
        {"car1.bmp;front", "1 : car1 : front"},
        {"car1.bmp", "1 : car1 : "},    // comment switch Off: the list carries no comment
        {"car1.bmp;", "1 : car1 : "},
        {"car1.bmp;a;b", "1 : car1 : a;b"},
        {"D:\\KSN\\CAR1.BMP;x", "1 : CAR1 : x"},  // the base name as the line spells it
    };
    for (const auto& c : cases) {
        const TrainStrip s = strip({QString::fromUtf8(c.line)});
        ASSERT_TRUE(s.cars[0].placed) << c.line;
        EXPECT_EQ(s.cars[0].toolTip, QString::fromUtf8(c.toolTip)) << c.line;
    }
}

TEST_F(TrainLayoutTest, BareNamesLiveInTheDefaultFolderOtherPathsResolveFromTheCurrentDirectory) {
    car(QStringLiteral("KSN/a.bmp"), 100, 40);
    car(QStringLiteral("a.bmp"), 50, 20);  // the same name in the current directory D:\ .
    car(QStringLiteral("cars/c.bmp"), 80, 30);
    const struct {
        const char* line;
        const char* file;
        int width;  // 0: not found
    } cases[] = {
        {"a.bmp", "D:\\KSN\\a.bmp", 100},
        {".\\a.bmp", ".\\a.bmp", 50},
        {"cars\\c.bmp", "cars\\c.bmp", 80},
        {"KSN\\a.bmp", "KSN\\a.bmp", 100},
        {"\\KSN\\A.BMP", "\\KSN\\A.BMP", 100},
        {"D:\\cars\\c.bmp", "D:\\cars\\c.bmp", 80},
        {"c.bmp", "D:\\KSN\\c.bmp", 0},  // a bare name is not looked for anywhere else
        {" a.bmp", "D:\\KSN\\ a.bmp", 0},  // the listed path is not trimmed
        {"E:\\a.bmp", "E:\\a.bmp", 0},  // a drive that is not mapped
    };
    for (const auto& c : cases) {
        const TrainStrip s = strip({QString::fromUtf8(c.line)});
        EXPECT_EQ(s.cars[0].file, QString::fromUtf8(c.file)) << c.line;
        EXPECT_EQ(s.cars[0].found, c.width > 0) << c.line;
        EXPECT_EQ(s.totalWidth, c.width) << c.line;
    }
}

TEST_F(TrainLayoutTest, NoStripWithoutACarLineAndAnEmptyOneWhenNoCarExists) {
    EXPECT_FALSE(buildTrainStrip({"Express", "horn.wav"}, state.DefaultFolder, state.fso));
    EXPECT_FALSE(buildTrainStrip({"Express"}, state.DefaultFolder, state.fso));
    const TrainStrip s = strip({"x.bmp", "y.bmp"});
    EXPECT_FALSE(s.anyFound());
    EXPECT_EQ(s.totalWidth, 0);
    EXPECT_EQ(s.caption, QStringLiteral("Express ( 0dot )"));
    EXPECT_TRUE(renderTrainStrip(s).isNull());
}

// ---------------------------------------------------------------- broken files

TEST_F(TrainLayoutTest, BrokenCarFilesGiveAnEmptyPlaceOrNone) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool usable;
        QSize size;
        bool picture;
    } cases[] = {
        {"good bitmap", makeBmp(100, 40), true, {100, 40}, true},
        {"text with a usable header", header(100, 40, "not a picture at all"), true, {100, 40}, false},
        {"bitmap header without pixels", header(100, 40), true, {100, 40}, false},
        {"zero width", header(0, 40), false, {}, false},
        {"zero height", header(100, 0), false, {}, false},
        {"negative width", header(-100, 40), false, {}, false},
        {"top-down bitmap", makeBmp(100, -40), false, {}, false},
        {"absurd width", header(40000, 40), false, {}, false},
        {"absurd height", header(100, 0x7FFFFFFF), false, {}, false},
        {"too short for the height", QByteArray(24, 'x'), false, {}, false},
        {"empty file", QByteArray(), false, {}, false},
        // 30000 x 30000 pixels would need 3.4 GB: refused before a pixel is allocated.
        {"over the allocation limit", claimedBmp(30000, 30000), true, {30000, 30000}, false},
        // The decoder keeps what it could read; the rest of the place stays empty.
        {"pixels cut short", makeBmp(100, 40).left(200), true, {100, 40}, true},
        // Another format: its own bytes at the header offsets give a size no car has.
        {"PNG", png(100, 40), false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drive.write(QStringLiteral("KSN/bad.bmp"), c.bytes);
        const CarPicture p = loadCarPicture(state.fso, QStringLiteral("D:\\KSN\\bad.bmp"));
        EXPECT_EQ(p.usable(), c.usable);
        EXPECT_EQ(p.size(), c.size);
        EXPECT_EQ(!p.image.isNull(), c.picture);

        // In a strip the car after it keeps going: an empty place of the header's size, or none.
        drive.write(QStringLiteral("KSN/next.bmp"), makeBmp(20, 10));
        const TrainStrip s = strip({"bad.bmp;x", "next.bmp"});
        EXPECT_TRUE(s.cars[0].found);
        EXPECT_EQ(s.cars[0].placed, c.usable);
        EXPECT_EQ(s.cars[0].toolTip.isEmpty(), !c.usable);
        EXPECT_EQ(s.cars[1].left, c.usable ? c.size.width() : 0);
        EXPECT_EQ(s.height, 10);
    }
}

TEST_F(TrainLayoutTest, AFileTooLongToDecodeKeepsItsPlaceWithoutPicture) {
    drive.write(QStringLiteral("KSN/huge.bmp"), makeBmp(100, 40));
    QFile huge(drive.host(QStringLiteral("KSN/huge.bmp")));
    ASSERT_TRUE(huge.resize(kMaxCarFileBytes + 1));  // sparse: costs no disk
    const CarPicture p = loadCarPicture(state.fso, QStringLiteral("D:\\KSN\\huge.bmp"));
    EXPECT_EQ(p.size(), QSize(100, 40));
    EXPECT_TRUE(p.image.isNull());

    ASSERT_TRUE(huge.resize(kMaxCarFileBytes));
    EXPECT_FALSE(loadCarPicture(state.fso, QStringLiteral("D:\\KSN\\huge.bmp")).image.isNull());
}

// ---------------------------------------------------------------- scrolling

TEST(TrainScrollRange, MaximumAndChangesFollowTheClientSize) {
    const struct {
        int total, width, height;
        ScrollRange expected;
    } cases[] = {
        {300, 432, 50, {1, 1, 1}},         // strip narrower than the window
        {300, 300, 50, {1, 1, 1}},         // exactly as wide: still a maximum of 1
        {0, 500, 17, {1, 1, 1}},           // no car found
        {2000, 500, 57, {1500, 150, 28}},  // 28.5 rounds to the even 28
        {2000, 500, 59, {1500, 150, 30}},  // 29.5 rounds to the even 30
        {2000, 500, 56, {1500, 150, 28}},
        {2000, 1991, 57, {9, 1, 1}},       // below 10: single steps
        {2000, 1990, 57, {10, 1, 28}},
        {2000, 1981, 57, {19, 1, 28}},     // 1.9 truncated
        {2000, 1980, 57, {20, 2, 28}},
    };
    for (const auto& c : cases) {
        const ScrollRange r = trainScrollRange(c.total, c.width, c.height);
        EXPECT_EQ(r.maximum, c.expected.maximum) << c.total << " in " << c.width << " x " << c.height;
        EXPECT_EQ(r.largeChange, c.expected.largeChange) << c.total << " in " << c.width << " x " << c.height;
        EXPECT_EQ(r.smallChange, c.expected.smallChange) << c.total << " in " << c.width << " x " << c.height;
    }
}

// ---------------------------------------------------------------- the picture of the strip

TEST_F(TrainLayoutTest, TheRenderedStripIsAsTallAsTheTallestCarAndTransparentElsewhere) {
    car(QStringLiteral("KSN/a.bmp"), 100, 40, kRed);
    car(QStringLiteral("KSN/c.bmp"), 80, 30, kBlue);
    drive.write(QStringLiteral("KSN/empty.bmp"), header(30, 35));  // a place without picture
    car(QStringLiteral("KSN/b.bmp"), 120, 20, kGreen);
    const TrainStrip s = strip({"a.bmp", "missing.bmp", "c.bmp", "empty.bmp", "b.bmp"});
    const QImage out = renderTrainStrip(s);
    ASSERT_EQ(out.size(), QSize(330, 40));
    const struct {
        QPoint at;
        QRgb colour;  // with alpha
    } pixels[] = {
        {{0, 0}, 0xFF000000 | kRed},     {{99, 39}, 0xFF000000 | kRed},
        {{100, 0}, 0xFF000000 | kBlue},  {{179, 29}, 0xFF000000 | kBlue},
        {{179, 30}, 0},                  // below the shorter car
        {{195, 10}, 0},                  // the place without a picture
        {{210, 0}, 0xFF000000 | kGreen}, {{329, 19}, 0xFF000000 | kGreen},
        {{329, 20}, 0},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(out.pixel(p.at), p.colour) << p.at.x() << "," << p.at.y();
}

// ---------------------------------------------------------------- car view

TEST_F(TrainLayoutTest, TheCarViewReadsTheDocumentLineOfTheSelectedRow) {
    car(QStringLiteral("KSN/car1.bmp"), 120, 40);
    car(QStringLiteral("Trains/EC/car2.bmp"), 80, 30);
    state.FormationLines[0] = QStringLiteral("Express");
    state.FormationLines[1] = QStringLiteral("horn.wav;horn");
    state.FormationLines[2] = QStringLiteral("car1.bmp;front");
    state.FormationLines[3] = QStringLiteral("D:\\Trains\\EC\\car2.bmp;pantograph");
    state.FormationLines[4] = QStringLiteral("car1.bmp");
    state.FormationLines[5] = QStringLiteral("car3.bmp;missing");
    const struct {
        int selected;
        int row;
        const char* caption;
        const char* toolTip;
        QSize size;
    } cases[] = {
        {-1, 2, "1 : D:\\KSN\\car1.bmp ( 40dot )", "front", {120, 40}},
        {0, 2, "1 : D:\\KSN\\car1.bmp ( 40dot )", "front", {120, 40}},
        {1, 2, "1 : D:\\KSN\\car1.bmp ( 40dot )", "front", {120, 40}},
        {2, 2, "1 : D:\\KSN\\car1.bmp ( 40dot )", "front", {120, 40}},
        {3, 3, "2 : D:\\Trains\\EC\\car2.bmp ( 30dot )", "pantograph", {80, 30}},
        {4, 4, "3 : D:\\KSN\\car1.bmp ( 40dot )", "", {120, 40}},
    };
    for (const auto& c : cases) {
        const CarView v = buildCarView(state, c.selected);
        SCOPED_TRACE(c.selected);
        EXPECT_TRUE(v.found);
        EXPECT_EQ(v.row, c.row);
        EXPECT_EQ(v.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(v.toolTip, QString::fromUtf8(c.toolTip));
        EXPECT_EQ(v.picture.size(), c.size);
        EXPECT_EQ(v.picture.image.size(), c.size);
        EXPECT_TRUE(v.message.isEmpty());
    }
}

TEST_F(TrainLayoutTest, TheCarViewOfAMissingCarIsAMessage) {
    state.FormationLines[2] = QStringLiteral("car3.bmp;missing");
    const struct {
        int selected;
        const char* message;
    } cases[] = {
        {2, "車両が見つかりません。\r\nFile= D:\\KSN\\car3.bmp"},
        {3, "車両が見つかりません。\r\nFile= "},  // the empty line after the last car
    };
    for (const auto& c : cases) {
        const CarView v = buildCarView(state, c.selected);
        EXPECT_FALSE(v.found);
        EXPECT_EQ(v.message, QString::fromUtf8(c.message));
        EXPECT_TRUE(v.caption.isEmpty());
    }
}

TEST_F(TrainLayoutTest, TheCarViewOfABrokenHeaderNamesItsHeightAndHasNoPicture) {
    drive.write(QStringLiteral("KSN/down.bmp"), makeBmp(100, -40));
    state.FormationLines[2] = QStringLiteral("down.bmp;top-down");
    const CarView v = buildCarView(state, 2);
    EXPECT_TRUE(v.found);
    EXPECT_FALSE(v.picture.usable());
    EXPECT_EQ(v.caption, QStringLiteral("1 : D:\\KSN\\down.bmp ( -40dot )"));
    EXPECT_EQ(v.toolTip, QStringLiteral("top-down"));
}

}  // namespace
}  // namespace ksn
