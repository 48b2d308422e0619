#include "mainwindow/frmMain.h"

#include "about/frmAbout.h"
#include "viewers/frmCar.h"
#include "viewers/frmTrain.h"
#include "support/paths/regularfile.h"
#include "document/trainlayout.h"
#include "support/product/version.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace ksn {

// ---------------------------------------------------------------- CarList

void CarList::mousePressEvent(QMouseEvent* e) {
    QListWidget::mousePressEvent(e);
    // A press on no row selects none. Qt would drop the highlight but keep the current row, the one
    // the commands would still act on.
    if (!indexAt(e->position().toPoint()).isValid()) {
        setCurrentRow(-1);
        clearSelection();
    }
    emit pressed(e->button(), e->globalPosition().toPoint());
}

void CarList::mouseReleaseEvent(QMouseEvent* e) {
    QListWidget::mouseReleaseEvent(e);
    emit released();
}

void CarList::keyPressEvent(QKeyEvent* e) {
    // The keypad's Ins and Del (NumLock off) come with the keypad modifier; they are the same keys.
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (e->key() == Qt::Key_Insert && plain) {
        emit insertPressed();
        return;
    }
    if (e->key() == Qt::Key_Delete && plain) {
        emit deletePressed();
        return;
    }
    QListWidget::keyPressEvent(e);
}

// ---------------------------------------------------------------- frmMain

namespace {

QFrame* hLine(QWidget* parent, int left, int top, int right) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(left, top - 1, right - left, 2);
    return line;
}

bool offersFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    for (const QUrl& u : data->urls())
        if (u.isLocalFile()) return true;
    return false;
}

// Drops are taken as copies: when the source does not offer a copy, nothing can be dropped.
void acceptCopy(QDropEvent* e) {
    if (offersFiles(e->mimeData()) && (e->possibleActions() & Qt::CopyAction)) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

}  // namespace

frmMain::frmMain(Ksned& state, Modal& modal, QWidget* parent)
    : QMainWindow(parent), g_(state), modal_(modal), editor_(state, modal) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ksned32.png")));
    buildControls();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    setAcceptDrops(true);
    sound = std::make_unique<SoundPlayer>(QCoreApplication::applicationDirPath());
    // The client area has a fixed size: the controls keep their places.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmMain::~frmMain() {
    // The viewers are windows of their own, not children: they go with the main window.
    delete trainView.data();
    delete carView.data();
}

void frmMain::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(600, 406);
    setCentralWidget(client);

    Label1Folder = new QLabel(QStringLiteral("フォルダ"), client);
    Label1Folder->setObjectName(QStringLiteral("Label1"));
    Label1Folder->setGeometry(8, 6, 65, 17);
    txtDefFolder = new QLineEdit(client);
    txtDefFolder->setObjectName(QStringLiteral("txtDefFolder"));
    txtDefFolder->setGeometry(80, 4, 511, 25);
    Line1First = hLine(client, 0, 40, 588);
    Line1First->setObjectName(QStringLiteral("Line1"));
    Label1Train = new QLabel(QStringLiteral("編成"), client);
    Label1Train->setObjectName(QStringLiteral("Label1"));
    Label1Train->setGeometry(4, 50, 33, 17);
    cmbTrain = new QComboBox(client);
    cmbTrain->setObjectName(QStringLiteral("cmbTrain"));
    cmbTrain->setGeometry(48, 48, 549, 26);
    Line1Second = hLine(client, 6, 80, 592);
    Line1Second->setObjectName(QStringLiteral("Line1"));
    prgRewrite = new QProgressBar(client);
    prgRewrite->setObjectName(QStringLiteral("prgRewrite"));
    prgRewrite->setGeometry(8, 92, 216, 21);
    prgRewrite->hide();
    cmdStop = new QPushButton(QStringLiteral("&Stop"), client);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setGeometry(232, 88, 105, 29);
    cmdStop->hide();
    lstCars = new CarList(client);
    lstCars->setObjectName(QStringLiteral("lstCars"));
    lstCars->setGeometry(8, 120, 585, 256);
    lstCars->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCars->setContextMenuPolicy(Qt::NoContextMenu);
    // Rows of Japanese and Latin text would otherwise differ in height.
    lstCars->setUniformItemSizes(true);

    // The folder box takes file drops for the window instead of dropping their text into itself.
    txtDefFolder->installEventFilter(this);

    connect(txtDefFolder, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (syncing_) return;
        editor_.folderTextChanged(text);
        syncTrainList();
    });
    connect(cmbTrain, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (syncing_ || index < 0) return;
        editor_.selectTrain(index);
        cmbTrain->setToolTip(editor_.trainToolTip());
    });
    // The highlighted row is the Editor's selection, whatever changed it (a click, a click on no
    // row, the keyboard, Ctrl+click); the commands act on the Editor's. The current row, which Qt
    // keeps apart from the highlight, counts for nothing.
    connect(lstCars->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (syncing_) return;
        const QList<QListWidgetItem*> selected = lstCars->selectedItems();
        editor_.selectRow(selected.isEmpty() ? -1 : lstCars->row(selected.front()));
        panels[QStringLiteral("Msg")]->setText(editor_.msgPanel());
    });
    connect(lstCars, &CarList::pressed, this, [this](Qt::MouseButton button, const QPoint& globalPos) {
        editor_.pressRow(editor_.selectedRow());
        if (button == Qt::RightButton) mnuPopup->exec(globalPos);
    });
    connect(lstCars, &CarList::released, this, [this] {
        if (editor_.releaseRow(editor_.selectedRow())) syncCarList();
    });
    connect(lstCars, &CarList::insertPressed, this, &frmMain::mnuEditAdd_Click);
    connect(lstCars, &CarList::deletePressed, this, &frmMain::mnuEditCut_Click);
    connect(lstCars, &QListWidget::itemDoubleClicked, this, [this] { lstCars_DblClick(); });
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);
}

