// The viewers' rules without a window: the strip, its scroll range, its picture and the car view.
#include "fixture.h"
#include "trainlayout.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace ksn {
namespace {

using namespace Qt::StringLiterals;
using test::makeBmp;

constexpr std::uint32_t kRed = 0xCC2200, kGreen = 0x22AA44, kBlue = 0x2244CC;

// Cars in the default folder D:\KSN and in the current directory D:\.
class TrainLayoutTest : public test::EditorFixture {
protected:
    TrainLayoutTest() {
        for (auto [file, w, h, rgb] : {std::tuple{"KSN/a.bmp", 100, 40, kRed}, {"KSN/b.bmp", 120, 20, kGreen},
                                       {"KSN/c.bmp", 80, 30, kBlue}, {"KSN/down.bmp", 100, -40, kRed}, {"a.bmp", 50, 20, kRed},
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
    const TrainStrip s = strip({"a.bmp;front", "missing.bmp", "b.bmp", "empty.bmp", "c.bmp"});
    const struct { int left; QSize size; const char* toolTip; std::uint32_t rgb; } expected[] = {
        {0, {100, 40}, "1 : a : front", kRed},
        {0, {}, "", 0},                        // not found
        {100, {120, 20}, "3 : b : ", kGreen},  // the number of its line, missing cars included
        {220, {30, 35}, "4 : empty : ", 0},    // a place without picture
        {250, {80, 30}, "5 : c : ", kBlue},
    };
    ASSERT_EQ(s.cars.size(), std::size(expected));
    for (size_t i = 0; i < s.cars.size(); ++i) {
        const TrainCar& c = s.cars[i];
        const auto& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(std::tuple(c.row, c.found, c.placed, c.left, c.size, c.toolTip),
                  std::tuple(int(i) + 2, e.size.isValid(), e.size.isValid(), e.left, e.size, QString::fromUtf8(e.toolTip)));
        EXPECT_EQ(c.picture.size(), e.rgb ? e.size : QSize(0, 0));
        EXPECT_EQ(c.picture.isNull() ? 0 : c.picture.pixel(5, 5) & 0xFFFFFF, e.rgb);
    }
    EXPECT_EQ((std::array{s.rowCount, s.totalWidth, s.height, s.tallest}), (std::array{7, 330, 30, 40}));
    EXPECT_EQ(s.caption, u"Express ( 30dot )"_s);  // the last car placed, not the tallest
    // The picture: as tall as the tallest car, each car at the top, transparent elsewhere.
    const QImage out = renderTrainStrip(s);
    ASSERT_EQ(out.size(), QSize(330, 40));
    const std::pair<QPoint, QRgb> pixels[] = {{{99, 39}, kRed}, {{100, 19}, kGreen}, {{329, 29}, kBlue},
                                              {{100, 20}, 0}, {{225, 10}, 0}};  // below a shorter car, in the empty place
    for (const auto& [at, rgb] : pixels) EXPECT_EQ(out.pixel(at), rgb ? 0xFF000000 | rgb : 0) << at.x() << "," << at.y();
}

TEST_F(TrainLayoutTest, BareNamesLiveInTheDefaultFolderOtherPathsResolveFromTheCurrentDirectory) {
    const struct { const char* line; const char* file; int width; const char* toolTip; } cases[] = {
        {"a.bmp;a;b", "D:\\KSN\\a.bmp", 100, "1 : a : a;b"},  // the comment after the first ";"
        {".\\a.bmp", ".\\a.bmp", 50, "1 : a : "},
        {"cars\\d.bmp", "cars\\d.bmp", 80, "1 : d : "},
        {"\\KSN\\A.BMP;x", "\\KSN\\A.BMP", 100, "1 : A : x"},  // the base name as the line spells it
        {"d.bmp", "D:\\KSN\\d.bmp", 0, ""},        // a bare name is not looked for anywhere else
        {" a.bmp", "D:\\KSN\\ a.bmp", 0, ""},      // the listed path is not trimmed
        {"E:\\a.bmp", "E:\\a.bmp", 0, ""},         // a drive that is not mapped
    };
    for (const auto& c : cases) {
        const TrainStrip s = strip({QString::fromUtf8(c.line)});
        EXPECT_EQ(std::tuple(s.cars.at(0).file, s.cars[0].found, s.totalWidth, s.cars[0].toolTip),
                  std::tuple(QString::fromUtf8(c.file), c.width > 0, c.width, QString::fromUtf8(c.toolTip))) << c.line;
    }
}

TEST(TrainScrollRange, MaximumAndChangesFollowTheClientSize) {
    const struct { int total, width, height; ScrollRange expected; } cases[] = {
        {300, 300, 50, {1, 1, 1}},         // no wider than the window: still a maximum of 1
        {2000, 500, 59, {1500, 150, 30}},  // 29.5 rounds to the even 30
        {2000, 1991, 57, {9, 1, 1}},       // below 10: single steps
    };
    for (const auto& c : cases)
        EXPECT_EQ(trainScrollRange(c.total, c.width, c.height), c.expected) << c.total << " in " << c.width << " x " << c.height;
}

TEST_F(TrainLayoutTest, TheCarViewReadsTheDocumentLineOfTheSelectedRow) {
    const QStringList lines{"Express", "horn.wav;horn", "a.bmp;front", "D:\\cars\\d.bmp;pantograph", "down.bmp", "gone.bmp"};
    std::copy(lines.begin(), lines.end(), state.FormationLines.begin());
    const struct { int selected; const char* caption; const char* toolTip; QSize size; } cases[] = {
        {-1, "1 : D:\\KSN\\a.bmp ( 40dot )", "front", {100, 40}},  // nothing selected: the first car
        {3, "2 : D:\\cars\\d.bmp ( 30dot )", "pantograph", {80, 30}},
        {4, "3 : D:\\KSN\\down.bmp ( -40dot )", "", {}},  // the header's own height, and no picture
        {5, "車両が見つかりません。\r\nFile= D:\\KSN\\gone.bmp", "", {}},  // not found: the message
        {6, "車両が見つかりません。\r\nFile= ", "", {}},  // the empty line after the last car
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        const CarView v = buildCarView(state, c.selected);
        EXPECT_EQ(std::tuple(v.found, v.found ? v.caption : v.message, v.toolTip, v.picture.size()),
                  std::tuple(c.selected < 5, QString::fromUtf8(c.caption), QString::fromUtf8(c.toolTip), c.size));
        EXPECT_EQ(v.picture.image.size(), c.size.isEmpty() ? QSize(0, 0) : c.size);
    }
}

}  // namespace
}  // namespace ksn
