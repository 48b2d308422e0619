// The main window driven as a user drives it: real widgets offscreen, key clicks, mouse drags and
// drops, the real clipboard; the scripted seam answers the boxes and records every message.
#include "cp932.h"
#include "frmMain.h"
#include "scripted_modal.h"
#include "tempdrive.h"

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
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::ScriptedModal;
using test::TempDrive;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        drive.write(QStringLiteral("bin/ksned32.ini"), "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n");
        drive.write(QStringLiteral("KSN/cars/a.bmp"), makeBmp(120, 40));
        drive.write(QStringLiteral("KSN/cars/b.bmp"), makeBmp(120, 40));
        writeKsn(QStringLiteral("express.KSN"), {"特急", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\a.bmp;front", "D:\\KSN\\cars\\b.bmp",
                                                 "D:\\KSN\\cars\\a.bmp;rear"});
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32")));
    }

    // Builds the window and runs its start-up.
    frmMain& start(const QString& commandLine = {}) {
        window = std::make_unique<frmMain>(*state, modal);
        window->Form_Load(commandLine);
        window->show();
        return *window;
    }
    void writeKsn(const QString& name, const QStringList& lines) { drive.write(QStringLiteral("KSN/") + name, ksnBytes(lines)); }
    QStringList listRows() const {
        QStringList out;
        for (int i = 0; i < window->lstCars->count(); ++i) out << window->lstCars->item(i)->text();
        return out;
    }
    QPoint rowCenter(int row) const { return window->lstCars->visualItemRect(window->lstCars->item(row)).center(); }
    void clickRow(int row) { QTest::mouseClick(window->lstCars->viewport(), Qt::LeftButton, {}, rowCenter(row)); }
    void loadExpress() {
        window->cmbTrain->setCurrentIndex(0);
        window->mnuFileQuickLoad_Click();
    }
    QString panel(const char* key) const { return window->panels.at(QString::fromLatin1(key))->text(); }

    TempDrive drive;
    ScriptedModal modal;
    std::unique_ptr<Ksned> state;
    std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
    frmMain& w = start();
    EXPECT_EQ(w.centralWidget()->size(), QSize(600, 406));
    const struct {
        QWidget* widget;
        QRect rect;
    } cases[] = {
        {w.Label1Folder, {8, 6, 65, 17}},   {w.txtDefFolder, {80, 4, 511, 25}}, {w.Label1Train, {4, 50, 33, 17}},
        {w.cmbTrain, {48, 48, 549, 26}},    {w.cmdStop, {232, 88, 105, 29}},   {w.Toolbar1, {384, 88, 204, 26}},
        {w.lstCars, {8, 120, 585, 256}},    {w.StatusBar1, {0, 381, 600, 25}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.widget->geometry(), c.rect) << c.widget->objectName().toStdString();
    EXPECT_EQ(w.Label1Folder->text(), QStringLiteral("フォルダ"));
    EXPECT_EQ(w.Label1Train->text(), QStringLiteral("編成"));
    EXPECT_FALSE(w.cmdStop->isVisible());
    EXPECT_EQ(w.cmdStop->text(), QStringLiteral("&Stop"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KSNED32"));
}

TEST_F(MainWindowTest, MenuBarHoldsTheMenusWithTheirCaptionsAndKeys) {
    frmMain& w = start();
    QStringList top;
    for (QAction* a : w.menuBar()->actions()) top << a->text();
    EXPECT_EQ(top, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "オプション(&O)", "ヘルプ(&H)"}));
    const struct {
        const char* name;
        const char* caption;
        QKeySequence key;
    } items[] = {
        {"mnuFileQuickLoad", "編成読み込み(&L)", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {"mnuFileLoad", "ファイルを指定して読み込み(&O)...", {}},
        {"mnuFileSaveAs", "名前を付けて保管(&S)...", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFileNew", "編成の新生(&N)...", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuFilePathChange", "パス名連続変更", {}},
        {"mnuFileEnd", "KSNED32 の終了(&E)", {}},
        {"mnuEditAdd", "車両の追加(&A)...", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"mnuEditCut", "車両の切り取り(&X)", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuEditCopy", "車両のコピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"mnuEditPaste", "車両の貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"mnuEditTitle", "編成名の編集(&T)...", {}},
        {"mnuEditSound", "サウンドの変更(&S)...", {}},
        {"mnuEditComment", "コメントの編集(&O)...", QKeySequence(Qt::CTRL | Qt::Key_M)},
        {"mnuViewTrain", "編成(&T)", QKeySequence(Qt::Key_F2)},
        {"mnuViewCar", "車両(&C)", {}},
        {"mnuOptionSetFolder", "フォルダの設定(&B)...", {}},
        {"mnuOptionRescanFolder", "編成再検索(&S)", QKeySequence(Qt::Key_F5)},
        {"mnuHelpHelp", "ヘルプ(&H)", QKeySequence(Qt::Key_F1)},
        {"mnuHelpAbout", "KSNED32 について(&A)...", {}},
        {"mnuPopupEditComment", "コメントの変更(&C)...", {}},
        {"mnuPopupViewCar", "車両の表示(&V)", {}},
        {"mnuPopupEditTitle", "編成名の編集(&T)...", {}},
        {"mnuPopupSound", "サウンドの変更(&S)...", {}},
        {"mnuPopupSoundWhistling", "サウンドを鳴らす(&W)...", {}},
        {"mnuPopupSaveModeFileOnly", "ファイル名のみ(&F)", {}},
        {"mnuPopupSaveModeKSN", "編成ファイルのまま(&T) ", {}},
        {"mnuPopupSaveModeNonDrive", "ドライブ名以降(&A)", {}},
        {"mnuPopupSaveModeDefault", "デフォルトフォルダ(&D)", {}},
    };
    for (const auto& item : items) {
        QAction* a = w.menus.at(QString::fromLatin1(item.name));
        EXPECT_EQ(a->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(a->shortcut(), item.key) << item.name;
    }
    EXPECT_TRUE(w.menus.at(QStringLiteral("mnuPopupSaveModeFileOnly"))->isChecked());
    EXPECT_FALSE(w.menus.at(QStringLiteral("mnuPopupSaveModeKSN"))->isChecked());
    // The popups are not in the menu bar.
    for (QAction* a : w.menuBar()->actions()) EXPECT_NE(a->menu(), w.mnuPopup);
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTipsAndSeparators) {
    frmMain& w = start();
    QStringList order;
    for (QAction* a : w.Toolbar1->actions()) order << (a->isSeparator() ? QStringLiteral("|") : a->property("Key").toString() + u'=' + a->toolTip());
    EXPECT_EQ(order, (QStringList{"新規作成=編成新規作成", "開く=編成を開く", "保存=名前を付けて編成を保存", "|", "AddCar=車両の追加",
                                  "切り取り=車両の切り取り", "コピー=車両のコピー", "貼り付け=車両の貼り付け", "|", "ﾍﾙﾌﾟ=ヘルプの表示"}));
    for (QAction* a : w.Toolbar1->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->property("Key").toString().toStdString();
        }
    }
}

TEST_F(MainWindowTest, StartUpReadsTheFolderScansAndLoadsTheArgument) {
    writeKsn(QStringLiteral("another.KSN"), {"", "x.wav"});
    frmMain& w = start(QStringLiteral("D:\\KSN\\express.KSN"));
    EXPECT_EQ(w.txtDefFolder->text(), QStringLiteral("D:\\KSN"));
    EXPECT_EQ(w.cmbTrain->count(), 2);
    EXPECT_EQ(w.cmbTrain->currentIndex(), 0);
    EXPECT_EQ(w.cmbTrain->toolTip(), QStringLiteral("another.KSN"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("express.KSN - KSNED32"));
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"}));
    EXPECT_EQ(panel("Comment"), QStringLiteral("On"));
    EXPECT_EQ(panel("SaveMode"), QStringLiteral("ファイル名のみ"));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(MainWindowTest, StartUpWithoutArgumentSelectsTheLastUntitledFormation) {
    writeKsn(QStringLiteral("b.KSN"), {"", "x.wav"});
    writeKsn(QStringLiteral("c.KSN"), {"", "y.wav"});
    frmMain& w = start();
    // Name order: b, c, express; the last item whose title equals the empty document's is c.
    EXPECT_EQ(w.cmbTrain->currentIndex(), 1);
    EXPECT_EQ(w.cmbTrain->toolTip(), QStringLiteral("c.KSN"));
    EXPECT_EQ(w.lstCars->count(), 0);
}

TEST_F(MainWindowTest, SlashETakenAsAFormationPathIsNotFound) {
    start(QStringLiteral("/e"));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("File= /e"));
    EXPECT_EQ(modal.messages[0].title, QStringLiteral("Not found"));
}

TEST_F(MainWindowTest, LoadEditSaveRoundTripInEachMode) {
    start();
    loadExpress();
    const struct {
        const char* modeItem;
        QStringList expected;
    } cases[] = {
        {"mnuPopupSaveModeFileOnly", {"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"}},
        {"mnuPopupSaveModeKSN", {"特急", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\a.bmp;front", "D:\\KSN\\cars\\b.bmp", "D:\\KSN\\cars\\a.bmp;rear"}},
        {"mnuPopupSaveModeNonDrive", {"特急", "\\KSN\\horn.wav;汽笛", "\\KSN\\cars\\a.bmp;front", "\\KSN\\cars\\b.bmp", "\\KSN\\cars\\a.bmp;rear"}},
        {"mnuPopupSaveModeDefault", {"特急", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\a.bmp;front", "D:\\KSN\\b.bmp", "D:\\KSN\\a.bmp;rear"}},
    };
    for (const auto& c : cases) {
        // The popup opens at the pointer and blocks; choose the item while it is open.
        QTimer::singleShot(0, [&] { window->menus.at(QString::fromLatin1(c.modeItem))->trigger(); window->mnuPopupSaveMode->close(); });
        window->StatusBar1_PanelClick(QStringLiteral("SaveMode"));
        modal.files.push_back(QStringLiteral("D:\\KSN\\out.KSN"));
        window->mnuFileSaveAs_Click();
        EXPECT_EQ(drive.read(QStringLiteral("KSN/out.KSN")), ksnBytes(c.expected)) << c.modeItem;
        EXPECT_EQ(modal.fileRequests.back().title, QStringLiteral("名前を付けてKSNの保管"));
        EXPECT_EQ(modal.fileRequests.back().kind, FileDialogRequest::Kind::Save);
    }
    EXPECT_EQ(panel("SaveMode"), QStringLiteral("デフォルトフォルダ"));
    EXPECT_TRUE(window->menus.at(QStringLiteral("mnuPopupSaveModeDefault"))->isChecked());
    EXPECT_FALSE(window->menus.at(QStringLiteral("mnuPopupSaveModeFileOnly"))->isChecked());
}

TEST_F(MainWindowTest, CommentPanelClickTogglesTheBevelAndTheList) {
    start();
    loadExpress();
    QLabel* p = window->panels.at(QStringLiteral("Comment"));
    QTest::mouseClick(p, Qt::LeftButton);
    EXPECT_EQ(p->text(), QStringLiteral("Off"));
    EXPECT_EQ(p->frameShadow(), QFrame::Raised);
    EXPECT_EQ(listRows().value(2), QStringLiteral("a.bmp"));
    QTest::mouseClick(p, Qt::LeftButton);
    EXPECT_EQ(p->text(), QStringLiteral("On"));
    EXPECT_EQ(p->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(listRows().value(2), QStringLiteral("a.bmp;front"));
}

TEST_F(MainWindowTest, DragMovesACarUpAndDownButNeverOntoTitleOrSound) {
    start();
    loadExpress();
    auto drag = [&](int from, int to) {
        QWidget* vp = window->lstCars->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, rowCenter(from));
        QMouseEvent move(QEvent::MouseMove, rowCenter(to), vp->mapToGlobal(rowCenter(to)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, rowCenter(to));
    };
    drag(4, 2);
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;rear", "a.bmp;front", "b.bmp"}));
    // The moved car's document line is now its row text; the others keep theirs.
    EXPECT_EQ(state->FormationLines[2], QStringLiteral("a.bmp;rear"));
    EXPECT_EQ(state->FormationLines[3], QStringLiteral("D:\\KSN\\cars\\a.bmp;front"));
    drag(2, 4);
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;front", "b.bmp", "a.bmp;rear"}));
    for (int target : {0, 1}) {
        drag(3, target);
        EXPECT_EQ(listRows().value(3), QStringLiteral("b.bmp")) << target;
    }
}

TEST_F(MainWindowTest, CutCopyPasteGoThroughTheClipboardAsDocumentLines) {
    start();
    loadExpress();
    clickRow(2);
    window->mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("D:\\KSN\\cars\\a.bmp;front"));
    clickRow(4);
    QTest::keyClick(window->lstCars, Qt::Key_Delete);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("D:\\KSN\\cars\\a.bmp;rear"));
    EXPECT_EQ(window->lstCars->count(), 4);
    EXPECT_EQ(window->lstCars->currentRow(), 3);
    EXPECT_EQ(panel("Msg"), QStringLiteral("2 / 2両"));
    clickRow(2);
    window->mnuEditPaste_Click();
    EXPECT_EQ(listRows(), (QStringList{"特急", "horn.wav;汽笛", "a.bmp;rear", "a.bmp;front", "b.bmp"}));
    EXPECT_EQ(window->lstCars->currentRow(), -1);
    // The title row cannot be cut.
    clickRow(0);
    QTest::keyClick(window->lstCars, Qt::Key_Delete);
    EXPECT_EQ(window->lstCars->count(), 5);
    EXPECT_EQ(panel("Msg"), QStringLiteral("3両"));
}

TEST_F(MainWindowTest, InsertKeyAddsACarFromTheDialogBeforeTheSelection) {
    start();
    loadExpress();
    clickRow(3);
    modal.files.push_back(QStringLiteral("D:\\KSN\\cars\\b.bmp"));
    QTest::keyClick(window->lstCars, Qt::Key_Insert);
    EXPECT_EQ(listRows().value(3), QStringLiteral("b.bmp"));
    EXPECT_EQ(listRows().value(4), QStringLiteral("b.bmp"));
    ASSERT_FALSE(modal.fileRequests.empty());
    EXPECT_EQ(modal.fileRequests.back().title, QStringLiteral("車両画像ファイルの選択"));
    EXPECT_EQ(modal.fileRequests.back().filter, QStringLiteral("BMP File (*.BMP)|*.BMP|All Files (*.*)|*.*|"));
    // Cancel adds nothing.
    QTest::keyClick(window->lstCars, Qt::Key_Insert);
    EXPECT_EQ(window->lstCars->count(), 6);
}

TEST_F(MainWindowTest, AFullListRefusesAddPasteAndDropWithOneMessageEach) {
    QStringList lines{"Full", " "};
    for (int i = 0; i < 101; ++i) lines << QStringLiteral("D:\\KSN\\cars\\a.bmp");
    writeKsn(QStringLiteral("full.KSN"), lines);
    start(QStringLiteral("D:\\KSN\\full.KSN"));
    ASSERT_EQ(window->lstCars->count(), 103);
    modal.clear();
    modal.files.push_back(QStringLiteral("D:\\KSN\\cars\\b.bmp"));
    window->mnuEditAdd_Click();
    QApplication::clipboard()->setText(QStringLiteral("x.bmp"));
    window->mnuEditPaste_Click();
    window->dropFiles({QUrl::fromLocalFile(drive.host(QStringLiteral("KSN/express.KSN")))});
    EXPECT_EQ(modal.messageTexts(), QStringList(3, QStringLiteral("車両数が既にMAXを越えているので新たな車両は追加出来ません。")));
    EXPECT_EQ(window->lstCars->count(), 103);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("full.KSN - KSNED32"));
}

TEST_F(MainWindowTest, CommentAndSoundEditingWithOkAndCancel) {
    start();
    loadExpress();
    clickRow(2);
    modal.inputs.push_back(QStringLiteral("rear"));
    window->mnuEditComment_Click();
    EXPECT_EQ(modal.prompts.back(), QStringLiteral("削除する場合はキャンセルを選択してください\r\n行 : 3\r\nFile= D:\\KSN\\cars\\a.bmp"));
    EXPECT_EQ(state->FormationLines[2], QStringLiteral("D:\\KSN\\cars\\a.bmp;rear"));

    // Cancel, then No: the comment stays; Cancel, then Yes: it goes.
    clickRow(2);
    modal.answers.push_back(MsgAnswer::No);
    window->mnuEditComment_Click();
    EXPECT_EQ(state->FormationLines[2], QStringLiteral("D:\\KSN\\cars\\a.bmp;rear"));
    clickRow(2);
    window->mnuEditComment_Click();
    EXPECT_EQ(state->FormationLines[2], QStringLiteral("D:\\KSN\\cars\\a.bmp"));
    EXPECT_EQ(modal.messages.back().text, QStringLiteral("コメントを削除しますか"));
    EXPECT_EQ(modal.messages.back().icon, MsgIcon::Question);

    // Double click on the sound row: choose a file, leave the comment empty.
    clickRow(1);
    modal.files.push_back(QStringLiteral("D:\\Snd\\horn.wav"));
    QTest::mouseDClick(window->lstCars->viewport(), Qt::LeftButton, {}, rowCenter(1));
    EXPECT_EQ(state->FormationLines[1], QStringLiteral("D:\\Snd\\horn.wav;"));
    EXPECT_EQ(listRows().value(1), QStringLiteral("horn.wav"));
    EXPECT_EQ(modal.fileRequests.back().fileName, QStringLiteral("D:\\KSN\\horn.wav"));

    // Cancel the sound dialog and answer No: nothing changes; then Yes: the sound goes.
    modal.answers.push_back(MsgAnswer::No);
    window->mnuEditSound_Click();
    EXPECT_EQ(state->FormationLines[1], QStringLiteral("D:\\Snd\\horn.wav;"));
    window->mnuEditSound_Click();
    EXPECT_EQ(state->FormationLines[1], QString());
    EXPECT_EQ(modal.messages.back().text, QStringLiteral("サウンドファイルの記述を削除しますか"));

    // The title cannot be emptied.
    modal.inputs.push_back(QString());
    window->mnuEditTitle_Click();
    EXPECT_EQ(listRows().value(0), QStringLiteral("特急"));
    modal.inputs.push_back(QStringLiteral("急行"));
    window->mnuEditTitle_Click();
    EXPECT_EQ(listRows().value(0), QStringLiteral("急行"));
}

TEST_F(MainWindowTest, DroppedFilesAreTakenByExtension) {
    drive.write(QStringLiteral("snd/new.WAV"), "RIFF");
    drive.mkdir(QStringLiteral("folder"));
    start();
    loadExpress();
    clickRow(2);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(drive.host(QStringLiteral("KSN/cars/b.bmp"))), QUrl::fromLocalFile(drive.host(QStringLiteral("KSN/cars/a.bmp"))),
                  QUrl::fromLocalFile(drive.host(QStringLiteral("snd/new.WAV"))), QUrl::fromLocalFile(drive.host(QStringLiteral("folder"))),
                  QUrl(QStringLiteral("https://example.invalid/x.bmp"))});
    // Dropped on the car list: the first car follows the selected row, the next goes last.
    QWidget* target = window->lstCars->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(listRows(), (QStringList{"特急", "new.WAV", "a.bmp;front", "b.bmp", "b.bmp", "a.bmp;rear", "a.bmp"}));
    EXPECT_EQ(modal.messageTexts().filter(QStringLiteral("対応していない拡張子")).size(), 1);
    EXPECT_TRUE(modal.messageTexts().join(u'\n').contains(QStringLiteral("File=D:\\folder")));

    // A move-only source offers no copy: nothing can be dropped.
    QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
}

TEST_F(MainWindowTest, FolderBoxRescansOnEveryChangeAndWritesTheSettings) {
    drive.write(QStringLiteral("Other/one.KSN"), ksnBytes({"One"}));
    start();
    EXPECT_EQ(window->cmbTrain->count(), 1);
    window->txtDefFolder->clear();
    QTest::keyClicks(window->txtDefFolder, QStringLiteral("D:\\Other\\"));
    EXPECT_EQ(window->cmbTrain->itemText(0), QStringLiteral("One"));
    EXPECT_EQ(drive.read(QStringLiteral("bin/ksned32.ini")), QByteArray("[KSNED]\r\nKSN_Folder=D:\\Other\r\n"));
    // A partial name that matches nothing leaves the list.
    QTest::keyClicks(window->txtDefFolder, QStringLiteral("x"));
    EXPECT_EQ(window->cmbTrain->itemText(0), QStringLiteral("One"));

    modal.folders.push_back(QStringLiteral("d:\\ksn"));
    window->mnuOptionSetFolder_Click();
    EXPECT_EQ(window->txtDefFolder->text(), QStringLiteral("d:\\ksn"));
    EXPECT_EQ(window->cmbTrain->itemText(0), QStringLiteral("特急"));
    EXPECT_EQ(drive.read(QStringLiteral("bin/ksned32.ini")), QByteArray("[KSNED]\r\nKSN_Folder=d:\\ksn\r\n"));
}

TEST_F(MainWindowTest, BatchRewriteShowsStopAndStopsBetweenFiles) {
    for (int i = 1; i <= 4; ++i) writeKsn(QStringLiteral("f%1.KSN").arg(i), {QStringLiteral("T%1").arg(i), "C:\\s\\h.wav;x", "C:\\c\\a.bmp;y"});
    start();
    bool stopSeen = false;
    // The events run after the confirmation and after each file; after the second file (express,
    // then f1) the user presses Stop.
    modal.onProcessEvents = [&](int call) {
        stopSeen = stopSeen || window->cmdStop->isVisible();
        if (call == 3) QTest::mouseClick(window->cmdStop, Qt::LeftButton);
    };
    window->mnuFilePathChange_Click();
    EXPECT_TRUE(stopSeen);
    EXPECT_FALSE(window->cmdStop->isVisible());
    EXPECT_EQ(modal.messages.front().title, QStringLiteral("パス名連続変更"));
    EXPECT_TRUE(modal.messages.front().text.endsWith(QStringLiteral("準備が出来ていれば ｢はい｣ボタンを押して下さい。\r\n")));
    EXPECT_EQ(drive.read(QStringLiteral("KSN/f1.KSN")), ksnBytes({"T1", "h.wav;x", "a.bmp;y"}));
    EXPECT_EQ(drive.read(QStringLiteral("KSN/f2.KSN")), ksnBytes({"T2", "C:\\s\\h.wav;x", "C:\\c\\a.bmp;y"}));
    EXPECT_EQ(window->windowTitle(), QString());

    // Answering No changes nothing and never shows Stop.
    modal.clear();
    modal.answers.push_back(MsgAnswer::No);
    stopSeen = false;
    window->mnuFilePathChange_Click();
    EXPECT_FALSE(stopSeen);
    EXPECT_EQ(modal.processEventsCalls, 0);
}

}  // namespace
}  // namespace ksn
