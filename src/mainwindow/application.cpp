#include "mainwindow/application.h"

#include "mainwindow/qtjapanese.h"
#include "platform/widgetlib.h"
#include "support/product/version.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>

#include <optional>
#include <utility>

namespace ksn {

namespace {

class LazyIconEngine : public QIconEngine {
public:
    explicit LazyIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("ksn.lazy"); }

private:
    const QIcon& icon() {
        if (!icon_) icon_ = make_();
        return *icon_;
    }

    std::function<QIcon()> make_;
    std::optional<QIcon> icon_;
};

// The style the application would have, but for the extension buttons of the menu bar and the
// toolbar (shown only when a window is too narrow for them): Qt makes their icons from file names
// at once, which asks every image format plugin whether a file is theirs and so loads the GIF, ICO
// and JPEG readers at every start. Their icons are now made when first shown.
class LazyExtensionIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override {
        if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(icon, option, widget);
        const QStyle* base = baseStyle();
        return lazyIcon([base, icon] { return base->standardIcon(icon); });
    }
};

}  // namespace

QIcon lazyIcon(std::function<QIcon()> make) { return QIcon(new LazyIconEngine(std::move(make))); }

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("ksned32"));
    QApplication::setApplicationVersion(QStringLiteral(KSNED_VERSION));
    QApplication::setWindowIcon(lazyIcon([] { return pngIcon(QStringLiteral(":/icons/ksned32.png")); }));
    // The installed desktop entry's name: Wayland desktops match the windows to it and its icon.
    QApplication::setDesktopFileName(QStringLiteral("example.ksned32.KSNED32"));
    // The windows are Japanese whatever the system language; so are Qt's own boxes and dialogs.
    // Without the translation the message and input boxes still get Japanese buttons of ours.
    installQtJapanese();
    // A style the factory cannot make again (one set up by other means) is left as it is.
    if (QStyle* base = QStyleFactory::create(QApplication::style()->name()))
        QApplication::setStyle(new LazyExtensionIconStyle(base));
}

}  // namespace ksn
