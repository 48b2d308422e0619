// The thumbnail's layout: rows as near square as whole cars allow, and the scale that fits it.
#include "document/thumbnail.h"
#include "testkit/common.h"

#include <QColor>

namespace ksn {
namespace {

TEST(FoldTrain, RowsMakeTheBoxNearestSquareWithoutCuttingACar) {
    const QSize car(120, 40), tall(100, 100), low(100, 20);
    const std::vector<QSize> seven(7, car);
    std::vector<QSize> train101;  // every sixth car twice as long: five a row, one long car in each
    for (int i = 0; i < 101; ++i) train101.push_back(i % 6 == 5 ? QSize(320, 40) : car);
    const struct {
        const char* name;
        std::vector<QSize> cars;
        int carsPerRow;
        QSize size;
        std::vector<std::pair<size_t, QRect>> places;  // some places worth checking
    } cases[] = {
        {"no car", {}, 0, {}, {}},
        {"only cars without a size", {{}, {}}, 0, {}, {{1, {}}}},
        {"one long car stays one row", {{2000, 40}}, 1, {2000, 40}, {{0, {0, 0, 2000, 40}}}},
        {"7 cars, 2 a row", seven, 2, {240, 160}, {{1, {120, 0, 120, 40}}, {6, {0, 120, 120, 40}}}},
        // Each row is as tall as its tallest car; a car without a size neither stands nor counts.
        {"mixed heights",
         {tall, {}, low, tall, low},
         2,
         {200, 200},
         {{1, {}}, {2, {100, 0, 100, 20}}, {3, {0, 100, 100, 100}}, {4, {100, 100, 100, 20}}}},
        {"bellows between cars", {car, {12, 40}, car}, 1, {120, 120}, {{1, {0, 40, 12, 40}}, {2, {0, 80, 120, 40}}}},
        {"101 cars", train101, 5, {800, 840}, {{5, {0, 40, 320, 40}}, {100, {0, 800, 120, 40}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ThumbnailLayout l = foldTrain(c.cars);
        EXPECT_EQ(std::tuple(l.carsPerRow, l.size, l.places.size()), std::tuple(c.carsPerRow, c.size, c.cars.size()));
        for (const auto& [i, rect] : c.places) EXPECT_EQ(l.places.at(i), rect) << i;
    }
}

TEST(ThumbnailSize, TheLongerSideFitsAndTheAspectIsKeptNeverBlownUp) {
    const struct {
        QSize picture;
        int side;
        QSize size;
    } cases[] = {
        {{800, 840}, 256, {244, 256}},
        {{240, 160}, 256, {240, 160}},
        {{15320, 40}, 256, {256, 1}},
        {{120, 40}, 1, {1, 1}},
        {{}, 256, {}},
        {{120, 40}, 0, {}},
    };
    for (const auto& [picture, side, size] : cases)
        EXPECT_EQ(thumbnailSize(picture, side), size) << picture.width() << "x" << picture.height() << " in " << side;
}

QImage filled(QSize size, QRgb rgb) {
    QImage i(size, QImage::Format_RGB32);
    i.fill(rgb);
    return i;
}

TEST(DrawThumbnail, CarsStandAtTheirPlacesScaledOnTransparency) {
    const QRgb red = qRgb(204, 34, 0), green = qRgb(34, 170, 68), blue = qRgb(34, 68, 204);
    const QImage a = filled({100, 100}, red), b = filled({100, 20}, green), c = filled({100, 100}, blue);
    const ThumbnailLayout l = foldTrain({a.size(), b.size(), c.size()});  // two a row: 200 x 200
    // Scaled by half: each car's colour at its place, transparency where a short car leaves room.
    const QImage half = drawThumbnail(l, {&a, &b, &c}, 100);
    ASSERT_EQ(half.size(), QSize(100, 100));
    const std::pair<QPoint, QRgb> pixels[] = {{{25, 25}, red}, {{75, 4}, green}, {{75, 30}, 0}, {{25, 75}, blue}};
    for (const auto& [at, rgb] : pixels) EXPECT_EQ(half.pixel(at), rgb) << at.x() << "," << at.y();
    // Headers can claim 32767 dots a side: the train is never drawn at the size claimed, and the cars
    // still land at their places.
    const QImage small = filled({2, 2}, red);
    const ThumbnailLayout huge = foldTrain(std::vector<QSize>(4, QSize(32767, 32767)));
    const QImage out = drawThumbnail(huge, {&small, nullptr, nullptr, &small}, 256);
    ASSERT_EQ(std::pair(huge.size, out.size()), std::pair(QSize(65534, 65534), QSize(256, 256)));
    EXPECT_EQ(std::tuple(out.pixel(64, 64), out.pixel(192, 64), out.pixel(192, 192)), std::tuple(red, QRgb(0), red));
}

}  // namespace
}  // namespace ksn
