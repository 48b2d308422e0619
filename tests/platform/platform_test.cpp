// The window-level members of the utility and system classes on real widgets, offscreen.
#include "national.h"
#include "nationalform.h"
#include "possition.h"
#include "widgetapi.h"
#include "widgetlib.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

template <class W>
W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A small window whose designer put text numbers into its controls.
struct TaggedWindow {
    TaggedWindow() {
        form.setObjectName(QStringLiteral("frmTagged"));
        form.setProperty("Tag", QStringLiteral("37"));
        form.setWindowTitle(QStringLiteral("designed"));
        auto* client = new QWidget(&form);
        form.setCentralWidget(client);

        lblTagged = named<QLabel>(client, "lblTagged");
        lblTagged->setText(QStringLiteral("designed"));
        lblTagged->setProperty("Tag", QStringLiteral("2"));
        lblPlain = named<QLabel>(client, "lblPlain");
        lblPlain->setText(QStringLiteral("keep"));
        lblPlain->setToolTip(QStringLiteral("word"));
        lblTip = named<QLabel>(client, "lblTip");
        lblTip->setText(QStringLiteral("keep"));
        lblTip->setProperty("Tag", QString());
        lblTip->setProperty("ToolTipText", QStringLiteral("36"));
        cmdZero = named<QPushButton>(client, "cmdZero");
        cmdZero->setText(QStringLiteral("Zero"));
        cmdZero->setProperty("Tag", QStringLiteral("0"));
        cmdEmpty = named<QPushButton>(client, "cmdEmpty");
        cmdEmpty->setText(QStringLiteral("Empty"));
        cmdEmpty->setProperty("Tag", QString());
        cmdForm = named<QPushButton>(client, "cmdForm");
        cmdForm->setText(QStringLiteral("Form"));
        cmdForm->setProperty("Tag", QStringLiteral("36"));
        cmdLead = named<QPushButton>(client, "cmdLead");
        cmdLead->setText(QStringLiteral("Lead"));
        cmdLead->setProperty("Tag", QStringLiteral("3abc"));
        txtBox = named<QLineEdit>(client, "txtBox");
        txtBox->setText(QStringLiteral("typed"));
        txtBox->setProperty("Tag", QStringLiteral("4"));
        txtBox->setProperty("ToolTipText", QStringLiteral("5"));

        tabs = named<QTabBar>(client, "tabStrip");
        tabs->addTab(QStringLiteral("one"));
        tabs->setTabData(0, QStringLiteral("4"));
        tabs->setTabToolTip(0, QStringLiteral("5"));
        tabs->addTab(QStringLiteral("two"));

        tools = named<QToolBar>(client, "Toolbar1");
        numbered = tools->addAction(QStringLiteral("n"));
        numbered->setToolTip(QStringLiteral("6"));
        worded = tools->addAction(QStringLiteral("w"));
        worded->setToolTip(QStringLiteral("車両の追加"));

        list = named<QTreeWidget>(client, "lvwCars");
        list->setColumnCount(2);
        list->headerItem()->setText(0, QStringLiteral("first"));
        list->headerItem()->setData(0, Qt::UserRole, QStringLiteral("3"));
        list->headerItem()->setText(1, QStringLiteral("second"));

        QMenu* menu = form.menuBar()->addMenu(QStringLiteral("4"));
        menu->menuAction()->setObjectName(QStringLiteral("mnuNumbered"));
        item = menu->addAction(QStringLiteral("5"));
        item->setObjectName(QStringLiteral("mnuItem"));
        keep = menu->addAction(QStringLiteral("ファイル(&F)"));
        keep->setObjectName(QStringLiteral("mnuKeep"));

        // A window of its own, owned by this one: not one of its controls.
        other = named<QDialog>(&form, "dlgOther");
        otherLabel = named<QLabel>(other, "lblOther");
        otherLabel->setText(QStringLiteral("other"));
        otherLabel->setProperty("Tag", QStringLiteral("2"));
    }

    QMainWindow form;
    QLabel *lblTagged, *lblPlain, *lblTip, *otherLabel;
    QPushButton *cmdZero, *cmdEmpty, *cmdForm, *cmdLead;
    QLineEdit* txtBox;
    QTabBar* tabs;
    QToolBar* tools;
    QAction *numbered, *worded, *item, *keep;
    QTreeWidget* list;
    QDialog* other;
};

