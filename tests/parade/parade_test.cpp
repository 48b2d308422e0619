// The parade without a window: motion, order, and frames drawn offscreen at chosen moments.
#include "parade/parade.h"
#include "support/paths/filesystem.h"
#include "testkit/tempdrive.h"

#include <QPainter>

namespace ksn::parade {
namespace {

TEST(Motion, ScaleIsWholeAndFitsTheScreen) {
    const std::tuple<int, int, int, Scale> cases[] = {// train height, screen height, wanted, scale
                                                      {40, 600, 1, {1, 1}},
                                                      {40, 600, 3, {3, 1}},
                                                      {40, 100, 3, {2, 1}},
                                                      {250, 100, 2, {1, 3}},
                                                      {200, 100, 1, {1, 2}}};
    for (const auto& [train, screen, wanted, scale] : cases)
        EXPECT_EQ(fitScale(train, screen, wanted), scale) << train << " on " << screen << " x" << wanted;
}

TEST(Motion, TheFirstCarLeadsAndTheTrainCrossesAtItsSpeed) {
    const std::vector<QSize> cars{{100, 40}, {50, 20}};
    const TrainLayout left = layoutTrain(cars, {2, 1}, Direction::RightToLeft),
                      right = layoutTrain(cars, {1, 1}, Direction::LeftToRight);
    EXPECT_EQ(std::tuple(left.lefts, left.length, left.height), std::tuple(std::vector{0, 200}, 300, 80));
    EXPECT_EQ(right.lefts, (std::vector{50, 0}));
    // A 150-pixel train on a 400-pixel screen at 100 pixels a second: 5.5 s from entering to gone.
    EXPECT_EQ(crossingSeconds(150, 400, 100), 5.5);
    const std::tuple<Direction, double, double> at[] = {{Direction::RightToLeft, 0, 400},
                                                        {Direction::RightToLeft, 5.5, -150},
                                                        {Direction::LeftToRight, 0, -150},
                                                        {Direction::LeftToRight, 2, 50}};
    for (const auto& [direction, t, x] : at) EXPECT_EQ(trainLeft(150, 400, 100, direction, t), x) << t;
}

TEST(PlaylistTest, ByNameOrShuffledWithoutRepeatsAndBackAgain) {
    Playlist byName(3, Order::Name, 1);
    std::vector<int> seen{byName.current()};
    for (int i = 0; i < 4; ++i) seen.push_back(byName.next());
    EXPECT_EQ(seen, (std::vector{0, 1, 2, 0, 1}));
    const int back = byName.previous();
    EXPECT_EQ(std::pair(back, byName.previous()), std::pair(0, 2));
    EXPECT_EQ(byName.next(), 0);  // forward again through what was gone back over

    const auto rounds = [](std::uint32_t seed) {
        Playlist shuffled(5, Order::Shuffle, seed);
        std::vector<int> order{shuffled.current()};
        for (int i = 1; i < 50; ++i) order.push_back(shuffled.next());
        return order;
    };
    const std::vector<int> order = rounds(7);
    EXPECT_EQ(order, rounds(7));
    for (size_t r = 0; r < order.size(); r += 5) {
        std::vector<int> round(order.begin() + long(r), order.begin() + long(r) + 5);
        std::sort(round.begin(), round.end());
        EXPECT_EQ(round, (std::vector{0, 1, 2, 3, 4})) << r;
        EXPECT_TRUE(r == 0 || order[r] != order[r - 1]) << r;
    }
    EXPECT_EQ(Playlist(0, Order::Shuffle, 1).current(), -1);
}

// A folder with a train of a red car 100 x 40 and a blue one 50 x 20 and two formations that cannot run.
class ParadeTest : public ::testing::Test {
protected:
    ParadeTest() : fs(drive.driveMap(), u"D:\\"_s) {
        drive.write(u"T/red.bmp"_s, makeBmp(100, 40, 0xCC2200));
        drive.write(u"T/blue.bmp"_s, makeBmp(50, 20, 0x2244CC));
        drive.write(u"T/a.KSN"_s, ksnBytes({"Empty", "horn.wav", "gone.bmp"}));
        drive.write(u"T/b.KSN"_s, ksnBytes({"特急", "horn.wav", "red.bmp", "blue.bmp"}));
        drive.write(u"T/c.KSN"_s, QByteArray("\x81"));
    }
    QImage frame(Parade& parade, double t, QSize size = {400, 200}) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        parade.draw(p, size, t);
        return image;
    }
    TempDrive drive;
    FileSystem fs;
    QStringList warnings, played;
};

TEST_F(ParadeTest, ATrainCrossesOnItsRailAndTheFormationsThatCannotRunAreSkipped) {
    Options options;
    options.order = Order::Name;
    options.speed = 100;
    options.title = false;
    options.sound = true;
    drive.write(u"T/horn.wav"_s, "RIFF");
    Parade parade(
        fs, {u"D:\\T\\a.KSN"_s, u"D:\\T\\b.KSN"_s, u"D:\\T\\c.KSN"_s}, options,
        [&](const QString& w) { warnings << w; }, [&](const QString& f) { played << f; });
    frame(parade, 10);
    EXPECT_EQ(warnings, QStringList{u"no car of D:\\T\\a.KSN can be shown"_s});
    EXPECT_EQ(played, QStringList{drive.driveMap().root(u'D') + u"/T/horn.wav"_s});
    // 2 s after entering, the front is 200 pixels in; cars stand on the rail at (200 + 40) / 2.
    const QImage at2 = frame(parade, 12);
    const std::pair<QPoint, QRgb> pixels[] = {
        {{199, 100}, 0xFF000000}, {{200, 119}, 0xFFCC2200}, {{299, 80}, 0xFFCC2200},  {{300, 119}, 0xFF2244CC},
        {{349, 100}, 0xFF2244CC}, {{349, 99}, 0xFF000000},  {{350, 119}, 0xFF000000}, {{250, 120}, 0xFF000000}};
    for (const auto& [at, rgb] : pixels) EXPECT_EQ(at2.pixel(at), rgb) << at.x() << "," << at.y();
    // Paused, it stands; gone (5.5 s after entering), the next formation that can run enters.
    parade.togglePause(12);
    EXPECT_EQ(frame(parade, 20), at2);
    parade.togglePause(20);
    frame(parade, 23.6);
    EXPECT_EQ(parade.train()->title, u"特急"_s);  // c.KSN and a.KSN skipped, b.KSN again
    EXPECT_EQ(warnings.size(), 3);
}

// A header can claim 30000 x 30000 with no pixels behind it: the place is kept, nothing that size allocated.
TEST_F(ParadeTest, ACarWithoutPixelsKeepsItsPlaceOnly) {
    drive.write(u"T/huge.bmp"_s, sized(makeBmp(1, 1), 30000, 30000));
    drive.write(u"T/h.KSN"_s, ksnBytes({"H", "", "huge.bmp", "red.bmp"}));
    const auto train = std::get<ParadeTrain>(readParadeTrain(fs, u"D:\\T\\h.KSN"_s, false));
    EXPECT_EQ(std::tuple(train.images[0].isNull(), train.carSizes()),
              std::tuple(true, std::vector<QSize>{{30000, 30000}, {100, 40}}));
}

// At a pixel ratio of 1.5 a car pixel is 2 x 2 device pixels; a folder where nothing can run says so.
TEST_F(ParadeTest, CarPixelsStayWholeOnAnyScreenAndAnEmptyFolderSaysSo) {
    Options options;
    options.title = false;
    Parade parade(fs, {u"D:\\T\\b.KSN"_s}, options, nullptr, nullptr);
    QImage image(600, 300, QImage::Format_RGB32);
    image.setDevicePixelRatio(1.5);
    for (const double t : {0.0, 2.0}) {  // entering, then 2 s later 480 device pixels in
        QPainter p(&image);
        parade.draw(p, {400, 200}, t);
    }
    const std::pair<QPoint, QRgb> pixels[] = {
        {{119, 150}, 0xFF000000}, {{120, 189}, 0xFFCC2200}, {{319, 110}, 0xFFCC2200}, {{320, 189}, 0xFF2244CC}};
    for (const auto& [at, rgb] : pixels) EXPECT_EQ(image.pixel(at), rgb) << at.x() << "," << at.y();
    Parade empty(fs, {u"D:\\T\\a.KSN"_s}, Options{}, nullptr, nullptr);
    empty.setEmptyText(u"走らせられる編成がありません"_s);
    QImage black(200, 40, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_NE(frame(empty, 0).copy(100, 80, 200, 40), black) << "no text";
}

}  // namespace
}  // namespace ksn::parade
