// The main window and its viewers driven as a user drives them, offscreen, with the real clipboard.
#include "mainwindow/frmMain.h"
#include "testkit/scripted_modal.h"
#include "testkit/scripted_shell.h"
#include "testkit/tempdrive.h"
#include "viewers/frmCar.h"
#include "viewers/frmTrain.h"

#include <QtTest>
#include <QtWidgets>

#include <stdexcept>

namespace ksn {
namespace {

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

TEST_F(MainWindowTest, TheArgumentIsLoadedAndKeysMenusAndMouseReachTheirCommands) {
    frmMain& w = start("D:\\KSN\\express.KSN");
    EXPECT_EQ(w.txtDefFolder->text() + ' ' + QString::number(w.cmbTrain->count()) + ' ' + w.windowTitle(),
              "D:\\KSN 1 express.KSN - KSNED32");
    EXPECT_TRUE(listRows() == express && modal.messages.empty());
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
        {"sound menu", menu("mnuEditSound"), sound},
        {"Ctrl+M", key(Qt::CTRL | Qt::Key_M), comment},
        {"F1", key(Qt::Key_F1), "ヘルプがありません。別途入手してください。"},
        {"load menu", menu("mnuFileLoad"), "ﾌｧｲﾙを指定して読み込み"},
        {"car double click", doubleClick(3), "2 : D:\\KSN\\cars\\b.bmp ( 40dot )"},
        // The popup (the only way to the whistle) last: offscreen, the window is never active again.
        {"popup",
         [&] {
             choose(w.mnuPopup, "mnuPopupEditComment"), QTest::mouseClick(list(), Qt::RightButton, {}, rowCenter(2));
         },
         comment},
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
    const QString untouched = "clipboard", b = "D:\\KSN\\cars\\b.bmp";
    const struct {
        const char* what;
        std::function<void()> act;
        int row;
        QString cut;
    } cases[] = {
        {"click on a row", [&] { clickRow(3); }, 3, b},
        {"click below the rows", clickBelowTheRows, -1, untouched},
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

TEST_F(MainWindowTest, TheStatusBarPanelsSwitchTheCommentsAndTheSaveMode) {
    frmMain& w = start();
    loadExpress();
    QLabel* panel = w.panels.at("Comment");
    auto shown = [&] {
        return panel->text() + (panel->frameShadow() == QFrame::Raised ? " raised " : " sunken ") + listRows()[1];
    };
    EXPECT_EQ(shown(), "On sunken horn.wav;汽笛");
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(shown(), "Off raised horn.wav");

    // The panel shows the Editor's mode, the one chosen.
    for (const char* m : {"mnuPopupSaveModeKSN", "mnuPopupSaveModeDefault"}) {
        choose(w.mnuPopupSaveMode, m);
        QTest::mouseClick(w.panels.at("SaveMode"), Qt::LeftButton);
        EXPECT_EQ(w.panels.at("SaveMode")->text(), w.menus.at(m)->text().section(u'(', 0, 0));
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
    drag(rowCenter(4), 2);
    const QStringList moved{"特急", "horn.wav;汽笛", "a.bmp;rear", "a.bmp;front", "b.bmp"};
    EXPECT_EQ(listRows(), moved);
    for (int target : {0, 1}) drag(rowCenter(3), target);
    EXPECT_EQ(listRows(), moved);
}

TEST_F(MainWindowTest, DroppedFilesAreTakenByExtensionOnTheListAndOnTheFolderBox) {
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

// The viewers: cars a (100 x 40, red), b (120 x 40, green), c (80 x 30, blue) and a missing one.
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
    EXPECT_EQ(std::pair(t.frameGeometry().topLeft(), t.frameGeometry().width()),
              std::pair(belowMain(), window->frameGeometry().width()));
    // Above the scroll bar every pixel is a car's: a (100 wide), b (120), c (80).
    const auto strip = buildTrainStrip(window->editor().rows(), state->DefaultFolder, state->fso);
    const QImage drawn = renderTrainStrip(*strip).copy(0, 0, 300, 30), shown = t.grab().toImage().copy(0, 0, 300, 30);
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) == drawn.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewersTest, TheCarViewShowsTheCarBelowTheMainWindowAndReportsAMissingOne) {
    writeKsn("empty.KSN", {"Empty", "horn.wav"});
    open("Empty");
    window->menus.at("mnuViewTrain")->trigger();
    EXPECT_TRUE(window->trainView.isNull());  // no car line: no whole-train view
    open();
    for (int row : {3, 4}) {  // 4 is missing: reported, and the view stays
        viewCar(row);
        ASSERT_TRUE(window->carView);
        frmCar& v = *window->carView;
        EXPECT_EQ(std::tuple(v.windowTitle(), v.size(), v.frameGeometry().topLeft(), v.imgCar->isVisible()),
                  std::tuple(QString("2 : D:\\KSN\\b.bmp ( 40dot )"), QSize(120, 40), belowMain(), true));
        EXPECT_EQ(v.grab().toImage().pixel(119, 39) & 0xFFFFFF, 0x22AA44u);
        EXPECT_EQ(modal.messageTexts(),
                  row == 4 ? QStringList{"車両が見つかりません。\r\nFile= D:\\KSN\\missing.bmp"} : QStringList());
    }
    window->carView->close();  // by the user: it is made anew
    deleteClosed();
    viewCar(3);
    EXPECT_TRUE(window->carView && window->carView->isVisible());
}

}  // namespace
}  // namespace ksn
