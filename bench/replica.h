// A main window's controls written down and built again with plain Qt widgets: the baseline that
// tells what showing the editor's window costs in Qt, whoever builds it, from what the editor's own
// code adds. editor_child --child=describe writes the editor's window once it is shown;
// bare_window --replica=FILE builds the same window from that file, linked with Qt Widgets alone,
// with no code of the editor's.
//
// Written down: the window's title and the application's style; the menu bar's menus and items
// (captions, shortcuts, separators, checks, enabled states); each control of the client area in
// creation order with its place, visibility, enabled state and what it shows (texts, list and box
// items, the current row, frames, margins); the toolbar with its buttons' icons as PNG, sizes and
// style sheet; the status bar's panels with their stretch. Fonts and palette are the defaults in
// both programs.
#pragma once

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QBuffer>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleFactory>
#include <QToolBar>

namespace ksn::bench::replica {

inline QJsonArray rect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
inline QRect rect(const QJsonValue& v) {
    const QJsonArray a = v.toArray();
    return {a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()};
}
inline QJsonArray margins(const QMargins& m) { return {m.left(), m.top(), m.right(), m.bottom()}; }
inline QMargins margins(const QJsonValue& v) {
    const QJsonArray a = v.toArray();
    return {a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()};
}

// ------------------------------------------------------------------------------------ describing

inline QJsonObject describeAction(const QAction* a) {
    QJsonObject o{{"separator", a->isSeparator()},
                  {"text", a->text()},
                  {"enabled", a->isEnabled()},
                  {"checkable", a->isCheckable()},
                  {"checked", a->isChecked()},
                  {"shortcut", a->shortcut().toString()},
                  {"tip", a->toolTip()}};
    if (!a->icon().isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        a->icon().pixmap(a->icon().availableSizes().value(0, QSize(16, 16))).save(&buffer, "PNG");
        o[QStringLiteral("png")] = QString::fromLatin1(png.toBase64());
    }
    return o;
}

inline QJsonObject describeWidget(const QWidget* w) {
    QJsonObject o{{"geometry", rect(w->geometry())},
                  {"visible", !w->isHidden()},
                  {"enabled", w->isEnabled()},
                  {"minimumWidth", w->minimumWidth()},
                  {"margins", margins(w->contentsMargins())},
                  {"styleSheet", w->styleSheet()},
                  {"toolTip", w->toolTip()}};
    if (const auto* bar = qobject_cast<const QStatusBar*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("statusbar");
        o[QStringLiteral("sizeGrip")] = bar->isSizeGripEnabled();
        const QList<QBoxLayout*> boxes = bar->findChildren<QBoxLayout*>();
        QJsonArray panels;
        for (const QLabel* label : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            QJsonObject panel = describeWidget(label);
            for (const QBoxLayout* box : boxes)
                if (const int i = box->indexOf(label); i >= 0) panel[QStringLiteral("stretch")] = box->stretch(i);
            panels.append(panel);
        }
        o[QStringLiteral("panels")] = panels;
    } else if (const auto* tools = qobject_cast<const QToolBar*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("toolbar");
        o[QStringLiteral("iconSize")] = tools->iconSize().width();
        o[QStringLiteral("movable")] = tools->isMovable();
        o[QStringLiteral("layoutMargins")] = margins(tools->layout()->contentsMargins());
        QJsonArray actions;
        for (QAction* a : tools->actions()) {
            QJsonObject action = describeAction(a);
            if (const QWidget* button = tools->widgetForAction(a); button && !a->isSeparator())
                action[QStringLiteral("buttonSize")] = rect(QRect(QPoint(), button->minimumSize()));
            actions.append(action);
        }
        o[QStringLiteral("actions")] = actions;
    } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("list");
        QJsonArray items;
        for (int i = 0; i < list->count(); ++i) items.append(list->item(i)->text());
        o[QStringLiteral("items")] = items;
        o[QStringLiteral("uniform")] = list->uniformItemSizes();
        o[QStringLiteral("current")] = list->currentRow();
        o[QStringLiteral("selected")] = !list->selectedItems().isEmpty();
    } else if (const auto* box = qobject_cast<const QComboBox*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("combobox");
        QJsonArray items;
        for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
        o[QStringLiteral("items")] = items;
        o[QStringLiteral("current")] = box->currentIndex();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("lineedit");
        o[QStringLiteral("text")] = edit->text();
    } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("pushbutton");
        o[QStringLiteral("text")] = button->text();
    } else if (qobject_cast<const QProgressBar*>(w)) {
        o[QStringLiteral("kind")] = QStringLiteral("progressbar");
    } else if (const auto* frame = qobject_cast<const QFrame*>(w)) {
        const auto* label = qobject_cast<const QLabel*>(w);
        o[QStringLiteral("kind")] = label ? QStringLiteral("label") : QStringLiteral("frame");
        if (label) o[QStringLiteral("text")] = label->text();
        o[QStringLiteral("shape")] = int(frame->frameShape());
        o[QStringLiteral("shadow")] = int(frame->frameShadow());
    } else {
        o[QStringLiteral("kind")] = QStringLiteral("unknown");
        o[QStringLiteral("class")] = QString::fromLatin1(w->metaObject()->className());
    }
    return o;
}

