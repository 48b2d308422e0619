// The whole-train view: every car of the car list side by side at its bitmap size, in one strip
// that the scroll bar along the bottom moves. A snapshot: it is built once from a TrainStrip and
// never follows later edits.
#pragma once

#include "document/trainlayout.h"
#include "viewers/pictureslot.h"

#include <QWidget>

#include <vector>

class QScrollBar;

namespace ksn {

class frmTrain : public QWidget {
    Q_OBJECT
public:
    // A window of its own; closing it deletes it.
    explicit frmTrain(QWidget* parent = nullptr);

    // One slot per car-list line; the placed cars get their picture, size and tool tip. Run once.
    void build(const TrainStrip& strip);
    // Puts the window directly below owner (the main window), as wide as its outer rectangle, with
    // a client area as tall as the scroll bar plus the strip's height, and shows it.
    void showBelow(const QWidget& owner);

    // The client size changed: the scroll bar along the bottom edge and its range.
    void Form_Resize();
    // The scroll value changed, or the thumb is being dragged: every slot follows.
    void HScroll1_Change();

    // Slot i belongs to car-list line i; slot 0 (the title line) is never shown.
    std::vector<PictureSlot*> imgCar;
    QScrollBar* HScroll1 = nullptr;

    // The slot's left edge in the unscrolled strip.
    int baseLeft(int slot) const { return baseLeft_.at(size_t(slot)); }
    int totalWidth() const { return totalWidth_; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    PictureSlot* newSlot();

    std::vector<int> baseLeft_;
    int totalWidth_ = 0;
    int stripHeight_ = 0;
};

}  // namespace ksn
