// The main window and its viewers driven as a user drives them: real widgets offscreen, keys, clicks,
// drags and drops, the real clipboard; the scripted seam answers the boxes and records what they showed.
#include "mainwindow/frmMain.h"
#include "testkit/scripted_modal.h"
#include "testkit/scripted_shell.h"
#include "testkit/tempdrive.h"
#include "viewers/frmCar.h"
#include "viewers/frmTrain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <stdexcept>
#include <tuple>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

using namespace test;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        drive.write("bin/ksned32.ini", "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n");
        drive.write("KSN/cars/a.bmp", makeBmp(120, 40));
        drive.write("KSN/cars/b.bmp", makeBmp(120, 40));
        writeKsn("express.KSN", {"特急", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\a.bmp;front", "D:\\KSN\\cars\\b.bmp",
                                 "D:\\KSN\\cars\\a.bmp;rear"});
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), "D:\\"), drive.host("bin/ksned32"));
        shell->program = drive.host("bin/ksned32.ini");  // any existing file stands for the viewer
        state->api.setShell(shell);
    }
    frmMain& start(const QString& commandLine = {}) {
        window = std::make_unique<frmMain>(*state, modal);
        window->Form_Load(commandLine);
        window->show();
        window->activateWindow();  // shortcuts reach the active window only
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }
    void writeKsn(const QString& name, const QStringList& lines) { drive.write("KSN/" + name, ksnBytes(lines)); }
    void load(const QString& title) {
        window->cmbTrain->setCurrentIndex(window->cmbTrain->findText(title));
        window->menus.at("mnuFileQuickLoad")->trigger();
    }
    void loadExpress() { load("特急"); }
    QStringList listRows() const {
        QStringList out;
        for (int i = 0; i < window->lstCars->count(); ++i) out << window->lstCars->item(i)->text();
        return out;
    }
    QWidget* list() const { return window->lstCars->viewport(); }
    QPoint belowRows() const { return QPoint(20, list()->height() - 5); }
    QPoint rowCenter(int row) const { return window->lstCars->visualItemRect(window->lstCars->item(row)).center(); }
    void clickRow(int row) { QTest::mouseClick(list(), Qt::LeftButton, {}, rowCenter(row)); }
    // A popup opens at the pointer and blocks: its item is chosen while it is open.
    void choose(QMenu* popup, const char* item) {
        QTimer::singleShot(0, [=, this] {
            window->menus.at(item)->trigger();
            popup->close();
        });
    }

    const QStringList express{"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"};
    TempDrive drive;
    ScriptedModal modal;
    std::shared_ptr<ScriptedShell> shell = std::make_shared<ScriptedShell>();
    std::unique_ptr<Ksned> state;
    std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, KeysMenusAndMouseReachTheirCommands) {
    frmMain& w = start();
    using Press = std::function<void()>;
    auto key = [&](QKeyCombination k) -> Press { return [&w, k] { QTest::keySequence(&w, QKeySequence(k)); }; };
    auto listKey = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) -> Press {
        return [&w, k, m] { QTest::keyClick(w.lstCars, k, m); };
    };
    auto menu = [&](const char* item) -> Press { return [&w, item] { w.menus.at(item)->trigger(); }; };
    auto doubleClick = [&](int row) -> Press {
        return [=, this] {
            clickRow(row);
            QTest::mouseDClick(list(), Qt::LeftButton, {}, rowCenter(row));
        };
    };
    auto popup = [&](const char* item) -> Press {
        return [=, this] {
            choose(window->mnuPopup, item);
            QTest::mouseClick(list(), Qt::RightButton, {}, rowCenter(2));
        };
    };
    // What a command did, in a few words: the first box or view it opened, else the list and the clipboard.
    auto did = [&] {
        if (!modal.fileRequests.empty()) return modal.fileRequests[0].title;
        if (!modal.prompts.isEmpty()) return modal.prompts[0].section(u'\r', 0, 0);
        if (!modal.messages.empty()) return modal.messages[0].text.section(u'\r', 0, 0);
        if (w.carView) return w.carView->windowTitle();
        return QStringLiteral("%1 rows, row %2, ").arg(w.lstCars->count()).arg(w.lstCars->currentRow()) +
               QApplication::clipboard()->text();
    };
    // The toolbar's buttons are these commands' own actions (see the toolbar test).
    const QString rear = "D:\\KSN\\cars\\a.bmp;rear", b = "D:\\KSN\\cars\\b.bmp";
    const QString cut = "4 rows, row 3, " + rear, addCar = "車両画像ファイルの選択",
                  title = "編成コメントを入力して下さい", sound = "サウンドファイルの設定",
                  comment = "削除する場合はキャンセルを選択してください";
    const struct {
        const char* what;
        Press press;
        QString did;
    } cases[] = {
        {"Ctrl+L", key(Qt::CTRL | Qt::Key_L), "5 rows, row -1, " + b},  // the selection goes with the reload
        {"Ctrl+S", key(Qt::CTRL | Qt::Key_S), "名前を付けてKSNの保管"},
        {"Ctrl+N", key(Qt::CTRL | Qt::Key_N), "2 rows, row -1, " + b},
        {"Ctrl+A", key(Qt::CTRL | Qt::Key_A), addCar},
        {"Ctrl+X", key(Qt::CTRL | Qt::Key_X), cut},
        // The list's Ins and Del, here the keypad's with NumLock off, which come with the keypad modifier.
        {"keypad Insert", listKey(Qt::Key_Insert, Qt::KeypadModifier), addCar},
        {"keypad Delete", listKey(Qt::Key_Delete, Qt::KeypadModifier), cut},
        {"Ctrl+C", key(Qt::CTRL | Qt::Key_C), "5 rows, row 4, " + rear},
        {"Ctrl+V", key(Qt::CTRL | Qt::Key_V), "6 rows, row -1, " + b},
        {"title menu", menu("mnuEditTitle"), title},
        {"title double click", doubleClick(0), title},
        {"sound menu", menu("mnuEditSound"), sound},
        {"sound double click", doubleClick(1), sound},
        {"Ctrl+M", key(Qt::CTRL | Qt::Key_M), comment},
        {"F1", key(Qt::Key_F1), "ヘルプがありません。別途入手してください。"},
        {"load menu", menu("mnuFileLoad"), "ﾌｧｲﾙを指定して読み込み"},
        {"car double click", doubleClick(3), "2 : D:\\KSN\\cars\\b.bmp ( 40dot )"},
        // Offscreen, a popup once shown keeps the window from being active again: popups go last.
        {"title popup", popup("mnuPopupEditTitle"), title},
        {"sound popup", popup("mnuPopupSound"), sound},
        {"comment popup", popup("mnuPopupEditComment"), comment},
    };
    for (const auto& c : cases) {
        loadExpress();
        clickRow(4);
        QApplication::clipboard()->setText(b);
        modal.clear();
        c.press();
        EXPECT_EQ(did(), c.did) << c.what;
    }
}