QAction* frmMain::addItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key,
                          void (frmMain::*handler)()) {
    auto* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    if (handler) connect(a, &QAction::triggered, this, handler);
    menus[name] = a;
    return a;
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setAcceptDrops(true);  // the menu bar is no drop target; see eventFilter
    bar->installEventFilter(this);

    auto topMenu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        menus[name] = m->menuAction();
        return m;
    };
    auto bar_ = [&](QMenu* m, const QString& name) {
        QAction* s = m->addSeparator();
        s->setObjectName(name);
        menus[name] = s;
    };

    QMenu* file = topMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addItem(file, QStringLiteral("mnuFileQuickLoad"), QStringLiteral("編成読み込み(&L)"), QKeySequence(Qt::CTRL | Qt::Key_L),
            &frmMain::mnuFileQuickLoad_Click);
    addItem(file, QStringLiteral("mnuFileLoad"), QStringLiteral("ファイルを指定して読み込み(&O)..."), {}, &frmMain::mnuFileLoad_Click);
    addItem(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("名前を付けて保管(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S),
            &frmMain::mnuFileSaveAs_Click);
    addItem(file, QStringLiteral("mnuFileNew"), QStringLiteral("編成の新生(&N)..."), QKeySequence(Qt::CTRL | Qt::Key_N),
            &frmMain::mnuFileNew_Click);
    bar_(file, QStringLiteral("mnuFileBar"));
    addItem(file, QStringLiteral("mnuFilePathChange"), QStringLiteral("パス名連続変更"), {}, &frmMain::mnuFilePathChange_Click);
    bar_(file, QStringLiteral("mnuFileBar2"));
    addItem(file, QStringLiteral("mnuFileEnd"), QString(), {}, &frmMain::mnuFileEnd_Click);

    QMenu* edit = topMenu(QStringLiteral("mnuEdit"), QStringLiteral("編集(&E)"));
    addItem(edit, QStringLiteral("mnuEditAdd"), QStringLiteral("車両の追加(&A)..."), QKeySequence(Qt::CTRL | Qt::Key_A),
            &frmMain::mnuEditAdd_Click);
    addItem(edit, QStringLiteral("mnuEditCut"), QStringLiteral("車両の切り取り(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X),
            &frmMain::mnuEditCut_Click);
    addItem(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("車両のコピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C),
            &frmMain::mnuEditCopy_Click);
    addItem(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("車両の貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V),
            &frmMain::mnuEditPaste_Click);
    bar_(edit, QStringLiteral("mnuEditBar"));
    addItem(edit, QStringLiteral("mnuEditTitle"), QStringLiteral("編成名の編集(&T)..."), {}, &frmMain::mnuEditTitle_Click);
    addItem(edit, QStringLiteral("mnuEditSound"), QStringLiteral("サウンドの変更(&S)..."), {}, &frmMain::mnuEditSound_Click);
    addItem(edit, QStringLiteral("mnuEditComment"), QStringLiteral("コメントの編集(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_M),
            &frmMain::mnuEditComment_Click);

    QMenu* view = topMenu(QStringLiteral("mnuView"), QStringLiteral("表示(&V)"));
    addItem(view, QStringLiteral("mnuViewTrain"), QStringLiteral("編成(&T)"), QKeySequence(Qt::Key_F2), &frmMain::mnuViewTrain_Click);
    addItem(view, QStringLiteral("mnuViewCar"), QStringLiteral("車両(&C)"), {}, &frmMain::mnuViewCar_Click);

    QMenu* option = topMenu(QStringLiteral("mnuOption"), QStringLiteral("オプション(&O)"));
    addItem(option, QStringLiteral("mnuOptionSetFolder"), QStringLiteral("フォルダの設定(&B)..."), {},
            &frmMain::mnuOptionSetFolder_Click);
    addItem(option, QStringLiteral("mnuOptionRescanFolder"), QStringLiteral("編成再検索(&S)"), QKeySequence(Qt::Key_F5),
            &frmMain::mnuOptionRescanFolder_Click);

    QMenu* help = topMenu(QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"));
    addItem(help, QStringLiteral("mnuHelpHelp"), QStringLiteral("ヘルプ(&H)"), QKeySequence(Qt::Key_F1), &frmMain::mnuHelpHelp_Click);
    addItem(help, QStringLiteral("mnuHelpAbout"), QString(), {}, &frmMain::mnuHelpAbout_Click);

    // The two popups never appear in the menu bar; they are shown at the pointer only.
    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    addItem(mnuPopup, QStringLiteral("mnuPopupEditComment"), QStringLiteral("コメントの変更(&C)..."), {}, &frmMain::mnuEditComment_Click);
    addItem(mnuPopup, QStringLiteral("mnuPopupViewCar"), QStringLiteral("車両の表示(&V)"), {}, &frmMain::mnuViewCar_Click);
    bar_(mnuPopup, QStringLiteral("mnuPopupBar"));
    addItem(mnuPopup, QStringLiteral("mnuPopupEditTitle"), QStringLiteral("編成名の編集(&T)..."), {}, &frmMain::mnuEditTitle_Click);
    addItem(mnuPopup, QStringLiteral("mnuPopupSound"), QStringLiteral("サウンドの変更(&S)..."), {}, &frmMain::mnuEditSound_Click);
    addItem(mnuPopup, QStringLiteral("mnuPopupSoundWhistling"), QStringLiteral("サウンドを鳴らす(&W)..."), {},
            &frmMain::mnuPopupSoundWhistling_Click);

    mnuPopupSaveMode = new QMenu(this);
    mnuPopupSaveMode->setObjectName(QStringLiteral("mnuPopupSaveMode"));
    const std::pair<const char*, SaveMode> modes[] = {{"mnuPopupSaveModeFileOnly", SaveMode::FileOnly},
                                                     {"mnuPopupSaveModeKSN", SaveMode::AsInFile},
                                                     {"mnuPopupSaveModeNonDrive", SaveMode::NonDrive},
                                                     {"mnuPopupSaveModeDefault", SaveMode::DefaultFolder}};
    for (const auto& [name, mode] : modes) {
        QAction* a = addItem(mnuPopupSaveMode, QString::fromLatin1(name), saveModeCaption(mode), {}, nullptr);
        a->setCheckable(true);
        const SaveMode m = mode;
        connect(a, &QAction::triggered, this, [this, m] { mnuPopupSaveMode_Click(m); });
    }
    updateSaveModeChecks();
}

void frmMain::buildToolbar() {
    Toolbar1 = new QToolBar(centralWidget());
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(384, 88, 204, 26);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setMovable(false);
    // Eight buttons and two separators share 204 pixels: buttons of 23 x 22 as the layout was drawn
    // for, with no spacing, so that none is pushed into an overflow menu.
    Toolbar1->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                                           "QToolButton { padding: 2px; margin: 0px; }"));
    Toolbar1->layout()->setContentsMargins(0, 0, 0, 0);
    Toolbar1->setAcceptDrops(true);  // no drop target; see eventFilter
    Toolbar1->installEventFilter(this);
    const struct {
        const char* key;
        const char* tip;
        const char* icon;
    } items[] = {{"新規作成", "編成新規作成", "new"},      {"開く", "編成を開く", "open"},
                 {"保存", "名前を付けて編成を保存", "save"}, {nullptr, nullptr, nullptr},
                 {"AddCar", "車両の追加", "addcar"},        {"切り取り", "車両の切り取り", "cut"},
                 {"コピー", "車両のコピー", "copy"},        {"貼り付け", "車両の貼り付け", "paste"},
                 {nullptr, nullptr, nullptr},               {"ﾍﾙﾌﾟ", "ヘルプの表示", "help"}};
    for (const auto& item : items) {
        if (!item.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(item.key);
        QAction* a = Toolbar1->addAction(QIcon(QStringLiteral(":/icons/toolbar/%1.png").arg(QLatin1String(item.icon))),
                                         QString::fromUtf8(item.tip));
        a->setToolTip(QString::fromUtf8(item.tip));
        a->setProperty("Key", key);
        a->setObjectName(key);
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        buttons[key] = a;
        if (QWidget* b = Toolbar1->widgetForAction(a)) b->setFixedSize(23, 22);
    }
}

void frmMain::buildStatusBar() {
    StatusBar1 = new QStatusBar(centralWidget());
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 381, 600, 25);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAcceptDrops(true);  // no drop target; see eventFilter
    StatusBar1->installEventFilter(this);
    auto panel = [&](const QString& key, const QString& text, int stretch) {
        auto* l = new QLabel(text, StatusBar1);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setContentsMargins(4, 0, 4, 0);
        if (!key.isEmpty()) {
            l->setObjectName(key);
            l->setProperty("Key", key);
            panels[key] = l;
        }
        l->installEventFilter(this);
        StatusBar1->addWidget(l, stretch);
        return l;
    };
    panel(QStringLiteral("Msg"), QString(), 1);
    panel(QString(), QStringLiteral("コメント"), 0);
    panel(QStringLiteral("Comment"), QStringLiteral("On"), 0)->setMinimumWidth(40);
    panel(QString(), QStringLiteral("保存モード"), 0);
    panel(QStringLiteral("SaveMode"), saveModeName(SaveMode::FileOnly), 0)->setMinimumWidth(130);
}

void frmMain::Form_Load(const QString& commandLine) {
    setWindowTitle(kProductName);
    menus[QStringLiteral("mnuHelpAbout")]->setText(kProductName + QStringLiteral(" について(&A)..."));
    menus[QStringLiteral("mnuFileEnd")]->setText(kProductName + QStringLiteral(" の終了(&E)"));
    // Putting the folder into the box runs the box's change handler, as typing would.
    editor_.startUp(commandLine, [this](const QString& folder) { txtDefFolder->setText(folder); });
    syncAll();
}

// ---------------------------------------------------------------- mirroring

void frmMain::syncAll() {
    syncTrainList();
    syncCarList();
    syncCaption();
}

void frmMain::syncCarList() {
    syncing_ = true;
    const QStringList& rows = editor_.rows();
    if (lstCars->count() != rows.size()) {
        lstCars->clear();
        lstCars->addItems(rows);
    } else {
        for (int i = 0; i < rows.size(); ++i)
            if (lstCars->item(i)->text() != rows[i]) lstCars->item(i)->setText(rows[i]);
    }
    const int sel = editor_.selectedRow();
    lstCars->setCurrentRow(sel);
    if (sel < 0) lstCars->clearSelection();
    panels[QStringLiteral("Msg")]->setText(editor_.msgPanel());
    syncing_ = false;
    syncCaption();
}

void frmMain::syncTrainList() {
    syncing_ = true;
    const QStringList& items = editor_.trainItems();
    bool same = cmbTrain->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = cmbTrain->itemText(i) == items[i];
    if (!same) {
        cmbTrain->clear();
        cmbTrain->addItems(items);
    }
    cmbTrain->setCurrentIndex(editor_.trainIndex());
    cmbTrain->setToolTip(editor_.trainToolTip());
    syncing_ = false;
}

void frmMain::syncCaption() {
    if (windowTitle() != editor_.caption()) setWindowTitle(editor_.caption());
}

void frmMain::setCommentPanel(bool on) {
    QLabel* p = panels[QStringLiteral("Comment")];
    p->setFrameShadow(on ? QFrame::Sunken : QFrame::Raised);
    p->setText(on ? QStringLiteral("On") : QStringLiteral("Off"));
}

void frmMain::updateSaveModeChecks() {
    const std::pair<const char*, SaveMode> modes[] = {{"mnuPopupSaveModeFileOnly", SaveMode::FileOnly},
                                                     {"mnuPopupSaveModeKSN", SaveMode::AsInFile},
                                                     {"mnuPopupSaveModeNonDrive", SaveMode::NonDrive},
                                                     {"mnuPopupSaveModeDefault", SaveMode::DefaultFolder}};
    for (const auto& [name, mode] : modes) menus[QString::fromLatin1(name)]->setChecked(editor_.saveMode() == mode);
}

// ---------------------------------------------------------------- commands

void frmMain::mnuFileQuickLoad_Click() {
    editor_.QuickLoad();
    syncCarList();
}

void frmMain::mnuFileLoad_Click() {
    editor_.LoadChosen();
    syncCarList();
}

void frmMain::mnuFileSaveAs_Click() {
    editor_.SaveAs();
    syncCarList();
}

void frmMain::mnuFileNew_Click() {
    editor_.NewFormation();
    syncCarList();
}

void frmMain::mnuFilePathChange_Click() {
    RewriteOptions options;
    options.progress = [this](int done, int total, const QString&) {
        prgRewrite->setMaximum(total);
        prgRewrite->setValue(done);
        syncCarList();
    };
    editor_.PathChange(txtDefFolder->text(), [this](bool running) {
        cmdStop->setVisible(running && !g_.StopRequested);
        prgRewrite->setValue(0);
        prgRewrite->setVisible(running);
    }, options);
    syncCarList();
}

void frmMain::cmdStop_Click() {
    g_.StopRequested = true;
    cmdStop->hide();
}

void frmMain::mnuFileEnd_Click() { close(); }

void frmMain::mnuEditAdd_Click() {
    editor_.AddCar();
    syncCarList();
}

void frmMain::mnuEditCut_Click() {
    if (const auto text = editor_.CutCar()) {
        QApplication::clipboard()->clear();
        QApplication::clipboard()->setText(*text);
    }
    syncCarList();
}

void frmMain::mnuEditCopy_Click() {
    if (const auto text = editor_.CopyCar()) {
        QApplication::clipboard()->clear();
        QApplication::clipboard()->setText(*text);
    }
}

void frmMain::mnuEditPaste_Click() {
    editor_.PasteCar(QApplication::clipboard()->text());
    syncCarList();
}

void frmMain::mnuEditTitle_Click() {
    editor_.EditTitle();
    syncCarList();
}

void frmMain::mnuEditSound_Click() {
    editor_.ChangeSound();
    syncCarList();
}

void frmMain::mnuEditComment_Click() {
    editor_.EditComment();
    syncCarList();
}

void frmMain::mnuViewTrain_Click() {
    const auto strip = buildTrainStrip(editor_.rows(), g_.DefaultFolder, g_.fso);
    if (!strip) return;
    // One whole-train view at a time: each run replaces the snapshot.
    if (trainView) {
        trainView->close();
        delete trainView.data();
    }
    trainView = new frmTrain();
    trainView->build(*strip);
    trainView->showBelow(*this);
}

void frmMain::mnuViewCar_Click() {
    const CarView view = buildCarView(g_.FormationLines, editor_.selectedRow(), g_.DefaultFolder, g_.fso);
    if (!view.found) {
        modal_.message(view.message, QString(), MsgButtons::Ok, MsgIcon::None);
        return;
    }
    if (!carView) carView = new frmCar();
    carView->showCar(view, *this);
}

void frmMain::mnuHelpHelp_Click() {
    try {
        g_.lib.HelpShow(modal_, g_.api);
    } catch (const ProgramStartError& e) {
        modal_.message(QStringLiteral("ヘルプを表示するプログラムを起動できませんでした。\r\nFile= ") + e.program, QString(),
                       MsgButtons::Ok, MsgIcon::Exclamation);
    }
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout box(g_.national, modal_, this);
    box.exec();
}

void frmMain::mnuOptionSetFolder_Click() {
    const auto folder = editor_.chooseFolder();
    if (!folder) return;
    g_.DefaultFolder = *folder;
    txtDefFolder->setText(*folder);  // its change handler rescans and stores the folder
    editor_.writeSettings();
    syncTrainList();
}

void frmMain::mnuOptionRescanFolder_Click() {
    editor_.ScanFolder(g_.DefaultFolder);
    syncTrainList();
}

void frmMain::mnuPopupSoundWhistling_Click() {
    const QString path = editor_.soundToPlay();
    // Playing never waits; a sound that cannot be played gives the system's beep instead.
    const auto host = path.isEmpty() ? std::nullopt : g_.fso.toHost(path);
    if (!host || !isRegularFile(*host)) {
        QApplication::beep();
        return;
    }
    if (!sound->play(*host)) QApplication::beep();
}

void frmMain::mnuPopupSaveMode_Click(SaveMode mode) {
    editor_.setSaveMode(mode);
    updateSaveModeChecks();
    panels[QStringLiteral("SaveMode")]->setText(saveModeName(mode));
}

void frmMain::StatusBar1_PanelClick(const QString& key) {
    if (key == u"SaveMode") {
        mnuPopupSaveMode->exec(QCursor::pos());
        editor_.RefreshCarList();
        syncCarList();
    } else if (key == u"Comment") {
        const bool raised = panels[key]->frameShadow() == QFrame::Raised;
        setCommentPanel(raised);
        editor_.setCommentsOn(raised);
        editor_.RefreshCarList();
        syncCarList();
    }
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (key == u"新規作成") mnuFileNew_Click();
    else if (key == u"開く") mnuFileQuickLoad_Click();
    else if (key == u"保存") mnuFileSaveAs_Click();
    else if (key == u"AddCar") mnuEditAdd_Click();
    else if (key == u"切り取り") mnuEditCut_Click();
    else if (key == u"コピー") mnuEditCopy_Click();
    else if (key == u"貼り付け") mnuEditPaste_Click();
    else if (key == u"ﾍﾙﾌﾟ") mnuHelpHelp_Click();
}

void frmMain::lstCars_DblClick() {
    const auto action = editor_.doubleClickSelected();
    if (action == Editor::DoubleClick::ViewCar) mnuViewCar_Click();
    else syncCarList();
}

// ---------------------------------------------------------------- drops, closing

void frmMain::dropFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        QString error;
        const auto path = g_.fso.toWindows(url.toLocalFile(), &error);
        if (!path) {
            modal_.message(error, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
            continue;
        }
        editor_.DropFile(*path);
        syncCarList();
    }
}

// The bars are no drop targets. Refusing a drag on a bar is not enough: Qt hands a refused drag
// on to the parent, the window, which would take it; so the window refuses drags over its bars.
bool frmMain::overBar(const QPoint& at) const {
    for (const QWidget* w = childAt(at); w && w != this; w = w->parentWidget())
        if (w == Toolbar1 || w == StatusBar1 || w == menuBar()) return true;
    return false;
}

void frmMain::dragEnterEvent(QDragEnterEvent* e) {
    if (overBar(e->position().toPoint())) e->ignore();
    else acceptCopy(e);
}

void frmMain::dragMoveEvent(QDragMoveEvent* e) {
    if (overBar(e->position().toPoint())) e->ignore();
    else acceptCopy(e);
}

void frmMain::dropEvent(QDropEvent* e) {
    if (overBar(e->position().toPoint())) {
        e->ignore();
        return;
    }
    acceptCopy(e);
    if (e->isAccepted()) dropFiles(e->mimeData()->urls());
}

bool frmMain::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    const bool isDrag = t == QEvent::DragEnter || t == QEvent::DragMove || t == QEvent::Drop;
    if (isDrag && (watched == Toolbar1 || watched == StatusBar1 || watched == menuBar())) {
        e->ignore();
        return true;
    }
    if (isDrag && watched == txtDefFolder) {
        auto* de = static_cast<QDropEvent*>(e);
        acceptCopy(de);
        if (t == QEvent::Drop && de->isAccepted()) dropFiles(de->mimeData()->urls());
        return true;
    }
    if (t == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && label->parent() == StatusBar1) {
            StatusBar1_PanelClick(label->property("Key").toString());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmMain::closeEvent(QCloseEvent* e) {
    // Closing the main window ends the program: every other window goes with it; nothing is asked or saved.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    e->accept();
    QApplication::quit();
}

}  // namespace ksn
