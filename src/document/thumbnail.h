// A formation's thumbnail without a window: the train folded into rows so that its picture is as
// near square as whole cars allow, and the size that picture is scaled to.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

namespace ksn {

// The thumbnail side file managers ask for when they name none.
inline constexpr int kThumbnailDefaultSide = 256;
// The largest side --size accepts: beyond what any file manager asks for.
inline constexpr int kThumbnailMaxSide = 4096;

// Where each car of a train stands in its folded picture, in the cars' own pixels.
struct ThumbnailLayout {
    int carsPerRow = 0;         // the chosen row length; 0 for a train without a car
    std::vector<QRect> places;  // one per car, in train order; an empty size keeps an empty place
    QSize size;                 // the bounding box of all places; empty for no car
};

// The cars, in train order and at their own sizes, folded into rows of the same number of cars
// (the last row may hold fewer): each row left-aligned, its cars top-aligned and side by side, the
// rows stacked, each as tall as its tallest car. Of all row lengths, the one whose bounding box has
// the aspect nearest 1 (|log(width / height)| smallest) wins; on a tie, the one with fewer rows.
// Cars of empty size take no place, as in the whole-train view.
ThumbnailLayout foldTrain(const std::vector<QSize>& cars);

// The size a picture of the given size is scaled to within side x side, the aspect kept: the longer
// side becomes side, the other rounded and at least 1. A picture that already fits keeps its size:
// a short train is never blown up. Empty for an empty picture or a side below 1.
QSize thumbnailSize(QSize picture, int side);

// The cars drawn on a transparent picture of thumbnailSize(layout.size, side), each scaled smoothly to
// its place scaled (edges rounded, at least one pixel a side). pictures[i] belongs to
// layout.places[i]; a null picture leaves its place transparent. Null when the layout is empty or
// the picture cannot be allocated.
QImage drawThumbnail(const ThumbnailLayout& layout, const std::vector<const QImage*>& pictures, int side);

// The same picture drawn one car at a time, so that a caller reading the cars one by one need
// hold no more than one of them.
class ThumbnailCanvas {
public:
    ThumbnailCanvas(const ThumbnailLayout& layout, int side);
    // Its painter holds the address of the picture: a canvas stays where it was made.
    ThumbnailCanvas(const ThumbnailCanvas&) = delete;
    ThumbnailCanvas& operator=(const ThumbnailCanvas&) = delete;
    // Null when the layout is empty or the picture cannot be allocated; draw then does nothing.
    bool isNull() const { return out_.isNull(); }
    // Draws picture in the place of car i (a null picture leaves it transparent).
    void draw(size_t i, const QImage& picture);
    // The picture, once every car is drawn.
    QImage take();

private:
    const ThumbnailLayout& layout_;
    QImage out_;
    std::unique_ptr<QPainter> painter_;
    double sx_ = 0, sy_ = 0;
};

}  // namespace ksn