TEST_F(MainWindowTest, TheHighlightedRowIsTheRowTheCommandsActOn) {
    frmMain& w = start();
    auto highlighted = [&] {
        const QList<QListWidgetItem*> items = w.lstCars->selectedItems();
        return items.isEmpty() ? -1 : w.lstCars->row(items.front());
    };
    auto clickBelowTheRows = [&] { QTest::mouseClick(list(), Qt::LeftButton, {}, belowRows()); };
    auto key = [&](Qt::Key k) { QTest::keyClick(w.lstCars, k); };
    const QString untouched = "clipboard", b = "D:\\KSN\\cars\\b.bmp";
    const struct {
        const char* what;
        std::function<void()> act;
        int row;
        QString cut;
    } cases[] = {
        {"click on a row", [&] { clickRow(3); }, 3, b},
        {"click below the rows", clickBelowTheRows, -1, untouched},
        {"key up", [&] { key(Qt::Key_Up); }, 3, b},
        {"key down after a click below", [&] { clickBelowTheRows(), key(Qt::Key_Down); }, 0, untouched},
        {"Ctrl+click on the highlighted row",
         [&] { QTest::mouseClick(list(), Qt::LeftButton, Qt::ControlModifier, rowCenter(4)); }, -1, untouched},
        {"comment switch (the list is rebuilt)", [&] { QTest::mouseClick(w.panels.at("Comment"), Qt::LeftButton); }, -1,
         untouched},
    };
    for (const auto& c : cases) {
        loadExpress();
        clickRow(4);
        QApplication::clipboard()->setText(untouched);
        c.act();
        EXPECT_EQ(QPoint(highlighted(), w.editor().selectedRow()), QPoint(c.row, c.row)) << c.what;
        QTest::keyClick(w.lstCars, Qt::Key_Delete);
        EXPECT_EQ(QApplication::clipboard()->text(), c.cut) << c.what;
        EXPECT_EQ(highlighted(), w.editor().selectedRow()) << c.what;
    }
}

