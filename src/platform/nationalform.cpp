#include "platform/nationalform.h"

#include "support/locale/national.h"
#include "support/text/numtext.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolBox>
#include <QTreeView>

#include <optional>

namespace ksn {

namespace {

// Qt names some of the widgets it makes inside its own controls "qt_…"; they are no controls of ours.
bool ourName(const QObject* o) {
    return !o->objectName().isEmpty() && !o->objectName().startsWith(QStringLiteral("qt_"));
}

// Widgets that hold controls of the window, as a form or a frame does. Any other widget is one
// control: what Qt builds inside it (a tab bar's scroll buttons, a list's header) is its own.
bool holdsControls(const QWidget* w) {
    const QMetaObject* m = w->metaObject();
    return m == &QWidget::staticMetaObject || m == &QFrame::staticMetaObject || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QTabWidget*>(w) || qobject_cast<const QStackedWidget*>(w) ||
           qobject_cast<const QScrollArea*>(w) || qobject_cast<const QSplitter*>(w) ||
           qobject_cast<const QToolBox*>(w) || qobject_cast<const QDockWidget*>(w) ||
           qobject_cast<const QMainWindow*>(w) || qobject_cast<const QMenuBar*>(w) || qobject_cast<const QDialog*>(w);
}

void collect(QObject* parent, QList<QObject*>& out) {
    for (QObject* child : parent->children()) {
        // A menu is shown by its menu action, a child of the menu; the items are its other actions.
        if (qobject_cast<QMenu*>(child)) {
            collect(child, out);
            continue;
        }
        if (auto* a = qobject_cast<QAction*>(child)) {
            if (qobject_cast<QMenu*>(parent) && ourName(a)) out << a;
            continue;
        }
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;  // not a widget, or another window with controls of its own
        if (ourName(w)) out << w;
        if (holdsControls(w)) collect(w, out);
    }
}

QString tooltipTextOf(const QObject* o, const QString& own) {
    const QVariant v = o->property("ToolTipText");
    return v.isValid() ? v.toString() : own;
}

std::optional<qint32> wholeProperty(const QObject* o, const char* name) {
    const QVariant v = o->property(name);
    if (!v.isValid()) return std::nullopt;
    return wholeNumber(v.toString());
}

qint32 leadingProperty(const QObject* o, const char* name, const QString& own = {}) {
    const QVariant v = o->property(name);
    return qint32(roundHalfEven(leadingNumber(v.isValid() ? v.toString() : own)));
}

// A tool tip from its number, when the number is above 0; the property follows the text, as the
// tool tip property of the designer's controls is the tool tip itself.
void localiseTooltip(QWidget* w, National& national) {
    const qint32 n = qint32(roundHalfEven(leadingNumber(tooltipTextOf(w, w->toolTip()))));
    if (n <= 0) return;
    const QString text = national.GetNationalString(n);
    w->setToolTip(text);
    w->setProperty("ToolTipText", text);
}

// Buttons and group boxes have a caption; other controls (text boxes, lists) have none to set.
void setCaption(QWidget* w, const QString& text) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
}

void localiseTabs(QTabBar* tabs, National& national) {
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto n = wholeNumber(tabs->tabData(i).toString()))
            tabs->setTabText(i, national.GetNationalString(*n));
        if (const auto n = wholeNumber(tabs->tabToolTip(i))) tabs->setTabToolTip(i, national.GetNationalString(*n));
    }
}

void localiseHeaders(QAbstractItemView* view, National& national) {
    QAbstractItemModel* model = view->model();
    if (!model) return;
    for (int c = 0; c < model->columnCount(); ++c) {
        const auto n = wholeNumber(model->headerData(c, Qt::Horizontal, Qt::UserRole).toString());
        if (n) model->setHeaderData(c, Qt::Horizontal, national.GetNationalString(*n), Qt::DisplayRole);
    }
}

}  // namespace

QList<QObject*> formControls(QWidget& form) {
    QList<QObject*> out;
    collect(&form, out);
    return out;
}

void SetNationalForm(QWidget& frm, National& national) {
    if (national.NationalBase() == 0) national.InitNational();

    if (const auto n = wholeProperty(&frm, "Tag")) frm.setWindowTitle(national.GetNationalString(*n));

    const QString family = national.GetNationalString(18);
    const auto size = wholeNumber(national.GetNationalString(19));
    auto dress = [&](QFont f) {
        if (!family.isEmpty()) f.setFamily(family);
        if (size && *size > 0) f.setPointSize(*size);
        return f;
    };
    frm.setFont(dress(frm.font()));

    for (QObject* control : formControls(frm)) {
        if (auto* a = qobject_cast<QAction*>(control)) {
            a->setFont(dress(a->font()));
            if (const auto n = wholeNumber(a->text())) a->setText(national.GetNationalString(*n));
            continue;
        }
        auto* w = static_cast<QWidget*>(control);
        w->setFont(dress(w->font()));
        if (qobject_cast<QLabel*>(w)) {
            if (const auto n = wholeProperty(w, "Tag"))
                static_cast<QLabel*>(w)->setText(national.GetNationalString(*n));
            localiseTooltip(w, national);
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            localiseTabs(tabs, national);
        } else if (auto* tabWidget = qobject_cast<QTabWidget*>(w)) {
            localiseTabs(tabWidget->tabBar(), national);
        } else if (auto* bar = qobject_cast<QToolBar*>(w)) {
            for (QAction* button : bar->actions()) {
                if (button->isSeparator()) continue;
                const auto n = wholeNumber(tooltipTextOf(button, button->toolTip()));
                if (!n) continue;
                button->setToolTip(national.GetNationalString(*n));
                button->setProperty("ToolTipText", button->toolTip());
            }
        } else if (qobject_cast<QTreeView*>(w) || qobject_cast<QTableView*>(w)) {
            localiseHeaders(static_cast<QAbstractItemView*>(w), national);
        } else {
            if (const qint32 n = leadingProperty(w, "Tag"); n > 0) setCaption(w, national.GetNationalString(n));
            localiseTooltip(w, national);
        }
    }
}

}  // namespace ksn
