// The window-level members of the utility and system classes on real widgets, offscreen.
#include "national.h"
#include "nationalform.h"
#include "widgetapi.h"
#include "widgetlib.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

// A control as the designer left it: a name, a caption, and text numbers in its properties.
template <class W>
W* add(QWidget* parent, const char* name, const char* text = "", const char* tag = nullptr, const char* tip = nullptr) {
    auto* w = new W(parent);
    w->setObjectName(name);
    if constexpr (requires(W* x) { x->setText(QString()); }) w->setText(text);
    if (tag) w->setProperty("Tag", tag);
    if (tip) w->setProperty("ToolTipText", tip);
    return w;
}

TEST(NationalForm, DressesEachControlByItsNumbersAndLeavesOtherWindowsAlone) {
    QMainWindow form;
    form.setProperty("Tag", "37");
    auto* client = new QWidget(&form);  // unnamed: not a control, but it holds some
    form.setCentralWidget(client);
    auto* lblTagged = add<QLabel>(client, "lblTagged", "designed", "2");
    auto* lblTip = add<QLabel>(client, "lblTip", "keep", "", "36");  // an empty tag keeps the caption
    auto* cmdZero = add<QPushButton>(client, "cmdZero", "Zero", "0");
    auto* cmdLead = add<QPushButton>(client, "cmdLead", "Lead", "3abc");
    auto* txtBox = add<QLineEdit>(client, "txtBox", "typed", "4", "5");  // a text box has no caption
    auto* tabs = add<QTabBar>(client, "tabStrip");
    tabs->addTab("one");
    tabs->setTabData(0, "4");
    auto* tools = add<QToolBar>(client, "Toolbar1");
    tools->addAction("n")->setToolTip("6");
    auto* list = add<QTreeWidget>(client, "lvwCars");
    list->headerItem()->setData(0, Qt::UserRole, "3");
    QMenu* menu = form.menuBar()->addMenu("4");
    menu->menuAction()->setObjectName("mnuNumbered");
    menu->addAction("5")->setObjectName("mnuItem");
    menu->addAction("ファイル(&F)")->setObjectName("mnuKeep");
    auto* otherLabel = add<QLabel>(add<QDialog>(&form, "dlgOther"), "lblOther", "other", "2");  // another window

    QStringList names;
    for (QObject* c : formControls(form)) names << c->objectName();
    EXPECT_EQ(names, (QStringList{"lblTagged", "lblTip", "cmdZero", "cmdLead", "txtBox", "tabStrip", "Toolbar1",
                                  "lvwCars", "mnuNumbered", "mnuItem", "mnuKeep"}));

    National national;
    national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    national.setArguments({"/e"});
    SetNationalForm(form, national);
    auto T = [&](int r) { return national.GetNationalString(r); };
    // One font for the window and every control: a menu item takes none from its window.
    const QFont widgetFont = tabs->font(), itemFont = menu->actions()[1]->font();
    const QStringList shown{form.windowTitle(), lblTagged->text(), lblTip->text(), lblTip->toolTip(),
                            cmdZero->text(), cmdLead->text(), txtBox->text(), txtBox->toolTip(), tabs->tabText(0),
                            tools->actions()[0]->toolTip(), list->headerItem()->text(0), menu->title(),
                            menu->actions()[0]->text(), menu->actions()[1]->text(), otherLabel->text(),
                            widgetFont.family(), QString::number(itemFont.pointSize()), itemFont.family()};
    EXPECT_EQ(shown, (QStringList{T(37), T(2), "keep", T(36), "Zero", T(3), "typed", T(5), T(4), T(6), T(3), T(4),
                                  T(5), "ファイル(&F)", "other", T(18), T(19), T(18)}));
}

TEST(EnableApi, SwitchesMenusButNotSeparatorsWithinItsSlotsAndRestoresThem) {
    QMainWindow form;
    auto* cmdGo = add<QPushButton>(&form, "cmdGo");
    QMenu* file = form.menuBar()->addMenu("File");
    file->menuAction()->setObjectName("mnuFile");
    file->addAction("Open")->setObjectName("mnuFileOpen");
    file->addSeparator()->setObjectName("mnuFileBar");
    file->addAction("Save")->setObjectName("mnuFileSave");
    auto enabled = [&] { return QList<bool>{file->menuAction()->isEnabled(), file->actions()[0]->isEnabled(),
                                            file->actions()[1]->isEnabled(), file->actions()[2]->isEnabled()}; };
    file->actions()[0]->setEnabled(false);
    QStringList data(4);  // slots 0 to 2: the fourth item is not reached
    EnableAPI(form, "mnu", data, false, false);
    EXPECT_EQ(data, (QStringList{"TmnuFile", "FmnuFileOpen", "TmnuFileBar", ""}));
    EXPECT_EQ(enabled(), QList<bool>({false, false, true, true}));
    EnableAPI(form, "mnu", data, false, true);
    EXPECT_EQ(enabled(), QList<bool>({true, false, true, true}));
    QStringList buttons(2);
    EnableAPI(form, "cmd", buttons, false, false);  // other prefixes are recorded, never switched
    EXPECT_EQ(buttons.first() + QString::number(cmdGo->isEnabled()), "TcmdGo1");
    form.show();
    ButtonVisible(form, false);
    EXPECT_FALSE(cmdGo->isVisible());
}

TEST(StretchBlt, StretchesMirrorsAndCombines) {
    QImage source(2, 1, QImage::Format_RGB32);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    source.setPixel(0, 0, red);
    source.setPixel(1, 0, blue);
    const struct {
        int x, w, srcX, srcW;
        quint32 rop;
        QRgb left, right;  // the destination's first and last column afterwards; white: untouched
    } cases[] = {
        {0, 4, 0, 2, SRCCOPY, red, blue},  {4, -4, 0, 2, SRCCOPY, blue, red},  {0, 4, 2, -2, SRCCOPY, blue, red},
        {0, 4, 0, 2, SRCINVERT, qRgb(0, 255, 255), qRgb(255, 255, 0)},     {0, 4, 0, 2, 0x12345678, white, white},
    };
    for (const auto& c : cases) {
        QImage dest(4, 2, QImage::Format_RGB32);
        dest.fill(white);
        QPainter p(&dest);
        EXPECT_EQ(StretchBlt(&p, c.x, 0, c.w, 2, &source, c.srcX, 0, c.srcW, 1, c.rop), c.left == white ? 0 : 1);
        p.end();
        EXPECT_EQ(QList<QRgb>({dest.pixel(0, 1), dest.pixel(3, 1)}), QList<QRgb>({c.left, c.right})) << c.rop << " " << c.w;
    }
}

TEST(WindowApi, SetWindowPosMovesShowsHidesAndRestacks) {
    QWidget parent;
    new QWidget(&parent);
    auto* second = new QWidget(&parent);
    parent.show();
    SetWindowPos(second, HWND_TOP, 10, 20, 30, 40, SWP_HIDEWINDOW);
    EXPECT_FALSE(second->isVisible());
    SetWindowPos(second, HWND_BOTTOM, 5, 6, 1, 1, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->geometry(), QRect(5, 6, 30, 40));
    EXPECT_EQ(parent.children().first(), second);  // the bottom of the stacking order comes first
}

}  // namespace
}  // namespace ksn