TEST_F(MainWindowTest, TheStatusBarPanelsShowAndSwitchTheEditorsCommentsAndSaveMode) {
    frmMain& w = start();
    loadExpress();
    QLabel* panel = w.panels.at("Comment");
    auto shown = [&] {
        return panel->text() + (panel->frameShadow() == QFrame::Raised ? " raised " : " sunken ") + listRows()[1];
    };
    EXPECT_EQ(shown(), "On sunken horn.wav;汽笛");
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(shown(), "Off raised horn.wav");
    // The switch turned back by the Editor alone: the panel follows at the next command, and a click
    // flips the Editor's switch, not the one the panel showed before.
    w.editor().setCommentsOn(true);
    loadExpress();
    EXPECT_EQ(shown(), "On sunken horn.wav;汽笛");
    w.editor().setCommentsOn(false);
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(shown(), "On sunken horn.wav;汽笛");

    // The panel shows the Editor's mode: the one chosen, checked alone in the popup.
    const char* modes[] = {"mnuPopupSaveModeFileOnly", "mnuPopupSaveModeKSN", "mnuPopupSaveModeNonDrive",
                           "mnuPopupSaveModeDefault"};
    for (const char* m : modes) {
        choose(w.mnuPopupSaveMode, m);
        QTest::mouseClick(w.panels.at("SaveMode"), Qt::LeftButton);
        EXPECT_EQ(w.panels.at("SaveMode")->text(), w.menus.at(m)->text().section(u'(', 0, 0));
        for (const char* other : modes) EXPECT_EQ(w.menus.at(other)->isChecked(), other == m) << m << ' ' << other;
    }
}

// A button is its menu item's action: the button, the item and the shortcut are one command.
TEST_F(MainWindowTest, ToolbarButtonsAreTheirMenuItemsActions) {
    frmMain& w = start();
    const std::pair<const char*, const char*> cases[] = {{"新規作成", "mnuFileNew"},   {"開く", "mnuFileQuickLoad"},
                                                         {"保存", "mnuFileSaveAs"},    {"AddCar", "mnuEditAdd"},
                                                         {"切り取り", "mnuEditCut"},   {"コピー", "mnuEditCopy"},
                                                         {"貼り付け", "mnuEditPaste"}, {"ﾍﾙﾌﾟ", "mnuHelpHelp"}};
    for (const auto& [key, item] : cases) {
        QAction* a = w.buttons.at(key);
        EXPECT_TRUE(a == w.menus.at(item) && w.Toolbar1->widgetForAction(a)->objectName() == key) << key;
        EXPECT_FALSE(a->icon().isNull() || a->isIconVisibleInMenu()) << key;
    }
    EXPECT_EQ(w.buttons.size(), std::size(cases));
}

