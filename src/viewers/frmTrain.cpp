#include "viewers/frmTrain.h"

#include "viewers/filedrop.h"

#include <QDropEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>

namespace ksn {

frmTrain::frmTrain(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTrain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setMinimum(0);
    HScroll1->resize(HScroll1->width(), style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, HScroll1));
    // valueChanged covers clicks, keys and (with tracking) the drag; sliderMoved keeps the strip on
    // the thumb even where tracking is off.
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmTrain::HScroll1_Change);
    connect(HScroll1, &QScrollBar::sliderMoved, this, &frmTrain::HScroll1_Change);

    newSlot()->hide();
}

PictureSlot* frmTrain::newSlot() {
    auto* slot = new PictureSlot(this);
    slot->setObjectName(QStringLiteral("imgCar"));
    slot->setProperty("Index", int(imgCar.size()));
    slot->setGeometry(0, 0, 0, 0);
    imgCar.push_back(slot);
    baseLeft_.push_back(0);
    return slot;
}

void frmTrain::build(const TrainStrip& strip) {
    while (int(imgCar.size()) < strip.rowCount) newSlot();
    for (const TrainCar& car : strip.cars) {
        if (!car.placed) continue;
        PictureSlot* slot = imgCar.at(size_t(car.row));
        if (!car.picture.isNull()) slot->setPixmap(QPixmap::fromImage(car.picture));
        slot->setToolTip(car.toolTip);
        slot->setGeometry(QRect(QPoint(car.left, 0), car.size));
        baseLeft_.at(size_t(car.row)) = car.left;
    }
    // The scroll bar is drawn over the pictures: a car taller than the strip hides behind it.
    HScroll1->raise();
    setWindowTitle(strip.caption);
    totalWidth_ = strip.totalWidth;
    stripHeight_ = strip.height;
    HScroll1->setValue(0);
}

void frmTrain::showBelow(const QWidget& owner) {
    // The frame keeps its own thickness: only the client area is sized. A window never shown has
    // no frame yet; the owner's, drawn by the same window manager, stands in for it.
    const QWidget& framed = isVisible() ? static_cast<const QWidget&>(*this) : owner;
    const int frameWidth = framed.frameGeometry().width() - framed.geometry().width();
    const QRect ownerFrame = owner.frameGeometry();
    resize(ownerFrame.width() - frameWidth, HScroll1->height() + stripHeight_);
    move(ownerFrame.left(), ownerFrame.top() + ownerFrame.height());
    show();
}

void frmTrain::Form_Resize() {
    const int w = width();
    const int h = height();
    HScroll1->setGeometry(0, h - HScroll1->height(), w, HScroll1->height());
    const ScrollRange r = trainScrollRange(totalWidth_, w, h);
    // A maximum below the value pulls the value down, and the strip with it.
    HScroll1->setMaximum(r.maximum);
    HScroll1->setPageStep(r.largeChange);
    HScroll1->setSingleStep(r.smallChange);
}

void frmTrain::HScroll1_Change() {
    // The thumb's position, which leads the value while the thumb is dragged without tracking.
    const int value = HScroll1->sliderPosition();
    for (size_t i = 0; i < imgCar.size(); ++i) imgCar[i]->move(baseLeft_[i] - value, imgCar[i]->y());
}

void frmTrain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmTrain::dragEnterEvent(QDragEnterEvent* e) { acceptFileCopy(e); }
void frmTrain::dragMoveEvent(QDragMoveEvent* e) { acceptFileCopy(e); }
void frmTrain::dropEvent(QDropEvent* e) { acceptFileCopy(e); }

}  // namespace ksn
