// The whole-train view without a window: where each car stands, and the picture.
#include "document/trainlayout.h"
#include "fixture.h"

namespace ksn {
namespace {

constexpr std::uint32_t kRed = 0xCC2200, kGreen = 0x22AA44, kBlue = 0x2244CC;

// Cars in the default folder D:\KSN and in D:\cars, below the current directory D:\.
class TrainLayoutTest : public test::EditorFixture {
protected:
    TrainLayoutTest() {
        for (auto [file, w, h, rgb] : {std::tuple{"KSN/a.bmp", 100, 40, kRed},
                                       {"KSN/b.bmp", 120, 20, kGreen},
                                       {"KSN/c.bmp", 80, 30, kBlue},
                                       {"cars/d.bmp", 80, 30, kBlue}})
            drive.write(QString::fromUtf8(file), makeBmp(w, h, rgb));
    }
    TrainStrip strip(const QStringList& carLines) {
        const auto s = buildTrainStrip(QStringList{"Express", "horn.wav"} + carLines, state.DefaultFolder, state.fso);
        return s ? *s : TrainStrip{};
    }
};

TEST_F(TrainLayoutTest, CarsStandSideBySideAtTheirSizesAndMissingCarsCloseUp) {
    drive.write(u"KSN/empty.bmp"_s, makeBmp(30, 35).left(26));  // a header without pixels
    drive.write(u"KSN/flat.bmp"_s, makeBmp(50, 0));             // no usable size: found, no place
    const TrainStrip s = strip({"a.bmp;front", "missing.bmp", "b.bmp", "empty.bmp", "flat.bmp", "c.bmp"});
    const std::tuple<bool, int, QSize, const char*> expected[] = {
        {true, 0, {100, 40}, "1 : a : front"}, {false, 0, {}, ""},
        {true, 100, {120, 20}, "3 : b : "},  // the number of its line, missing cars included
        {true, 220, {30, 35}, "4 : empty : "}, {true, 0, {}, ""},
        {true, 250, {80, 30}, "6 : c : "},
    };
    ASSERT_EQ(s.cars.size(), std::size(expected));
    for (size_t i = 0; i < s.cars.size(); ++i) {
        const TrainCar& c = s.cars[i];
        const auto& [found, left, size, toolTip] = expected[i];
        EXPECT_EQ(std::tuple(c.row, c.found, c.placed, c.left, c.size, c.toolTip),
                  std::tuple(int(i) + 2, found, size.isValid(), left, size, QString::fromUtf8(toolTip)))
            << i;
    }
    EXPECT_EQ((std::array{s.rowCount, s.totalWidth, s.height, s.tallest}), (std::array{8, 330, 30, 40}));
    EXPECT_EQ(s.caption, u"Express ( 30dot )"_s);  // the last car placed, not the tallest
    // The picture: as tall as the tallest car, each car at the top, transparent elsewhere.
    const QImage out = renderTrainStrip(s);
    ASSERT_EQ(out.size(), QSize(330, 40));
    const std::pair<QPoint, QRgb> pixels[] = {{{99, 39}, kRed},
                                              {{100, 19}, kGreen},
                                              {{329, 29}, kBlue},
                                              {{100, 20}, 0},
                                              {{225, 10}, 0}};  // below a shorter car, in the empty place
    for (const auto& [at, rgb] : pixels)
        EXPECT_EQ(out.pixel(at), rgb ? 0xFF000000 | rgb : 0) << at.x() << "," << at.y();
}

TEST_F(TrainLayoutTest, BareNamesLiveInTheDefaultFolderOtherPathsResolveFromTheCurrentDirectory) {
    const std::tuple<QString, QString, int> cases[] = {
        {u"cars\\d.bmp"_s, u"cars\\d.bmp"_s, 80},
        {u"d.bmp"_s, u"D:\\KSN\\d.bmp"_s, 0},  // a bare name is not looked for anywhere else
    };
    for (const auto& [line, file, width] : cases) {
        const TrainStrip s = strip({line});
        EXPECT_EQ(std::tuple(s.cars.at(0).file, s.cars[0].found, s.totalWidth), std::tuple(file, width > 0, width));
    }
}

// A top-down bitmap (negative height) is drawn at its real size, the right way up, in both views.
TEST_F(TrainLayoutTest, ATopDownCarIsShownAtItsRealSizeTheRightWayUp) {
    QByteArray td = makeBmp(80, -30, kBlue);
    for (int x = 0; x < 80; ++x) td.replace(54 + 3 * x, 3, QByteArray("\x00\x22\xCC", 3));  // the top row red
    drive.write(u"KSN/td.bmp"_s, td);
    const TrainStrip s = strip({"a.bmp", "td.bmp"});
    ASSERT_EQ(std::tuple(s.cars.at(1).placed, s.cars[1].left, s.cars[1].size), std::tuple(true, 100, QSize(80, 30)));
    EXPECT_EQ(s.caption, u"Express ( 30dot )"_s);
    const QImage out = renderTrainStrip(s);
    EXPECT_EQ(std::pair(out.pixel(100, 0), out.pixel(100, 29)), std::pair(0xFF000000 | kRed, 0xFF000000 | kBlue));
    const CarView v = buildCarView(FormationTable{u"T"_s, u""_s, u"td.bmp"_s}, 2, state.DefaultFolder, state.fso);
    EXPECT_EQ(std::tuple(v.picture.size(), v.picture.image.pixel(0, 0), v.caption),
              std::tuple(QSize(80, 30), 0xFF000000 | kRed, u"1 : D:\\KSN\\td.bmp ( 30dot )"_s));
}

}  // namespace
}  // namespace ksn