TEST_F(MainWindowTest, DragMovesACarButNeverOntoTitleOrSound) {
    start();
    loadExpress();
    auto drag = [&](QPoint from, int to) {
        QTest::mousePress(list(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, rowCenter(to), list()->mapToGlobal(rowCenter(to)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(list(), &move);
        QTest::mouseRelease(list(), Qt::LeftButton, {}, rowCenter(to));
    };
    clickRow(4);
    drag(belowRows(), 2);  // a press on no row moves nothing
    EXPECT_EQ(listRows(), express);
    drag(rowCenter(4), 2);
    const QStringList moved{"特急", "horn.wav;汽笛", "a.bmp;rear", "a.bmp;front", "b.bmp"};
    EXPECT_EQ(listRows(), moved);
    EXPECT_EQ(window->panels.at("Msg")->text(), "1 / 3両");
    for (int target : {0, 1}) drag(rowCenter(3), target);
    EXPECT_EQ(listRows(), moved);
}

TEST_F(MainWindowTest, DroppedFilesAreTakenByExtensionOnTheListAndOnTheFolderBoxButNotOnTheBars) {
    drive.write("snd/new.WAV", "RIFF");
    drive.mkdir("folder");
    start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(drive.host("KSN/cars/b.bmp")), QUrl::fromLocalFile(drive.host("snd/new.WAV")),
                  QUrl::fromLocalFile(drive.host("folder")), QUrl("https://example.invalid/x.bmp")});
    // Drags the files onto target and drops them there; whether the drag was taken as a copy.
    auto dropOn = [&](QWidget* target) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    };
    // The folder box passes drops to the window instead of taking the dropped file's text.
    for (QWidget* target : {list(), static_cast<QWidget*>(window->txtDefFolder)}) {
        loadExpress();
        clickRow(2);
        modal.clear();
        EXPECT_TRUE(dropOn(target));
        EXPECT_EQ(listRows(), (QStringList{"特急", "new.WAV", "a.bmp;front", "b.bmp", "b.bmp", "a.bmp;rear"}));
        EXPECT_EQ(modal.messages.size(), 1u);  // the folder's
        EXPECT_EQ(window->txtDefFolder->text(), "D:\\KSN");
    }
    // Qt offers a drag a bar refuses to the window behind it, which must refuse it too.
    for (QWidget* bar : {static_cast<QWidget*>(window->Toolbar1), static_cast<QWidget*>(window->StatusBar1),
                         static_cast<QWidget*>(window->menuBar())}) {
        EXPECT_FALSE(dropOn(bar)) << bar->objectName().toStdString();
        EXPECT_EQ(window->lstCars->count(), 6) << bar->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, BatchRewriteShowsStopAndStopsBetweenFiles) {
    for (int i = 1; i <= 4; ++i) writeKsn(QStringLiteral("f%1.KSN").arg(i), {"T", "C:\\s\\h.wav;x", "C:\\c\\a.bmp;y"});
    start();
    bool stopSeen = false;
    // Events run after the confirmation and after each file; after express and f1 the user presses Stop.
    modal.onProcessEvents = [&](int call) {
        stopSeen = stopSeen || window->cmdStop->isVisible();
        if (call == 3) QTest::mouseClick(window->cmdStop, Qt::LeftButton);
    };
    window->menus.at("mnuFilePathChange")->trigger();
    EXPECT_TRUE(stopSeen && !window->cmdStop->isVisible());
    EXPECT_EQ(drive.read("KSN/f1.KSN"), ksnBytes({"T", "h.wav;x", "a.bmp;y"}));
    EXPECT_EQ(drive.read("KSN/f2.KSN"), ksnBytes({"T", "C:\\s\\h.wav;x", "C:\\c\\a.bmp;y"}));
}

// A box stands beside the caption and the rows it is about: the over-limit warning beside the new
// file's name, the height check beside the new rows, in a single load as in the batch and after an insert.
TEST_F(MainWindowTest, StartUpLoadsTheArgumentAndEachBoxStandsBesideTheFileAndTheRowsItIsAbout) {
    drive.write("KSN/cars/tall.bmp", makeBmp(120, 60));
    QStringList lines{"長編成", "x.wav", "D:\\KSN\\cars\\a.bmp"};
    while (lines.size() < 105) lines << "D:\\KSN\\cars\\tall.bmp";
    writeKsn("over.KSN", lines);
    frmMain& w = start("D:\\KSN\\express.KSN");
    EXPECT_EQ(w.txtDefFolder->text() + ' ' + QString::number(w.cmbTrain->count()) + ' ' + w.windowTitle(),
              "D:\\KSN 2 express.KSN - KSNED32");
    EXPECT_EQ(listRows(), express);
    EXPECT_TRUE(modal.messages.empty());

    QStringList seen;
    modal.onMessage = [&](const RecordedMessage&) {
        seen << w.windowTitle() + ' ' + QString::number(w.lstCars->count());
    };
    w.editor().document().setCurrentFilePath("over.KSN");
    w.editor().LoadCurrentFile();
    const QStringList overSeen{"over.KSN - KSNED32 5", "over.KSN - KSNED32 103"};
    EXPECT_EQ(seen, overSeen);
    seen.clear();
    w.menus.at("mnuFilePathChange")->trigger();  // express.KSN says nothing, over.KSN twice
    EXPECT_EQ(seen.mid(1), overSeen);
    EXPECT_EQ(w.windowTitle(), "");

    w.menus.at("mnuFileNew")->trigger();
    QApplication::clipboard()->setText("D:\\KSN\\cars\\a.bmp");
    w.menus.at("mnuEditPaste")->trigger();
    seen.clear();
    QApplication::clipboard()->setText("D:\\KSN\\cars\\tall.bmp");
    w.menus.at("mnuEditPaste")->trigger();
    EXPECT_EQ(seen, QStringList{" 4"});
}

// The whole-train view and the car view opened from the main window. What each shows is worked out
// in trainlayout (tested without a window); here, that the windows show it where and as they should.
// Cars a (100 x 40, red), b (120 x 40, green) and c (80 x 30, blue), and a formation that also
// names a missing car.
class ViewersTest : public MainWindowTest {
protected:
    ViewersTest() {
        drive.write("KSN/a.bmp", makeBmp(100, 40, 0xCC2200));
        drive.write("KSN/b.bmp", makeBmp(120, 40, 0x22AA44));
        drive.write("KSN/c.bmp", makeBmp(80, 30, 0x2244CC));
        writeKsn("view.KSN", {"Express", "horn.wav", "a.bmp;front", "b.bmp", "missing.bmp", "c.bmp"});
    }
    ~ViewersTest() override { deleteClosed(); }

    static void deleteClosed() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void open(const QString& title = "Express") {
        if (!window) start().move(40, 30);
        load(title);
        modal.clear();  // the height check's report
    }
    frmTrain& pressF2() {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F2);
        if (!window->trainView) throw std::runtime_error("no whole-train view");
        return *window->trainView;
    }
    void viewCar(int row) {
        window->lstCars->setCurrentRow(row);
        window->menus.at("mnuViewCar")->trigger();
    }
    QPoint belowMain() const { return window->frameGeometry().bottomLeft() + QPoint(0, 1); }
};

