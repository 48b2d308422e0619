// The main window driven as a user drives it: real widgets offscreen, keys, clicks, drags and
// drops, the real clipboard; the scripted seam answers the boxes and records what they showed.
#include "mainwindow/frmMain.h"
#include "support/product/version.h"
#include "testkit/scripted_modal.h"
#include "testkit/scripted_shell.h"
#include "testkit/tempdrive.h"
#include "viewers/frmCar.h"

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
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

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
    void loadExpress() {
        window->cmbTrain->setCurrentIndex(0);
        window->menus.at("mnuFileQuickLoad")->trigger();
    }
    QStringList listRows() const {
        QStringList out;
        for (int i = 0; i < window->lstCars->count(); ++i) out << window->lstCars->item(i)->text();
        return out;
    }
    QWidget* list() const { return window->lstCars->viewport(); }
    QPoint rowCenter(int row) const { return window->lstCars->visualItemRect(window->lstCars->item(row)).center(); }
    void clickRow(int row) { QTest::mouseClick(list(), Qt::LeftButton, {}, rowCenter(row)); }
    // A popup opens at the pointer and blocks: its item is chosen while it is open.
    void choose(QMenu* popup, const char* item) {
        QTimer::singleShot(0, [=, this] {
            window->menus.at(item)->trigger();
            popup->close();
        });
    }

    TempDrive drive;
    ScriptedModal modal;
    std::shared_ptr<ScriptedShell> shell = std::make_shared<ScriptedShell>();
    std::unique_ptr<Ksned> state;
    std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, StartUpFillsTheFolderAndTheListsAndLoadsTheArgument) {
    writeKsn("b.KSN", {"", "x.wav"});
    frmMain& w = start("D:\\KSN\\express.KSN");
    EXPECT_EQ(w.txtDefFolder->text() + ' ' + QString::number(w.cmbTrain->count()) + ' ' + w.windowTitle(),
              "D:\\KSN 2 express.KSN - KSNED32");
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"}));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(MainWindowTest, KeysMenusButtonsAndMouseReachTheirCommands) {
    frmMain& w = start();
    using Press = std::function<void()>;
    auto key = [&](QKeyCombination k) -> Press { return [&w, k] { QTest::keySequence(&w, QKeySequence(k)); }; };
    auto listKey = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) -> Press {
        return [&w, k, m] { QTest::keyClick(w.lstCars, k, m); };
    };
    auto menu = [&](const char* item) -> Press { return [&w, item] { w.menus.at(item)->trigger(); }; };
    auto button = [&](const char* name) -> Press {
        return [&w, name] { QTest::mouseClick(w.Toolbar1->widgetForAction(w.buttons.at(name)), Qt::LeftButton); };
    };
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
    auto afterCut = [&](Press load) -> Press {
        return [&w, load] {
            w.mnuEditCut_Click();
            load();
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
    const QString rear = "D:\\KSN\\cars\\a.bmp;rear", b = "D:\\KSN\\cars\\b.bmp";
    const QString cut = "4 rows, row 3, " + rear, copied = "5 rows, row 4, " + rear,
                  reloaded = "5 rows, row -1, " + rear, pasted = "6 rows, row -1, " + b, fresh = "2 rows, row -1, " + b,
                  saveAs = "名前を付けてKSNの保管", addCar = "車両画像ファイルの選択",
                  title = "編成コメントを入力して下さい", sound = "サウンドファイルの設定",
                  comment = "削除する場合はキャンセルを選択してください",
                  help = "ヘルプがありません。別途入手してください。";
    const struct {
        const char* what;
        Press press;
        QString did;
    } cases[] = {
        {"Ctrl+L", afterCut(key(Qt::CTRL | Qt::Key_L)), reloaded},
        {"open button", afterCut(button("開く")), reloaded},
        {"Ctrl+S", key(Qt::CTRL | Qt::Key_S), saveAs},
        {"save button", button("保存"), saveAs},
        {"Ctrl+N", key(Qt::CTRL | Qt::Key_N), fresh},
        {"new button", button("新規作成"), fresh},
        {"Ctrl+A", key(Qt::CTRL | Qt::Key_A), addCar},
        {"Insert", listKey(Qt::Key_Insert), addCar},
        {"add button", button("AddCar"), addCar},
        {"Ctrl+X", key(Qt::CTRL | Qt::Key_X), cut},
        {"Delete", listKey(Qt::Key_Delete), cut},
        {"cut button", button("切り取り"), cut},
        // The keypad's Ins and Del with NumLock off.
        {"keypad Insert", listKey(Qt::Key_Insert, Qt::KeypadModifier), addCar},
        {"keypad Delete", listKey(Qt::Key_Delete, Qt::KeypadModifier), cut},
        {"Ctrl+C", key(Qt::CTRL | Qt::Key_C), copied},
        {"copy button", button("コピー"), copied},
        {"Ctrl+V", key(Qt::CTRL | Qt::Key_V), pasted},
        {"paste button", button("貼り付け"), pasted},
        {"title menu", menu("mnuEditTitle"), title},
        {"title double click", doubleClick(0), title},
        {"sound menu", menu("mnuEditSound"), sound},
        {"sound double click", doubleClick(1), sound},
        {"Ctrl+M", key(Qt::CTRL | Qt::Key_M), comment},
        {"F1", key(Qt::Key_F1), help},
        {"help button", button("ﾍﾙﾌﾟ"), help},
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
    auto clickBelowTheRows = [&] { QTest::mouseClick(list(), Qt::LeftButton, {}, QPoint(20, list()->height() - 5)); };
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
        {"key down after a click below",
         [&] {
             clickBelowTheRows();
             key(Qt::Key_Down);
         },
         0, untouched},
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
        EXPECT_EQ(highlighted(), c.row) << c.what;
        EXPECT_EQ(w.editor().selectedRow(), c.row) << c.what;
        QTest::keyClick(w.lstCars, Qt::Key_Delete);
        EXPECT_EQ(QApplication::clipboard()->text(), c.cut) << c.what;
        EXPECT_EQ(w.lstCars->count(), c.cut == untouched ? 5 : 4) << c.what;
        EXPECT_EQ(highlighted(), w.editor().selectedRow()) << c.what;
    }
}

TEST_F(MainWindowTest, TheWindowPlacementIsNeitherRestoredNorSaved) {
    // A placement an earlier version kept: 100, 150 dots at 96 dots per inch.
    QSettings store(QSettings::UserScope, kProductName, kProductName);
    store.clear();
    const std::pair<const char*, int> kept[] = {{"frmMainPossition/Left", 1500},
                                                {"frmMainPossition/Top", 2250},
                                                {"frmMainPossition/Width", 12000},
                                                {"frmMainPossition/Height", 9000}};
    for (const auto& [key, twips] : kept) store.setValue(key, twips);
    store.sync();
    frmMain& w = start();
    EXPECT_NE(w.frameGeometry().topLeft(), QPoint(100, 150));
    w.move(300, 200);
    w.close();
    store.sync();
    for (const auto& [key, twips] : kept) EXPECT_EQ(store.value(key).toInt(), twips) << key;
    EXPECT_EQ(store.allKeys().size(), 4);
}

TEST_F(MainWindowTest, TheSaveModeChosenOnTheStatusBarDecidesTheSavedPaths) {
    start();
    loadExpress();
    const struct {
        const char* item;
        QString sound, car;
    } modes[] = {
        {"mnuPopupSaveModeFileOnly", "horn.wav;汽笛", "a.bmp;front"},
        {"mnuPopupSaveModeKSN", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\a.bmp;front"},
        {"mnuPopupSaveModeNonDrive", "\\KSN\\horn.wav;汽笛", "\\KSN\\cars\\a.bmp;front"},
        {"mnuPopupSaveModeDefault", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\a.bmp;front"},
    };
    for (const auto& m : modes) {
        choose(window->mnuPopupSaveMode, m.item);
        QTest::mouseClick(window->panels.at("SaveMode"), Qt::LeftButton);
        EXPECT_EQ(window->panels.at("SaveMode")->text(), window->menus.at(m.item)->text().section(u'(', 0, 0));
        for (const auto& other : modes)
            EXPECT_EQ(window->menus.at(other.item)->isChecked(), &other == &m) << m.item << ' ' << other.item;
        modal.files.push_back(QStringLiteral("D:\\KSN\\out.KSN"));
        window->menus.at("mnuFileSaveAs")->trigger();
        EXPECT_TRUE(drive.read("KSN/out.KSN").startsWith(ksnBytes({"特急", m.sound, m.car}))) << m.item;
    }
}

TEST_F(MainWindowTest, TheCommentPanelShowsTheEditorsSwitch) {
    frmMain& w = start();
    loadExpress();
    QLabel* panel = w.panels.at("Comment");
    auto shown = [&] { return panel->text() + (panel->frameShadow() == QFrame::Raised ? " raised" : " sunken"); };
    EXPECT_EQ(shown(), "On sunken");
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(shown() + ' ' + listRows()[1], "Off raised horn.wav");
    // The switch turned back by the Editor alone: the panel follows at the next command, and a click
    // flips the Editor's switch, not the one the panel showed before.
    w.editor().setCommentsOn(true);
    loadExpress();
    EXPECT_EQ(shown() + ' ' + listRows()[1], "On sunken horn.wav;汽笛");
    w.editor().setCommentsOn(false);
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(shown() + ' ' + listRows()[1], "On sunken horn.wav;汽笛");
}

TEST_F(MainWindowTest, ToolbarButtonsAreTheirMenuItemsWithTheirOwnTips) {
    frmMain& w = start();
    const struct {
        const char* key;
        const char* item;
        const char* tip;
    } cases[] = {
        {"新規作成", "mnuFileNew", "編成新規作成"},          {"開く", "mnuFileQuickLoad", "編成を開く"},
        {"保存", "mnuFileSaveAs", "名前を付けて編成を保存"}, {"AddCar", "mnuEditAdd", "車両の追加"},
        {"切り取り", "mnuEditCut", "車両の切り取り"},        {"コピー", "mnuEditCopy", "車両のコピー"},
        {"貼り付け", "mnuEditPaste", "車両の貼り付け"},      {"ﾍﾙﾌﾟ", "mnuHelpHelp", "ヘルプの表示"},
    };
    for (const auto& c : cases) {
        QAction* a = w.buttons.at(c.key);
        EXPECT_EQ(a, w.menus.at(c.item)) << c.key;
        QWidget* b = w.Toolbar1->widgetForAction(a);
        EXPECT_EQ(b->objectName() + ' ' + b->toolTip(), QString(c.key) + ' ' + c.tip);
        EXPECT_FALSE(a->icon().isNull() || a->isIconVisibleInMenu()) << c.key;
    }
    EXPECT_EQ(w.buttons.size(), std::size(cases));
}

TEST_F(MainWindowTest, DragMovesACarButNeverOntoTitleOrSound) {
    start();
    loadExpress();
    auto dragFrom = [&](QPoint from, int to) {
        QTest::mousePress(list(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, rowCenter(to), list()->mapToGlobal(rowCenter(to)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(list(), &move);
        QTest::mouseRelease(list(), Qt::LeftButton, {}, rowCenter(to));
    };
    auto drag = [&](int from, int to) { dragFrom(rowCenter(from), to); };
    clickRow(4);
    dragFrom(QPoint(rowCenter(4).x(), list()->height() - 5), 2);  // a press on no row moves nothing
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"}));
    drag(4, 2);
    const QStringList moved{"特急", "horn.wav;汽笛", "a.bmp;rear", "a.bmp;front", "b.bmp"};
    EXPECT_EQ(listRows(), moved);
    EXPECT_EQ(window->panels.at("Msg")->text(), "1 / 3両");
    for (int target : {0, 1}) drag(3, target);
    EXPECT_EQ(listRows(), moved);
}

TEST_F(MainWindowTest, DroppedFilesAreTakenByExtensionOnTheListAndOnTheFolderBox) {
    drive.write("snd/new.WAV", "RIFF");
    drive.mkdir("folder");
    start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(drive.host("KSN/cars/b.bmp")), QUrl::fromLocalFile(drive.host("snd/new.WAV")),
                  QUrl::fromLocalFile(drive.host("folder")), QUrl("https://example.invalid/x.bmp")});
    // The folder box passes drops to the window instead of taking the dropped file's text.
    for (QWidget* target : {list(), static_cast<QWidget*>(window->txtDefFolder)}) {
        loadExpress();
        clickRow(2);
        modal.clear();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted() && enter.dropAction() == Qt::CopyAction);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(listRows(), (QStringList{"特急", "new.WAV", "a.bmp;front", "b.bmp", "b.bmp", "a.bmp;rear"}));
        EXPECT_EQ(modal.messages.size(), 1u);  // the folder's
        EXPECT_EQ(window->txtDefFolder->text(), "D:\\KSN");
    }
    // The bars are no drop targets, though Qt offers a drag they refuse to the window behind them.
    for (QWidget* bar : {static_cast<QWidget*>(window->Toolbar1), static_cast<QWidget*>(window->StatusBar1),
                         static_cast<QWidget*>(window->menuBar())}) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &enter);
        EXPECT_FALSE(enter.isAccepted()) << bar->objectName().toStdString();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &drop);
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
TEST_F(MainWindowTest, EachBoxStandsBesideTheFileAndTheRowsItIsAbout) {
    drive.write("KSN/cars/tall.bmp", makeBmp(120, 60));
    QStringList lines{"長編成", "x.wav", "D:\\KSN\\cars\\a.bmp"};
    while (lines.size() < 105) lines << "D:\\KSN\\cars\\tall.bmp";
    writeKsn("over.KSN", lines);
    start("D:\\KSN\\express.KSN");
    QStringList seen;
    modal.onMessage = [&](const RecordedMessage&) {
        seen << window->windowTitle() + ' ' + QString::number(window->lstCars->count());
    };
    window->editor().document().setCurrentFilePath("over.KSN");
    window->editor().LoadCurrentFile();
    EXPECT_EQ(seen, (QStringList{"over.KSN - KSNED32 5", "over.KSN - KSNED32 103"}));

    seen.clear();
    window->menus.at("mnuFilePathChange")->trigger();  // express.KSN says nothing, over.KSN twice
    EXPECT_EQ(seen.mid(1), (QStringList{"over.KSN - KSNED32 5", "over.KSN - KSNED32 103"}));
    EXPECT_EQ(window->windowTitle(), "");

    window->menus.at("mnuFileNew")->trigger();
    QApplication::clipboard()->setText("D:\\KSN\\cars\\a.bmp");
    window->menus.at("mnuEditPaste")->trigger();
    seen.clear();
    QApplication::clipboard()->setText("D:\\KSN\\cars\\tall.bmp");
    window->menus.at("mnuEditPaste")->trigger();
    EXPECT_EQ(seen, QStringList{" 4"});
}

}  // namespace
}  // namespace ksn
