// The thumbnail's layout: rows as near square as whole cars allow, and the scale that fits it.
#include "document/thumbnail.h"

#include <gtest/gtest.h>

#include <QColor>
#include <tuple>
#include <utility>

namespace ksn {
namespace {

std::vector<QSize> repeat(int n, QSize a, QSize every6th) {
    std::vector<QSize> v;
    for (int i = 0; i < n; ++i) v.push_back(i % 6 == 5 ? every6th : a);
    return v;
}

TEST(FoldTrain, RowsMakeTheBoxNearestSquareWithoutCuttingACar) {
    const QSize car(120, 40), tall(100, 100), low(100, 20);
    const struct {
        const char* name;
        std::vector<QSize> cars;
        int carsPerRow;
        QSize size;
        std::vector<std::pair<size_t, QRect>> places;  // some places worth checking
    } cases[] = {
        {"no car", {}, 0, {}, {}},
        {"only cars without a size", {{}, {}}, 0, {}, {{1, {}}}},
        {"one car keeps its size", {car}, 1, {120, 40}, {{0, {0, 0, 120, 40}}}},
        {"one long car stays one row", {{2000, 40}}, 1, {2000, 40}, {}},
        {"seven cars, two a row",
         std::vector<QSize>(7, car),
         2,
         {240, 160},
         {{1, {120, 0, 120, 40}}, {6, {0, 120, 120, 40}}}},
        {"a tie takes fewer rows", {tall, tall}, 2, {200, 100}, {{1, {100, 0, 100, 100}}}},
        // Each row is as tall as its tallest car; a car without a size neither stands nor counts.
        {"rows of mixed heights",
         {tall, {}, low, tall, low},
         2,
         {200, 200},
         {{1, {}}, {2, {100, 0, 100, 20}}, {3, {0, 100, 100, 100}}, {4, {100, 100, 100, 20}}}},
        // A 12-dot bellows piece takes its place in the row like any car.
        {"bellows between cars", {car, {12, 40}, car}, 1, {120, 120}, {{1, {0, 40, 12, 40}}}},
        // 101 cars, every sixth twice as long: five a row, one long car in each, 21 rows.
        {"101 cars", repeat(101, car, {320, 40}), 5, {800, 840}, {{5, {0, 40, 320, 40}}, {100, {0, 800, 120, 40}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ThumbnailLayout l = foldTrain(c.cars);
        EXPECT_EQ(std::tuple(l.carsPerRow, l.size, l.places.size()), std::tuple(c.carsPerRow, c.size, c.cars.size()));
        for (const auto& [i, rect] : c.places) EXPECT_EQ(l.places.at(i), rect) << i;
        // Every car whole, inside the box, none over another, in train order row after row.
        for (size_t i = 0; i < l.places.size(); ++i) {
            EXPECT_EQ(l.places[i].size(), c.cars[i].isEmpty() ? QSize(0, 0) : c.cars[i]) << i;
            if (l.places[i].isEmpty()) continue;
            EXPECT_TRUE(QRect(QPoint(), l.size).contains(l.places[i])) << i;
            for (size_t j = i + 1; j < l.places.size(); ++j) {
                if (l.places[j].isEmpty()) continue;
                EXPECT_FALSE(l.places[i].intersects(l.places[j])) << i << " " << j;
                EXPECT_TRUE(l.places[j].y() > l.places[i].y() || l.places[j].x() > l.places[i].x()) << i << " " << j;
            }
        }
    }
}

TEST(ThumbnailSize, TheLongerSideFitsAndTheAspectIsKeptNeverBlownUp) {
    const struct {
        QSize picture;
        int side;
        QSize size;
    } cases[] = {
        {{800, 840}, 256, {244, 256}},
        {{840, 800}, 256, {256, 244}},
        {{240, 160}, 256, {240, 160}},
        {{256, 10}, 256, {256, 10}},
        {{15320, 40}, 256, {256, 1}},
        {{240, 160}, 60, {60, 40}},
        {{120, 40}, 1, {1, 1}},
        {{}, 256, {}},
        {{120, 40}, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(thumbnailSize(c.picture, c.side), c.size)
            << c.picture.width() << "x" << c.picture.height() << " in " << c.side;
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
    const struct {
        int side;
        QSize size;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    } cases[] = {
        {256, {200, 200}, {{{0, 0}, red}, {{199, 19}, green}, {{150, 20}, 0}, {{99, 199}, blue}, {{100, 100}, 0}}},
        {100, {100, 100}, {{{25, 25}, red}, {{75, 4}, green}, {{75, 30}, 0}, {{25, 75}, blue}, {{75, 75}, 0}}},
    };
    for (const auto& t : cases) {
        const QImage out = drawThumbnail(l, {&a, &b, &c}, t.side);
        ASSERT_EQ(out.size(), t.size) << t.side;
        for (const auto& [at, rgb] : t.pixels)
            EXPECT_EQ(out.pixel(at), rgb) << t.side << ": " << at.x() << "," << at.y();
    }
}

// Headers can claim 32767 dots a side: the train is never drawn at the size claimed, and the cars
// still land at their places.
TEST(DrawThumbnail, AHugeClaimedTrainIsDrawnWithinBoundedMemory) {
    const QRgb red = qRgb(204, 34, 0);
    const QImage small = filled({2, 2}, red);
    const ThumbnailLayout l = foldTrain(std::vector<QSize>(4, QSize(32767, 32767)));
    ASSERT_EQ(l.size, QSize(65534, 65534));
    const QImage out = drawThumbnail(l, {&small, nullptr, nullptr, &small}, 256);
    ASSERT_EQ(out.size(), QSize(256, 256));
    EXPECT_EQ(std::tuple(out.pixel(64, 64), out.pixel(192, 64), out.pixel(192, 192)), std::tuple(red, QRgb(0), red));
}

}  // namespace
}  // namespace ksn