TEST_F(ViewersTest, F2ShowsTheCarsAsKsnRenderDrawsThemBelowTheMainWindow) {
    open();
    frmTrain& t = pressF2();
    EXPECT_EQ(t.parentWidget(), nullptr);  // a window of its own, never modal
    EXPECT_EQ(t.windowTitle() + '|' + t.imgCar[2]->toolTip(), "Express ( 30dot )|1 : a : front");
    EXPECT_EQ(std::pair(t.frameGeometry().topLeft(), t.frameGeometry().width()),
              std::pair(belowMain(), window->frameGeometry().width()));
    // The client area is the last car's height plus the scroll bar, which covers taller cars.
    EXPECT_EQ(t.HScroll1->geometry(), QRect(0, 30, t.width(), t.HScroll1->height()));
    // Above the scroll bar every pixel is a car's: a (100 wide), b (120), c (80).
    const auto strip = buildTrainStrip(window->editor().rows(), state->DefaultFolder, state->fso);
    const QImage drawn = renderTrainStrip(*strip).copy(0, 0, 300, 30), shown = t.grab().toImage().copy(0, 0, 300, 30);
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) == drawn.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewersTest, TheStripFollowsTheScrollBarAndItsThumb) {
    writeKsn("long.KSN",
             QStringList{"Long", "horn.wav"} + QStringList(10, "b.bmp") + QStringList{"missing.bmp", "c.bmp"});
    open("Long");
    frmTrain& t = pressF2();
    t.resize(500, 57);
    EXPECT_EQ(t.HScroll1->maximum(), 10 * 120 + 80 - 500);
    auto expectSlotsAt = [&](int value) {
        for (size_t i = 0; i < t.imgCar.size(); ++i)
            EXPECT_EQ(t.imgCar[i]->x(), t.baseLeft(int(i)) - value) << i << " at " << value;
    };
    t.HScroll1->setValue(780);
    expectSlotsAt(780);
    EXPECT_EQ(t.imgCar.back()->geometry().right() + 1, t.width());  // the last car ends at the edge
    // While the thumb is dragged the strip moves with it, before any value is committed.
    t.HScroll1->setTracking(false);
    t.HScroll1->setSliderDown(true);
    t.HScroll1->setSliderPosition(200);
    expectSlotsAt(200);
    t.HScroll1->setSliderDown(false);
    // A wider window lowers the maximum below the value: the strip moves back with it.
    t.HScroll1->setValue(780);
    t.resize(1000, 57);
    EXPECT_EQ(t.HScroll1->value(), 280);
    expectSlotsAt(280);
}

