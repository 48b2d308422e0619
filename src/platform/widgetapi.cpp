#include "platform/widgetapi.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <iterator>
#include <utility>

namespace ksn {

qint32 GetWorkArea(WorkAreaRect& Rect) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 0;
    const QRect a = screen->availableGeometry();
    Rect = {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
    return 1;
}

qint32 SetWindowPos(QWidget* hwnd, qintptr hWndInsertAfter, int X, int Y, int cx, int cy, quint32 wFlags) {
    if (!hwnd) return 0;
    const bool window = hwnd->isWindow();
    // A window's outer edges include its frame; move() takes the frame's corner, resize() the inside.
    const QSize frameExtra = window ? hwnd->frameGeometry().size() - hwnd->size() : QSize(0, 0);
    if (!(wFlags & SWP_NOMOVE)) hwnd->move(X, Y);
    if (!(wFlags & SWP_NOSIZE)) hwnd->resize(cx - frameExtra.width(), cy - frameExtra.height());

    if (!(wFlags & SWP_NOZORDER)) {
        if (hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
            const bool topmost = hWndInsertAfter == HWND_TOPMOST;
            if (window && bool(hwnd->windowFlags() & Qt::WindowStaysOnTopHint) != topmost) {
                // Changing a shown window's flags hides it; it comes back where it was.
                const bool shown = hwnd->isVisible();
                hwnd->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
                if (shown) hwnd->show();
            }
            hwnd->raise();
        } else if (hWndInsertAfter == HWND_TOP) {
            hwnd->raise();
        } else if (hWndInsertAfter == HWND_BOTTOM) {
            hwnd->lower();
        } else if (QWidget* after = QWidget::find(WId(hWndInsertAfter)); after && after != hwnd) {
            hwnd->stackUnder(after);
        }
    }
    if (wFlags & SWP_SHOWWINDOW) hwnd->show();
    if (wFlags & SWP_HIDEWINDOW) hwnd->hide();
    if (window && hwnd->isVisible() && !(wFlags & (SWP_NOACTIVATE | SWP_HIDEWINDOW))) hwnd->activateWindow();
    return 0;
}

namespace {

QImage imageOf(const QPaintDevice* device) {
    if (!device) return {};
    if (const auto* image = dynamic_cast<const QImage*>(device)) return *image;
    if (const auto* pixmap = dynamic_cast<const QPixmap*>(device)) return pixmap->toImage();
    if (const auto* widget = dynamic_cast<const QWidget*>(device))
        return const_cast<QWidget*>(widget)->grab().toImage();
    return {};
}

// A rectangle from a corner and a signed size: a negative size reaches back from the corner.
QRect spanned(int x, int y, int w, int h) { return QRect(x, y, w, h).normalized(); }

}  // namespace

qint32 StretchBlt(QPainter* hdc, int X, int Y, int nWidth, int nHeight, const QPaintDevice* hSrcDC, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight, quint32 dwRop) {
    if (!hdc || !hdc->isActive()) return 0;
    const QRect target = spanned(X, Y, nWidth, nHeight);
    if (dwRop == BLACKNESS || dwRop == WHITENESS) {
        hdc->fillRect(target, dwRop == BLACKNESS ? Qt::black : Qt::white);
        return 1;
    }
    // The raster operations a painter can do, by their Windows codes.
    static const std::pair<quint32, QPainter::CompositionMode> kModes[] = {
        {SRCCOPY, QPainter::CompositionMode_Source},       {SRCPAINT, QPainter::RasterOp_SourceOrDestination},
        {SRCAND, QPainter::RasterOp_SourceAndDestination}, {SRCINVERT, QPainter::RasterOp_SourceXorDestination},
        {NOTSRCCOPY, QPainter::RasterOp_NotSource},        {DSTINVERT, QPainter::RasterOp_NotDestination}};
    const auto found =
        std::find_if(std::begin(kModes), std::end(kModes), [&](const auto& m) { return m.first == dwRop; });
    if (found == std::end(kModes)) return 0;
    const QPainter::CompositionMode mode = found->second;
    const QPainter::CompositionMode saved = hdc->compositionMode();
    hdc->setCompositionMode(mode);
    if (dwRop == DSTINVERT) {
        hdc->fillRect(target, Qt::black);  // the source plays no part
    } else {
        const QImage source = imageOf(hSrcDC);
        if (source.isNull()) {
            hdc->setCompositionMode(saved);
            return 0;
        }
        const QImage part = source.copy(spanned(xSrc, ySrc, nSrcWidth, nSrcHeight));
        const bool flipX = (nWidth < 0) != (nSrcWidth < 0);
        const bool flipY = (nHeight < 0) != (nSrcHeight < 0);
        hdc->drawImage(target, flipX || flipY ? part.mirrored(flipX, flipY) : part);
    }
    hdc->setCompositionMode(saved);
    return 1;
}

}  // namespace ksn