inline QJsonObject describe(const QMainWindow& window) {
    QJsonArray menus;
    for (QAction* top : window.menuBar()->actions()) {
        QJsonArray items;
        if (top->menu())
            for (QAction* a : top->menu()->actions()) items.append(describeAction(a));
        menus.append(QJsonObject{{"title", top->text()}, {"items", items}});
    }
    const QWidget* client = window.centralWidget();
    QJsonArray controls;
    for (const QObject* child : client->children())
        if (child->isWidgetType()) controls.append(describeWidget(static_cast<const QWidget*>(child)));
    return {{"style", QApplication::style()->name()},
            {"title", window.windowTitle()},
            {"clientSize", rect(QRect(QPoint(), client->size()))},
            {"menus", menus},
            {"controls", controls}};
}

// ------------------------------------------------------------------------------------ building

// The style's icons for the extension buttons, which only a window too narrow for its menu bar or
// toolbar shows, made from file names ask every image plugin about them: neither program pays that.
class NoExtensionIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) return {};
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

inline QAction* buildAction(const QJsonObject& o, QObject* parent) {
    auto* a = new QAction(o[QStringLiteral("text")].toString(), parent);
    a->setSeparator(o[QStringLiteral("separator")].toBool());
    a->setEnabled(o[QStringLiteral("enabled")].toBool());
    a->setCheckable(o[QStringLiteral("checkable")].toBool());
    a->setChecked(o[QStringLiteral("checked")].toBool());
    a->setShortcut(QKeySequence(o[QStringLiteral("shortcut")].toString()));
    a->setToolTip(o[QStringLiteral("tip")].toString());
    if (o.contains(QStringLiteral("png"))) {
        const QImage image =
            QImage::fromData(QByteArray::fromBase64(o[QStringLiteral("png")].toString().toLatin1()), "PNG");
        a->setIcon(QIcon(QPixmap::fromImage(image)));
        a->setIconVisibleInMenu(false);
    }
    return a;
}

inline void applyCommon(QWidget* w, const QJsonObject& o) {
    w->setGeometry(rect(o[QStringLiteral("geometry")]));
    w->setEnabled(o[QStringLiteral("enabled")].toBool());
    if (const int min = o[QStringLiteral("minimumWidth")].toInt()) w->setMinimumWidth(min);
    // A frame's margins follow from its frame unless they were set apart from it.
    if (const QMargins m = margins(o[QStringLiteral("margins")]); w->contentsMargins() != m) w->setContentsMargins(m);
    if (const QString css = o[QStringLiteral("styleSheet")].toString(); !css.isEmpty()) w->setStyleSheet(css);
    if (const QString tip = o[QStringLiteral("toolTip")].toString(); !tip.isEmpty()) w->setToolTip(tip);
    if (!o[QStringLiteral("visible")].toBool()) w->hide();
}

inline QLabel* buildLabel(const QJsonObject& o, QWidget* parent) {
    auto* label = new QLabel(o[QStringLiteral("text")].toString(), parent);
    label->setFrameShape(QFrame::Shape(o[QStringLiteral("shape")].toInt()));
    label->setFrameShadow(QFrame::Shadow(o[QStringLiteral("shadow")].toInt()));
    return label;
}

