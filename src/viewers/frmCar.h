// The car view: one car at its bitmap size, the client area exactly the picture. One window is
// reused by every run of the command until the user closes it.
#pragma once

#include "document/trainlayout.h"

#include <QWidget>

class QLabel;

namespace ksn {

class frmCar : public QWidget {
    Q_OBJECT
public:
    // A window of its own; closing it deletes it.
    explicit frmCar(QWidget* parent = nullptr);

    // Shows a found car: picture, tool tip and caption, the window moved directly below owner (the
    // main window) and its client area fitted to the picture.
    void showCar(const CarView& view, const QWidget& owner);

    QLabel* imgCar = nullptr;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

}  // namespace ksn
