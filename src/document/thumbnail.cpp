#include "document/thumbnail.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ksn {

namespace {

// The folded picture is drawn at full size up to this many pixels (64 MiB); a larger one, which only
// lying headers make, is drawn already shrunk, so that memory stays bounded whatever the train.
constexpr double kMaxCanvasPixels = 16.0 * 1024 * 1024;

struct Box {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The bounding box of sizes folded k to a row.
Box foldedBox(const std::vector<QSize>& sizes, size_t k) {
    Box box;
    for (size_t first = 0; first < sizes.size(); first += k) {
        std::int64_t width = 0, height = 0;
        for (size_t i = first; i < std::min(sizes.size(), first + k); ++i) {
            width += sizes[i].width();
            height = std::max<std::int64_t>(height, sizes[i].height());
        }
        box.width = std::max(box.width, width);
        box.height += height;
    }
    return box;
}

}  // namespace

ThumbnailLayout foldTrain(const std::vector<QSize>& cars) {
    ThumbnailLayout layout;
    layout.places.resize(cars.size());
    std::vector<QSize> sizes;
    for (const QSize& s : cars)
        if (!s.isEmpty()) sizes.push_back(s);
    if (sizes.empty()) return layout;

    double best = std::numeric_limits<double>::infinity();
    for (size_t k = 1; k <= sizes.size(); ++k) {
        const Box box = foldedBox(sizes, k);
        const double score = std::abs(std::log(double(box.width) / double(box.height)));
        // Ascending k: on a tie the longer rows, hence fewer of them, win.
        if (score <= best) {
            best = score;
            layout.carsPerRow = int(k);
        }
    }

    int x = 0, y = 0, rowHeight = 0, inRow = 0, right = 0;
    for (size_t i = 0; i < cars.size(); ++i) {
        if (cars[i].isEmpty()) continue;
        if (inRow == layout.carsPerRow) {
            y += rowHeight;
            x = rowHeight = inRow = 0;
        }
        layout.places[i] = QRect(QPoint(x, y), cars[i]);
        x += cars[i].width();
        right = std::max(right, x);
        rowHeight = std::max(rowHeight, cars[i].height());
        ++inRow;
    }
    layout.size = QSize(right, y + rowHeight);
    return layout;
}

QSize thumbnailSize(QSize picture, int side) {
    if (picture.isEmpty() || side < 1) return {};
    const int longer = std::max(picture.width(), picture.height());
    if (longer <= side) return picture;
    const double scale = double(side) / double(longer);
    const auto scaled = [&](int length) { return std::max(1, int(std::lround(length * scale))); };
    return picture.width() >= picture.height() ? QSize(side, scaled(picture.height()))
                                               : QSize(scaled(picture.width()), side);
}

QImage drawThumbnail(const ThumbnailLayout& layout, const std::vector<const QImage*>& pictures, int side) {
    const QSize target = thumbnailSize(layout.size, side);
    if (target.isEmpty()) return {};
    const double area = double(layout.size.width()) * double(layout.size.height());
    const double shrink = std::min(1.0, std::sqrt(kMaxCanvasPixels / area));
    const QSize canvasSize(std::max(1, int(std::ceil(layout.size.width() * shrink))),
                           std::max(1, int(std::ceil(layout.size.height() * shrink))));
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return {};
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrink < 1.0);
    for (size_t i = 0; i < layout.places.size() && i < pictures.size(); ++i) {
        const QImage* picture = pictures[i];
        const QRect& place = layout.places[i];
        if (!picture || picture->isNull() || place.isEmpty()) continue;
        if (shrink < 1.0)
            painter.drawImage(QRectF(place.x() * shrink, place.y() * shrink, place.width() * shrink,
                                     place.height() * shrink),
                              *picture);
        else
            painter.drawImage(place, *picture);
    }
    painter.end();
    return canvas.size() == target ? canvas
                                   : canvas.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace ksn