// Returns false on a control it cannot build.
inline bool buildWidget(const QJsonObject& o, QWidget* parent) {
    const QString kind = o[QStringLiteral("kind")].toString();
    QStringList items;
    for (const QJsonValue& v : o[QStringLiteral("items")].toArray()) items << v.toString();
    QWidget* w = nullptr;
    if (kind == u"statusbar") {
        auto* bar = new QStatusBar(parent);
        bar->setSizeGripEnabled(o[QStringLiteral("sizeGrip")].toBool());
        for (const QJsonValue& v : o[QStringLiteral("panels")].toArray()) {
            const QJsonObject panel = v.toObject();
            QLabel* label = buildLabel(panel, bar);
            applyCommon(label, panel);
            bar->addWidget(label, panel[QStringLiteral("stretch")].toInt());
        }
        w = bar;
    } else if (kind == u"toolbar") {
        auto* tools = new QToolBar(parent);
        tools->setIconSize(QSize(o[QStringLiteral("iconSize")].toInt(), o[QStringLiteral("iconSize")].toInt()));
        tools->setMovable(o[QStringLiteral("movable")].toBool());
        tools->layout()->setContentsMargins(margins(o[QStringLiteral("layoutMargins")]));
        for (const QJsonValue& v : o[QStringLiteral("actions")].toArray()) {
            QAction* a = buildAction(v.toObject(), tools);
            tools->addAction(a);
            if (const QRect size = rect(v.toObject()[QStringLiteral("buttonSize")]); !a->isSeparator())
                tools->widgetForAction(a)->setFixedSize(size.size());
        }
        w = tools;
    } else if (kind == u"list") {
        auto* list = new QListWidget(parent);
        list->setUniformItemSizes(o[QStringLiteral("uniform")].toBool());
        list->addItems(items);
        list->setCurrentRow(o[QStringLiteral("current")].toInt());
        if (!o[QStringLiteral("selected")].toBool()) list->clearSelection();
        w = list;
    } else if (kind == u"combobox") {
        auto* box = new QComboBox(parent);
        box->addItems(items);
        box->setCurrentIndex(o[QStringLiteral("current")].toInt());
        w = box;
    } else if (kind == u"lineedit") {
        w = new QLineEdit(o[QStringLiteral("text")].toString(), parent);
    } else if (kind == u"pushbutton") {
        w = new QPushButton(o[QStringLiteral("text")].toString(), parent);
    } else if (kind == u"progressbar") {
        w = new QProgressBar(parent);
    } else if (kind == u"label") {
        w = buildLabel(o, parent);
    } else if (kind == u"frame") {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::Shape(o[QStringLiteral("shape")].toInt()));
        frame->setFrameShadow(QFrame::Shadow(o[QStringLiteral("shadow")].toInt()));
        w = frame;
    } else {
        return false;
    }
    applyCommon(w, o);
    return true;
}

// Builds the described window into window; false when the description holds a control it cannot
// build. The application's style is set as the description names it.
inline bool build(const QJsonObject& d, QMainWindow& window) {
    if (QStyle* base = QStyleFactory::create(d[QStringLiteral("style")].toString()))
        QApplication::setStyle(new NoExtensionIconStyle(base));
    window.setWindowTitle(d[QStringLiteral("title")].toString());
    auto* client = new QWidget(&window);
    client->setFixedSize(rect(d[QStringLiteral("clientSize")]).size());
    window.setCentralWidget(client);
    for (const QJsonValue& v : d[QStringLiteral("controls")].toArray())
        if (!buildWidget(v.toObject(), client)) return false;
    for (const QJsonValue& v : d[QStringLiteral("menus")].toArray()) {
        QMenu* menu = window.menuBar()->addMenu(v.toObject()[QStringLiteral("title")].toString());
        for (const QJsonValue& item : v.toObject()[QStringLiteral("items")].toArray())
            menu->addAction(buildAction(item.toObject(), menu));
    }
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    return true;
}

}  // namespace ksn::bench::replica
