#include "viewers/pictureslot.h"

#include <QPaintEvent>
#include <QPainter>

namespace ksn {

void PictureSlot::setPixmap(const QPixmap& picture) {
    pixmap_ = picture;
    update();
}

void PictureSlot::paintEvent(QPaintEvent* e) {
    if (pixmap_.isNull()) return;
    QPainter p(this);
    if (pixmap_.size() == size()) {
        // The usual case: the slot has the picture's own size; only the exposed part is copied.
        p.drawPixmap(e->rect(), pixmap_, e->rect());
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), pixmap_);
    }
}

}  // namespace ksn
