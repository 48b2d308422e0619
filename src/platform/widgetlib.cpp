#include "platform/widgetlib.h"

#include "platform/nationalform.h"
#include "support/mylib.h"
#include "support/settings/placement.h"
#include "support/text/numtext.h"

#include <QAction>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace ksn {

void ButtonVisible(QWidget& frm, bool OnOff) {
    for (QObject* c : formControls(frm))
        if (auto* b = qobject_cast<QPushButton*>(c)) b->setVisible(OnOff);
}

namespace {

// A control's own enabled state, not the one it inherits from a disabled parent.
bool ownEnabled(const QObject* c) {
    if (auto* a = qobject_cast<const QAction*>(c)) return a->isEnabled();
    return !static_cast<const QWidget*>(c)->testAttribute(Qt::WA_ForceDisabled);
}

void setOwnEnabled(QObject* c, bool on) {
    if (auto* a = qobject_cast<QAction*>(c))
        a->setEnabled(on);
    else
        static_cast<QWidget*>(c)->setEnabled(on);
}

}  // namespace

void EnableAPI(QWidget& objFrm, const QString& PriFix, QStringList& OnOffData, bool OnOff, bool Restore) {
    const qsizetype used = OnOffData.size() - 1;  // slots 0 .. upper bound - 1
    const QList<QObject*> controls = formControls(objFrm);
    if (!Restore) {
        qsizetype n = 0;
        for (QObject* c : controls) {
            if (n >= used) break;
            if (!c->objectName().startsWith(PriFix)) continue;
            OnOffData[n] = (ownEnabled(c) ? QStringLiteral("T") : QStringLiteral("F")) + c->objectName();
            auto* a = qobject_cast<QAction*>(c);
            if (PriFix == u"mnu" && !(a && a->isSeparator())) setOwnEnabled(c, OnOff);
            ++n;
        }
        return;
    }
    for (QObject* c : controls) {
        if (!c->objectName().startsWith(PriFix)) continue;
        for (qsizetype i = 0; i < used; ++i)
            if (OnOffData[i].mid(1) == c->objectName()) setOwnEnabled(c, OnOffData[i].startsWith(u'T'));
    }
}

QString FormatText(const QString& Str, const QWidget& window) {
    const QFontMetricsF metrics(window.font());
    return MyLibClass::FormatText(Str, [&](const QString& ch) { return metrics.horizontalAdvance(ch); });
}

namespace {

QScreen* screenOf(const QWidget& w) {
    QScreen* s = w.screen();
    return s ? s : QGuiApplication::primaryScreen();
}

}  // namespace

double twipsPerPixel(const QWidget& window) {
    const QScreen* s = screenOf(window);
    const double dpi = s ? s->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

namespace {

// A top-level widget as the placement rules see it: its frame's edges in twips, within the
// virtual desktop of its screen.
class WidgetPlacement : public PlacedWindow {
public:
    explicit WidgetPlacement(QWidget& w) : w_(w), tpp_(twipsPerPixel(w)) {}

    QString name() const override { return w_.objectName(); }
    double top() const override { return w_.frameGeometry().top() * tpp_; }
    double left() const override { return w_.frameGeometry().left() * tpp_; }
    double width() const override { return w_.frameGeometry().width() * tpp_; }
    double height() const override { return w_.frameGeometry().height() * tpp_; }
    // move() places a window's frame, so the frame's corner is what is given.
    void setTop(double t) override { w_.move(w_.frameGeometry().left(), pixels(t)); }
    void setLeft(double t) override { w_.move(pixels(t), w_.frameGeometry().top()); }
    // resize() sizes the inside; the frame adds what it adds.
    void setWidth(double t) override { w_.resize(pixels(t) - (w_.frameGeometry().width() - w_.width()), w_.height()); }
    void setHeight(double t) override {
        w_.resize(w_.width(), pixels(t) - (w_.frameGeometry().height() - w_.height()));
    }
    // The far edges of the desktop: a window on a second screen keeps its place there.
    double screenWidth() const override { return (desktop().left() + desktop().width()) * tpp_; }
    double screenHeight() const override { return (desktop().top() + desktop().height()) * tpp_; }

private:
    int pixels(double twips) const { return int(roundHalfEven(twips / tpp_)); }
    QRect desktop() const {
        const QScreen* s = screenOf(w_);
        return s ? s->virtualGeometry() : QRect();
    }

    QWidget& w_;
    double tpp_;
};

}  // namespace

void SavePossition(QWidget& Form) { ksn::SavePossition(WidgetPlacement(Form)); }

void RestorePossition(QWidget& Form, double MinWidth, double MinHeight) {
    WidgetPlacement placement(Form);
    ksn::RestorePossition(placement, MinWidth, MinHeight);
}

QIcon pngIcon(const QString& path) {
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace ksn
