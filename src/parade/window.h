// The parade's window: a plain window of its own, or a child of a window a screensaver host hands
// over by its X11 id, following that window's size and ending when it goes.
#pragma once

#include "parade/parade.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QRasterWindow>

#include <cstdint>

namespace ksn::parade {

class ParadeWindow : public QRasterWindow, public QAbstractNativeEventFilter {
public:
    explicit ParadeWindow(Parade& parade);
    ~ParadeWindow() override;
    // Becomes a child of the X11 window `host`, as large as it; false when there is no such window.
    bool embedInto(std::uint32_t host);
    bool embedded() const { return host_ != 0; }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    double now() const { return double(clock_.nsecsElapsed()) / 1e9; }

    Parade& parade_;
    QElapsedTimer clock_;
    std::uint32_t host_ = 0;
};

}  // namespace ksn::parade