TEST(NationalForm, ControlsComeInCreationOrder) {
    TaggedWindow w;
    QStringList names;
    for (QObject* c : formControls(w.form)) names << c->objectName();
    EXPECT_EQ(names, (QStringList{"lblTagged", "lblPlain", "lblTip", "cmdZero", "cmdEmpty", "cmdForm", "cmdLead",
                                  "txtBox", "tabStrip", "Toolbar1", "lvwCars", "mnuNumbered", "mnuItem", "mnuKeep"}));
}

struct Language {
    const char* name;
    QStringList arguments;
};

class NationalFormTest : public ::testing::TestWithParam<Language> {};

TEST_P(NationalFormTest, DressesEachControlByItsNumbers) {
    National national;
    national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    national.setArguments(GetParam().arguments);
    auto T = [&](int r) { return national.GetNationalString(r); };
    TaggedWindow w;
    SetNationalForm(w.form, national);

    EXPECT_EQ(w.form.windowTitle(), T(37));
    EXPECT_EQ(w.lblTagged->text(), T(2));
    EXPECT_EQ(w.lblPlain->text(), q("keep"));
    EXPECT_EQ(w.lblPlain->toolTip(), q("word"));  // no leading number: kept
    EXPECT_EQ(w.lblTip->text(), q("keep"));       // an empty tag keeps the caption
    EXPECT_EQ(w.lblTip->toolTip(), T(36));
    EXPECT_EQ(w.cmdZero->text(), q("Zero"));
    EXPECT_EQ(w.cmdEmpty->text(), q("Empty"));
    EXPECT_EQ(w.cmdForm->text(), T(36));
    EXPECT_EQ(w.cmdLead->text(), T(3));
    EXPECT_EQ(w.txtBox->text(), q("typed"));  // a text box has no caption
    EXPECT_EQ(w.txtBox->toolTip(), T(5));
    EXPECT_EQ(w.tabs->tabText(0), T(4));
    EXPECT_EQ(w.tabs->tabToolTip(0), T(5));
    EXPECT_EQ(w.tabs->tabText(1), q("two"));
    EXPECT_EQ(w.numbered->toolTip(), T(6));
    EXPECT_EQ(w.worded->toolTip(), q("車両の追加"));
    EXPECT_EQ(w.list->headerItem()->text(0), T(3));
    EXPECT_EQ(w.list->headerItem()->text(1), q("second"));
    EXPECT_EQ(w.form.menuBar()->actions().first()->text(), T(4));
    EXPECT_EQ(w.item->text(), T(5));
    EXPECT_EQ(w.keep->text(), q("ファイル(&F)"));
    EXPECT_EQ(w.otherLabel->text(), q("other"));

    // One font for the window and every control, localised or not.
    const QString family = T(18);
    const int size = T(19).toInt();
    EXPECT_EQ(w.form.font().family(), family);
    EXPECT_EQ(w.form.font().pointSize(), size);
    for (QObject* c : formControls(w.form)) {
        const QFont f = qobject_cast<QAction*>(c) ? static_cast<QAction*>(c)->font() : static_cast<QWidget*>(c)->font();
        EXPECT_EQ(f.family(), family) << c->objectName().toStdString();
        EXPECT_EQ(f.pointSize(), size) << c->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, NationalFormTest,
                         ::testing::Values(Language{"Japanese", {}}, Language{"English", {QStringLiteral("/e")}}),
                         [](const auto& p) { return std::string(p.param.name); });

// A window with a menu bar and a button, as EnableAPI finds them.
struct MenuWindow {
    MenuWindow() {
        auto* client = new QWidget(&form);
        form.setCentralWidget(client);
        cmdGo = named<QPushButton>(client, "cmdGo");
        cmdStop = named<QPushButton>(client, "cmdStop");
        label = named<QLabel>(client, "lblNote");
        QMenu* file = form.menuBar()->addMenu(QStringLiteral("File"));
        file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
        open = file->addAction(QStringLiteral("Open"));
        open->setObjectName(QStringLiteral("mnuFileOpen"));
        bar = file->addSeparator();
        bar->setObjectName(QStringLiteral("mnuFileBar"));
        save = file->addAction(QStringLiteral("Save"));
        save->setObjectName(QStringLiteral("mnuFileSave"));
        save->setEnabled(false);
        QMenu* help = form.menuBar()->addMenu(QStringLiteral("Help"));
        help->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
        helpMenu = help->menuAction();
    }
    QMainWindow form;
    QPushButton *cmdGo, *cmdStop;
    QLabel* label;
    QAction *open, *bar, *save, *helpMenu;
};

TEST(EnableApi, RecordsSwitchesAndRestoresMenus) {
    MenuWindow w;
    QStringList data(10);
    EnableAPI(w.form, QStringLiteral("mnu"), data, false, false);
    EXPECT_EQ(data.mid(0, 6), (QStringList{"TmnuFile", "TmnuFileOpen", "TmnuFileBar", "FmnuFileSave", "TmnuHelp", ""}));
    EXPECT_FALSE(w.open->isEnabled());
    EXPECT_FALSE(w.helpMenu->isEnabled());
    EXPECT_TRUE(w.bar->isEnabled());  // separators are recorded, never switched
    EXPECT_TRUE(w.cmdGo->isEnabled());

    EnableAPI(w.form, QStringLiteral("mnu"), data, false, true);
    EXPECT_TRUE(w.open->isEnabled());
    EXPECT_TRUE(w.helpMenu->isEnabled());
    EXPECT_FALSE(w.save->isEnabled());
    EXPECT_TRUE(w.bar->isEnabled());
}

TEST(EnableApi, UsesOneSlotFewerThanTheArrayHolds) {
    MenuWindow w;
    QStringList data{"a", "b", "c", "last"};  // upper bound 3: three controls at most
    EnableAPI(w.form, QStringLiteral("mnu"), data, false, false);
    EXPECT_EQ(data, (QStringList{"TmnuFile", "TmnuFileOpen", "TmnuFileBar", "last"}));
    EXPECT_FALSE(w.open->isEnabled());
    EXPECT_TRUE(w.save->isEnabled() == false);
    EXPECT_TRUE(w.helpMenu->isEnabled());  // beyond the slots: not reached
}

TEST(EnableApi, OtherPrefixesAreOnlyRecorded) {
    MenuWindow w;
    w.cmdStop->setEnabled(false);
    QStringList data(4);
    EnableAPI(w.form, QStringLiteral("cmd"), data, false, false);
    EXPECT_EQ(data, (QStringList{"TcmdGo", "FcmdStop", "", ""}));
    EXPECT_TRUE(w.cmdGo->isEnabled());

    w.cmdGo->setEnabled(false);
    w.cmdStop->setEnabled(true);
    EnableAPI(w.form, QStringLiteral("cmd"), data, true, true);
    EXPECT_TRUE(w.cmdGo->isEnabled());
    EXPECT_FALSE(w.cmdStop->isEnabled());
}

TEST(ButtonVisible, SwitchesButtonsOnly) {
    MenuWindow w;
    w.form.show();
    ButtonVisible(w.form, false);
    EXPECT_FALSE(w.cmdGo->isVisible());
    EXPECT_FALSE(w.cmdStop->isVisible());
    EXPECT_TRUE(w.label->isVisible());
    ButtonVisible(w.form, true);
    EXPECT_TRUE(w.cmdGo->isVisible());
}

QImage canvas(int w, int h, QRgb fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

TEST(StretchBlt, StretchesMirrorsAndCombines) {
    QImage source = canvas(2, 1, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    const struct {
        const char* what;
        int x, w, srcW;
        quint32 rop;
        QRgb left, right;  // the destination's first and last column afterwards
    } cases[] = {
        {"copy stretched", 0, 4, 2, SRCCOPY, red, blue},
        {"mirrored by the destination width", 4, -4, 2, SRCCOPY, blue, red},
        {"mirrored by the source width", 0, 4, -2, SRCCOPY, blue, red},  // from x 2 back to 0
        {"xor with white", 0, 4, 2, SRCINVERT, qRgb(0, 255, 255), qRgb(255, 255, 0)},
        {"and with white", 0, 4, 2, SRCAND, red, blue},
        {"inverted source", 0, 4, 2, NOTSRCCOPY, qRgb(0, 255, 255), qRgb(255, 255, 0)},
        {"blackness", 0, 4, 2, BLACKNESS, qRgb(0, 0, 0), qRgb(0, 0, 0)},
    };
    for (const auto& c : cases) {
        QImage dest = canvas(4, 2, white);
        QPainter p(&dest);
        const int srcX = c.srcW < 0 ? 2 : 0;
        EXPECT_NE(StretchBlt(&p, c.x, 0, c.w, 2, &source, srcX, 0, c.srcW, 1, c.rop), 0) << c.what;
        p.end();
        EXPECT_EQ(dest.pixel(0, 1), c.left) << c.what;
        EXPECT_EQ(dest.pixel(3, 1), c.right) << c.what;
    }
    QImage dest = canvas(4, 2, white);
    QPainter p(&dest);
    EXPECT_EQ(StretchBlt(&p, 0, 0, 4, 2, &source, 0, 0, 2, 1, 0x12345678), 0);
    EXPECT_EQ(StretchBlt(&p, 0, 0, 4, 2, nullptr, 0, 0, 2, 1, SRCCOPY), 0);
    p.end();
    EXPECT_EQ(dest.pixel(0, 0), white);
    QPainter idle;
    EXPECT_EQ(StretchBlt(&idle, 0, 0, 4, 2, &source, 0, 0, 2, 1, SRCCOPY), 0);
}

TEST(WindowApi, WorkAreaAndWindowPositions) {
    WorkAreaRect r;
    ASSERT_NE(GetWorkArea(r), 0);
    const QRect a = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(r.Left, a.left());
    EXPECT_EQ(r.Top, a.top());
    EXPECT_EQ(r.Right - r.Left, a.width());
    EXPECT_EQ(r.Bottom - r.Top, a.height());

    QWidget parent;
    auto* first = named<QWidget>(&parent, "first");
    auto* second = named<QWidget>(&parent, "second");
    parent.show();
    SetWindowPos(second, HWND_TOP, 10, 20, 30, 40, 0);
    EXPECT_EQ(second->geometry(), QRect(10, 20, 30, 40));
    SetWindowPos(second, HWND_TOP, 99, 99, 1, 1, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
    EXPECT_EQ(second->geometry(), QRect(10, 20, 30, 40));
    EXPECT_FALSE(second->isVisible());
    SetWindowPos(second, HWND_TOP, 5, 6, 1, 1, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(second->geometry(), QRect(5, 6, 30, 40));
    EXPECT_TRUE(second->isVisible());
    SetWindowPos(second, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(parent.children().first(), second);  // the bottom of the stacking order comes first
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(parent.children().last(), second);
    EXPECT_NE(first, second);
}

// The settings store in a folder of this test program's own, emptied for each test.
class PlacementTest : public ::testing::Test {
protected:
    PlacementTest() {
        static QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings(QSettings::UserScope, possitionApplication(), possitionApplication()).clear();
    }
    QString stored(const char* key) const {
        QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
        return s.value(QStringLiteral("frmPlaceTestPossition/") + QLatin1String(key)).toString();
    }
};

TEST_F(PlacementTest, WindowsGoBackWhereTheyWereInTwips) {
    QWidget w;
    w.setObjectName(QStringLiteral("frmPlaceTest"));
    w.setGeometry(100, 120, 300, 200);
    w.show();
    const double tpp = twipsPerPixel(w);
    const QRect outer = w.frameGeometry();
    SavePossition(w);
    EXPECT_EQ(stored("Top"), possitionText(float(outer.top() * tpp)));
    EXPECT_EQ(stored("Left"), possitionText(float(outer.left() * tpp)));
    EXPECT_EQ(stored("Width"), possitionText(float(outer.width() * tpp)));
    EXPECT_EQ(stored("Height"), possitionText(float(outer.height() * tpp)));

    w.setGeometry(0, 0, 50, 50);
    RestorePossition(w, 0, 0);
    EXPECT_EQ(w.frameGeometry(), outer);

    // A minimum larger than what was stored wins; a place beyond the screen is pulled back.
    const QRect screen = w.screen()->virtualGeometry();
    {
        QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
        s.setValue(QStringLiteral("frmPlaceTestPossition/Left"), possitionText(float((screen.right() + 1 - 100) * tpp)));
        s.setValue(QStringLiteral("frmPlaceTestPossition/Top"), QStringLiteral("-600"));
    }
    RestorePossition(w, 400 * tpp, 0);
    EXPECT_EQ(w.frameGeometry().width(), 400);
    EXPECT_EQ(w.frameGeometry().left(), screen.right() + 1 - 400);
    EXPECT_EQ(w.frameGeometry().top(), 0);
}

}  // namespace
}  // namespace ksn
