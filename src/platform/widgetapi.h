// The members of Win32ApiClass that act on windows, paint devices and screens, with the results
// of the Windows functions of the same names: a window handle is a QWidget, a device context a
// QPainter.
#pragma once

#include <QtGlobal>

class QPainter;
class QPaintDevice;
class QWidget;

namespace ksn {

// The Windows RECT layout: left, top, right, bottom; right and bottom just outside the area.
struct WorkAreaRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
};

// Where SetWindowPos puts a window in the stacking order (or a window's handle, winId(), to go
// below that window).
inline constexpr qintptr HWND_TOP = 0;
inline constexpr qintptr HWND_BOTTOM = 1;
inline constexpr qintptr HWND_TOPMOST = -1;
inline constexpr qintptr HWND_NOTOPMOST = -2;

inline constexpr quint32 SWP_NOSIZE = 0x0001;
inline constexpr quint32 SWP_NOMOVE = 0x0002;
inline constexpr quint32 SWP_NOZORDER = 0x0004;
inline constexpr quint32 SWP_NOACTIVATE = 0x0010;
inline constexpr quint32 SWP_SHOWWINDOW = 0x0040;
inline constexpr quint32 SWP_HIDEWINDOW = 0x0080;

inline constexpr quint32 SRCCOPY = 0x00CC0020;
inline constexpr quint32 SRCPAINT = 0x00EE0086;
inline constexpr quint32 SRCAND = 0x008800C6;
inline constexpr quint32 SRCINVERT = 0x00660046;
inline constexpr quint32 NOTSRCCOPY = 0x00330008;
inline constexpr quint32 DSTINVERT = 0x00550009;
inline constexpr quint32 BLACKNESS = 0x00000042;
inline constexpr quint32 WHITENESS = 0x00FF0062;

// The primary screen's area not covered by panels and task bars, in pixels. Non-zero on success;
// 0, with Rect unchanged, when there is no screen.
qint32 GetWorkArea(WorkAreaRect& Rect);

// Moves, sizes, restacks, shows or hides a window. X, Y: the outer corner (screen coordinates
// for a window, the parent's for a child); cx, cy: the outer size. Reports 0.
qint32 SetWindowPos(QWidget* hwnd, qintptr hWndInsertAfter, int X, int Y, int cx, int cy, quint32 wFlags);

// Copies the source rectangle of hSrcDC (a QImage, QPixmap or QWidget) onto the destination
// rectangle of the painter, stretched or shrunk to fit and mirrored where the two widths or
// heights differ in sign, combined with the destination by dwRop. Non-zero on success; 0 for a
// painter that is not painting, a source that is no image, or a raster operation it does not know.
qint32 StretchBlt(QPainter* hdc, int X, int Y, int nWidth, int nHeight, const QPaintDevice* hSrcDC, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight, quint32 dwRop);

}  // namespace ksn
