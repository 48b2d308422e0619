#include "viewers/frmCar.h"

#include "viewers/filedrop.h"

#include <QDropEvent>
#include <QLabel>
#include <QPixmap>

namespace ksn {

frmCar::frmCar(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmCar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    imgCar = new QLabel(this);
    imgCar->setObjectName(QStringLiteral("imgCar"));
    imgCar->setScaledContents(true);
}

void frmCar::showCar(const CarView& view, const QWidget& owner) {
    const QSize size = view.picture.size();
    imgCar->setGeometry(QRect(QPoint(0, 0), size));
    if (view.picture.image.isNull())
        imgCar->clear();
    else
        imgCar->setPixmap(QPixmap::fromImage(view.picture.image));
    // A header without a usable size leaves no picture; the caption still tells its height.
    imgCar->setVisible(view.picture.usable());
    imgCar->setToolTip(view.toolTip);
    setWindowTitle(view.caption);
    // The frame keeps its own thickness: only the client area is sized. A window cannot be empty,
    // so a car without a picture leaves the smallest one.
    resize(size.expandedTo(QSize(1, 1)));
    const QRect ownerFrame = owner.frameGeometry();
    move(ownerFrame.left(), ownerFrame.top() + ownerFrame.height());
    show();
    // A window reused from an earlier run may lie behind the main window.
    raise();
}

void frmCar::dragEnterEvent(QDragEnterEvent* e) { acceptFileCopy(e); }
void frmCar::dragMoveEvent(QDragMoveEvent* e) { acceptFileCopy(e); }
void frmCar::dropEvent(QDropEvent* e) { acceptFileCopy(e); }

}  // namespace ksn