// A top-down car's real size in the car view is worked out in trainlayout_test.
TEST_F(ViewersTest, TheCarViewFitsEachCarBelowTheMainWindowAndReportsAMissingOne) {
    drive.write("KSN/flat.bmp", makeBmp(70, 0));
    writeKsn("bad.KSN", {"Bad", "horn.wav", "flat.bmp"});
    writeKsn("empty.KSN", {"Empty", "horn.wav"});
    open("Empty");
    window->menus.at("mnuViewTrain")->trigger();
    EXPECT_TRUE(window->trainView.isNull());  // no car line: no whole-train view
    const std::tuple<const char*, int, QString, QSize, QRgb> cases[] = {
        {"Express", 3, "2 : D:\\KSN\\b.bmp ( 40dot )", {120, 40}, 0x22AA44},
        {"Express", 4, "2 : D:\\KSN\\b.bmp ( 40dot )", {120, 40}, 0x22AA44},  // missing: reported, the view stays
        {"Bad", 2, "1 : D:\\KSN\\flat.bmp ( 0dot )", {1, 1}, 0},              // no usable size: no picture
    };
    for (const auto& [title, row, caption, size, colour] : cases) {
        open(title);
        if (window->carView && row != 4) window->carView->move(700, 700);  // wherever the user put it, it comes back
        viewCar(row);
        ASSERT_TRUE(window->carView);
        frmCar& v = *window->carView;
        EXPECT_EQ(std::tuple(v.windowTitle(), v.size(), v.frameGeometry().topLeft(), v.imgCar->isVisible()),
                  std::tuple(caption, size, belowMain(), colour != 0));
        EXPECT_TRUE(!colour || (v.grab().toImage().pixel(size.width() - 1, size.height() - 1) & 0xFFFFFF) == colour);
        EXPECT_EQ(modal.messageTexts(),
                  row == 4 ? QStringList{"車両が見つかりません。\r\nFile= D:\\KSN\\missing.bmp"} : QStringList());
    }
    window->carView->close();  // by the user: it is made anew
    deleteClosed();
    viewCar(3);
    EXPECT_TRUE(window->carView && window->carView->isVisible());
    // Each run replaces the whole-train view; both viewers close with the main window.
    QPointer<frmTrain> first = &pressF2(), second = &pressF2();
    QPointer<frmCar> car = window->carView;
    deleteClosed();
    EXPECT_TRUE(first.isNull() && second);
    window->close();
    deleteClosed();
    EXPECT_TRUE(second.isNull() && car.isNull());
}

}  // namespace
}  // namespace ksn
