// One car's place in the whole-train view: a picture drawn to the slot's size, and a tool tip.
//
// The view holds up to 101 of them. A label would also carry text layout, a frame, alignment and
// size hints for contents it never has; this control draws its picture and nothing else, which
// keeps building and showing a long train close to the cost of decoding its pictures.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace ksn {

class PictureSlot : public QWidget {
public:
    explicit PictureSlot(QWidget* parent) : QWidget(parent) {}

    const QPixmap& pixmap() const { return pixmap_; }
    void setPixmap(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap pixmap_;
};

}  // namespace ksn
