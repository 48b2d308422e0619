#include "document/thumbnail.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ksn {

namespace {

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

ThumbnailCanvas::ThumbnailCanvas(const ThumbnailLayout& layout, int side) : layout_(layout) {
    const QSize target = thumbnailSize(layout.size, side);
    if (target.isEmpty()) return;
    out_ = QImage(target, QImage::Format_ARGB32_Premultiplied);
    if (out_.isNull()) return;
    out_.fill(Qt::transparent);
    sx_ = double(target.width()) / layout.size.width();
    sy_ = double(target.height()) / layout.size.height();
    painter_ = std::make_unique<QPainter>(&out_);
}

void ThumbnailCanvas::draw(size_t i, const QImage& picture) {
    if (out_.isNull() || i >= layout_.places.size()) return;
    const QRect& p = layout_.places[i];
    if (picture.isNull() || p.isEmpty()) return;
    // Each car is scaled to its own place, whose edges are the layout's edges scaled and rounded, so
    // that neighbours meet without a gap: the train at full size is never drawn, whatever size its
    // headers claim, and small pictures are scaled on one thread where the whole would take a pool.
    const auto edge = [](int at, double scale) { return int(std::lround(at * scale)); };
    const int left = edge(p.x(), sx_), top = edge(p.y(), sy_);
    // A car never shrinks to nothing: at least one pixel of it shows.
    const QSize size(std::max(1, edge(p.x() + p.width(), sx_) - left),
                     std::max(1, edge(p.y() + p.height(), sy_) - top));
    painter_->drawImage(QPoint(left, top), picture.size() == size
                                               ? picture
                                               : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QImage ThumbnailCanvas::take() {
    if (painter_) painter_->end();
    painter_.reset();
    return std::move(out_);
}

QImage drawThumbnail(const ThumbnailLayout& layout, const std::vector<const QImage*>& pictures, int side) {
    ThumbnailCanvas canvas(layout, side);
    for (size_t i = 0; i < layout.places.size() && i < pictures.size(); ++i)
        if (pictures[i]) canvas.draw(i, *pictures[i]);
    return canvas.take();
}

}  // namespace ksn
