#include "parade/window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>

namespace ksn::parade {

namespace {

xcb_connection_t* x11() {
    auto* app = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return app ? app->connection() : nullptr;
}

}  // namespace

ParadeWindow::ParadeWindow(Parade& parade) : parade_(parade) {
    setTitle(QStringLiteral("KSNED32 パレード"));
    clock_.start();
}

ParadeWindow::~ParadeWindow() {
    if (host_) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ParadeWindow::embedInto(std::uint32_t host) {
    xcb_connection_t* c = x11();
    if (!c) return false;
    // Qt's window for the host reports no size and no changes: ask the server, and watch the host.
    const xcb_get_geometry_cookie_t cookie = xcb_get_geometry(c, host);
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, cookie, nullptr);
    if (!g) return false;
    const QSize size(g->width, g->height);
    std::free(g);  // xcb replies are malloc()ed
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, host, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    host_ = host;
    QCoreApplication::instance()->installNativeEventFilter(this);
    // A child of the host: a backing store on the host's own window would need a format Qt
    // cannot find for it.
    setParent(QWindow::fromWinId(WId(host)));
    setGeometry(QRect(QPoint(), size));
    return true;
}

bool ParadeWindow::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
        case XCB_CONFIGURE_NOTIFY: {
            auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            if (e->window == host_) setGeometry(0, 0, e->width, e->height);
            break;
        }
        case XCB_DESTROY_NOTIFY:
            // A preview whose settings window closed must not live on.
            if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == host_) QCoreApplication::exit(0);
            break;
    }
    return false;
}

void ParadeWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Paced by the windowing system's update requests: one frame a refresh, none while still.
    if (parade_.draw(p, size(), now())) {
        update();
    } else if (const auto at = parade_.retryAt()) {
        // Nothing runs: no frames until it is time to look at the formations again.
        QTimer::singleShot(int((*at - now()) * 1000) + 1, this, [this] { update(); });
    }
}

void ParadeWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Q:
            close();
            break;
        case Qt::Key_Space:
            parade_.togglePause(now());
            break;
        case Qt::Key_Right:
        case Qt::Key_Left:
            parade_.skip(event->key() == Qt::Key_Right ? 1 : -1, now());
            break;
        case Qt::Key_F11:
            if (!embedded()) setWindowStates(windowStates() ^ Qt::WindowFullScreen);
            break;
        default:
            QRasterWindow::keyPressEvent(event);
            return;
    }
    update();
}

}  // namespace ksn::parade
