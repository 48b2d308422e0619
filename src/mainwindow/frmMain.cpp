#include "mainwindow/frmMain.h"

#include "about/frmAbout.h"
#include "document/trainlayout.h"
#include "mainwindow/messages.h"
#include "platform/named.h"
#include "platform/widgetlib.h"
#include "support/paths/regularfile.h"
#include "support/product/version.h"
#include "viewers/filedrop.h"
#include "viewers/frmCar.h"
#include "viewers/frmTrain.h"

#include <QActionGroup>
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

// The toolbar: each button is the action of the menu item it names, so that button, menu item and
// shortcut are one command. A row without a key is a separator.
constexpr struct {
    const char16_t* key;
    const char16_t* tip;
    const char* icon;
    const char* menuItem;
} kToolbar[] = {{u"新規作成", u"編成新規作成", "new", "mnuFileNew"},
                {u"開く", u"編成を開く", "open", "mnuFileQuickLoad"},
                {u"保存", u"名前を付けて編成を保存", "save", "mnuFileSaveAs"},
                {nullptr, nullptr, nullptr, nullptr},
                {u"AddCar", u"車両の追加", "addcar", "mnuEditAdd"},
                {u"切り取り", u"車両の切り取り", "cut", "mnuEditCut"},
                {u"コピー", u"車両のコピー", "copy", "mnuEditCopy"},
                {u"貼り付け", u"車両の貼り付け", "paste", "mnuEditPaste"},
                {nullptr, nullptr, nullptr, nullptr},
                {u"ﾍﾙﾌﾟ", u"ヘルプの表示", "help", "mnuHelpHelp"}};

}  // namespace

frmMain::frmMain(Ksned& state, Modal& modal, QWidget* parent)
    : QMainWindow(parent), g_(state), modal_(modal), editor_(state, modal) {
    setObjectName(QStringLiteral("frmMain"));
    // The program's icon: main gives it to the whole application, and a second icon of the same
    // picture would be decoded a second time for the window manager.
    if (QApplication::windowIcon().isNull()) setWindowIcon(QIcon(QStringLiteral(":/icons/ksned32.png")));
    buildControls();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    setAcceptDrops(true);
    sound = std::make_unique<SoundPlayer>(QCoreApplication::applicationDirPath());
    const Document& doc = editor_.document();
    connect(&doc, &Document::rowsChanged, this, &frmMain::showRows);
    connect(&doc, &Document::captionChanged, this, &QWidget::setWindowTitle);
    connect(&doc, &Document::settingsChanged, this, &frmMain::showSettings);
    connect(&editor_, &Editor::selectionChanged, this, &frmMain::showSelection);
    connect(&editor_, &Editor::trainsChanged, this, &frmMain::showTrains);
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

    Label1Folder = named(new QLabel(QStringLiteral("フォルダ"), client), "Label1", {8, 6, 65, 17});
    txtDefFolder = named(new QLineEdit(client), "txtDefFolder", {80, 4, 511, 25});
    Line1First = named(hLine(client, 0, 40, 588), "Line1");
    Label1Train = named(new QLabel(QStringLiteral("編成"), client), "Label1", {4, 50, 33, 17});
    cmbTrain = named(new QComboBox(client), "cmbTrain", {48, 48, 549, 26});
    Line1Second = named(hLine(client, 6, 80, 592), "Line1");
    prgRewrite = named(new QProgressBar(client), "prgRewrite", {8, 92, 216, 21});
    prgRewrite->hide();
    cmdStop = named(new QPushButton(QStringLiteral("&Stop"), client), "cmdStop", {232, 88, 105, 29});
    cmdStop->hide();
    lstCars = named(new CarList(client), "lstCars", {8, 120, 585, 256});
    lstCars->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCars->setContextMenuPolicy(Qt::NoContextMenu);
    // Rows of Japanese and Latin text would otherwise differ in height.
    lstCars->setUniformItemSizes(true);

    // The folder box takes file drops for the window instead of dropping their text into itself.
    txtDefFolder->installEventFilter(this);

    connect(txtDefFolder, &QLineEdit::textChanged, this,
            [this](const QString& text) { editor_.folderTextChanged(text); });
    connect(cmbTrain, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) editor_.selectTrain(index);
    });
    // The highlighted row is the Editor's selection, whatever changed it (a click, a click on no
    // row, the keyboard, Ctrl+click); the commands act on the Editor's. The current row, which Qt
    // keeps apart from the highlight, counts for nothing.
    connect(lstCars->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = lstCars->selectedItems();
        editor_.selectRow(selected.isEmpty() ? -1 : lstCars->row(selected.front()));
    });
    connect(lstCars, &CarList::pressed, this, [this](Qt::MouseButton button, const QPoint& globalPos) {
        editor_.pressRow(editor_.selectedRow());
        if (button == Qt::RightButton) mnuPopup->exec(globalPos);
    });
    connect(lstCars, &CarList::released, this, [this] { editor_.releaseRow(editor_.selectedRow()); });
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
    // Each menu is a table of its items; a row without a handler is a separator. The captions of
    // the two items that name the program are set at start-up.
    struct Item {
        const char* name;
        const char16_t* caption;
        QKeyCombination key;
        void (frmMain::*handler)();
    };
    auto fill = [&](QMenu* m, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            const QString name = QString::fromLatin1(item.name);
            if (!item.handler) {
                QAction* s = m->addSeparator();
                s->setObjectName(name);
                menus[name] = s;
                continue;
            }
            const QKeySequence key = item.key.toCombined() ? QKeySequence(item.key) : QKeySequence();
            addItem(m, name, QString::fromUtf16(item.caption), key, item.handler);
        }
    };
    const QKeyCombination none;

    fill(topMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)")),
         {{"mnuFileQuickLoad", u"編成読み込み(&L)", Qt::CTRL | Qt::Key_L, &frmMain::mnuFileQuickLoad_Click},
          {"mnuFileLoad", u"ファイルを指定して読み込み(&O)...", none, &frmMain::mnuFileLoad_Click},
          {"mnuFileSaveAs", u"名前を付けて保管(&S)...", Qt::CTRL | Qt::Key_S, &frmMain::mnuFileSaveAs_Click},
          {"mnuFileNew", u"編成の新生(&N)...", Qt::CTRL | Qt::Key_N, &frmMain::mnuFileNew_Click},
          {"mnuFileBar", nullptr, none, nullptr},
          {"mnuFilePathChange", u"パス名連続変更", none, &frmMain::mnuFilePathChange_Click},
          {"mnuFileBar2", nullptr, none, nullptr},
          {"mnuFileEnd", u"", none, &frmMain::mnuFileEnd_Click}});
    fill(topMenu(QStringLiteral("mnuEdit"), QStringLiteral("編集(&E)")),
         {{"mnuEditAdd", u"車両の追加(&A)...", Qt::CTRL | Qt::Key_A, &frmMain::mnuEditAdd_Click},
          {"mnuEditCut", u"車両の切り取り(&X)", Qt::CTRL | Qt::Key_X, &frmMain::mnuEditCut_Click},
          {"mnuEditCopy", u"車両のコピー(&C)", Qt::CTRL | Qt::Key_C, &frmMain::mnuEditCopy_Click},
          {"mnuEditPaste", u"車両の貼り付け(&P)", Qt::CTRL | Qt::Key_V, &frmMain::mnuEditPaste_Click},
          {"mnuEditBar", nullptr, none, nullptr},
          {"mnuEditTitle", u"編成名の編集(&T)...", none, &frmMain::mnuEditTitle_Click},
          {"mnuEditSound", u"サウンドの変更(&S)...", none, &frmMain::mnuEditSound_Click},
          {"mnuEditComment", u"コメントの編集(&O)...", Qt::CTRL | Qt::Key_M, &frmMain::mnuEditComment_Click}});
    fill(topMenu(QStringLiteral("mnuView"), QStringLiteral("表示(&V)")),
         {{"mnuViewTrain", u"編成(&T)", Qt::Key_F2, &frmMain::mnuViewTrain_Click},
          {"mnuViewCar", u"車両(&C)", none, &frmMain::mnuViewCar_Click}});
    fill(topMenu(QStringLiteral("mnuOption"), QStringLiteral("オプション(&O)")),
         {{"mnuOptionSetFolder", u"フォルダの設定(&B)...", none, &frmMain::mnuOptionSetFolder_Click},
          {"mnuOptionRescanFolder", u"編成再検索(&S)", Qt::Key_F5, &frmMain::mnuOptionRescanFolder_Click}});
    fill(topMenu(QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)")),
         {{"mnuHelpHelp", u"ヘルプ(&H)", Qt::Key_F1, &frmMain::mnuHelpHelp_Click},
          {"mnuHelpAbout", u"", none, &frmMain::mnuHelpAbout_Click}});

    // The two popups never appear in the menu bar; they are shown at the pointer only.
    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    fill(mnuPopup,
         {{"mnuPopupEditComment", u"コメントの変更(&C)...", none, &frmMain::mnuEditComment_Click},
          {"mnuPopupViewCar", u"車両の表示(&V)", none, &frmMain::mnuViewCar_Click},
          {"mnuPopupBar", nullptr, none, nullptr},
          {"mnuPopupEditTitle", u"編成名の編集(&T)...", none, &frmMain::mnuEditTitle_Click},
          {"mnuPopupSound", u"サウンドの変更(&S)...", none, &frmMain::mnuEditSound_Click},
          {"mnuPopupSoundWhistling", u"サウンドを鳴らす(&W)...", none, &frmMain::mnuPopupSoundWhistling_Click}});

    mnuPopupSaveMode = new QMenu(this);
    mnuPopupSaveMode->setObjectName(QStringLiteral("mnuPopupSaveMode"));
    auto* modes = new QActionGroup(mnuPopupSaveMode);
    for (const SaveModeRow& item : saveModes()) {
        QAction* a =
            addItem(mnuPopupSaveMode, QString::fromLatin1(item.menuItem), saveModeCaption(item.mode), {}, nullptr);
        a->setCheckable(true);
        modes->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode = item.mode] { mnuPopupSaveMode_Click(mode); });
    }
}

void frmMain::buildToolbar() {
    Toolbar1 = new QToolBar(centralWidget());
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(384, 88, 204, 26);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setMovable(false);
    // Eight buttons and two separators share 204 pixels: buttons of 23 x 22 as the layout was drawn
    // for, with no spacing, so that none is pushed into an overflow menu.
    Toolbar1->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                       "QToolButton { padding: 2px; margin: 0px; }"));
    Toolbar1->layout()->setContentsMargins(0, 0, 0, 0);
    Toolbar1->setAcceptDrops(true);  // no drop target; see eventFilter
    Toolbar1->installEventFilter(this);
    for (const auto& item : kToolbar) {
        if (!item.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf16(item.key);
        QAction* a = menus.at(QString::fromLatin1(item.menuItem));
        a->setIcon(pngIcon(QStringLiteral(":/icons/toolbar/%1.png").arg(QLatin1String(item.icon))));
        a->setIconVisibleInMenu(false);  // the menus show captions only
        a->setToolTip(QString::fromUtf16(item.tip));
        Toolbar1->addAction(a);
        buttons[key] = a;
        QWidget* b = Toolbar1->widgetForAction(a);
        b->setObjectName(key);
        b->setProperty("Key", key);
        b->setAccessibleName(a->toolTip());
        b->setFixedSize(23, 22);
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
    panel(QStringLiteral("SaveMode"), QString(), 0)->setMinimumWidth(130);
    showSettings();
}

void frmMain::Form_Load(const QString& commandLine) {
    setWindowTitle(kProductName);
    menus[QStringLiteral("mnuHelpAbout")]->setText(kProductName + QStringLiteral(" について(&A)..."));
    menus[QStringLiteral("mnuFileEnd")]->setText(kProductName + QStringLiteral(" の終了(&E)"));
    // Putting the folder into the box runs the box's change handler, as typing would.
    editor_.startUp(commandLine, [this](const QString& folder) { txtDefFolder->setText(folder); });
}

// ---------------------------------------------------------------- following the document

// Each change is shown as it happens, while the command that made it still runs: a message box the
// command then shows stands beside the rows and the caption it is about. Widgets set here do not
// report back as if the user had changed them.
void frmMain::showRows() {
    const QSignalBlocker quiet(lstCars->selectionModel());
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
}

void frmMain::showSelection() {
    {
        const QSignalBlocker quiet(lstCars->selectionModel());
        const int sel = editor_.selectedRow();
        lstCars->setCurrentRow(sel);
        if (sel < 0) lstCars->clearSelection();
    }
    panels[QStringLiteral("Msg")]->setText(editor_.msgPanel());
}

void frmMain::showTrains() {
    const QSignalBlocker quiet(cmbTrain);
    const QStringList& items = editor_.trainItems();
    bool same = cmbTrain->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = cmbTrain->itemText(i) == items[i];
    if (!same) {
        cmbTrain->clear();
        cmbTrain->addItems(items);
    }
    cmbTrain->setCurrentIndex(editor_.trainIndex());
    cmbTrain->setToolTip(editor_.trainToolTip());
}

// The switch and the mode are the document's; their panels and the popup's checks only show them.
void frmMain::showSettings() {
    QLabel* comment = panels.at(QStringLiteral("Comment"));
    comment->setFrameShadow(editor_.commentsOn() ? QFrame::Sunken : QFrame::Raised);
    comment->setText(editor_.commentsOn() ? QStringLiteral("On") : QStringLiteral("Off"));
    panels.at(QStringLiteral("SaveMode"))->setText(saveModeName(editor_.saveMode()));
    for (const SaveModeRow& item : saveModes())
        menus.at(QString::fromLatin1(item.menuItem))->setChecked(editor_.saveMode() == item.mode);
}

// ---------------------------------------------------------------- commands

void frmMain::mnuFileQuickLoad_Click() { editor_.QuickLoad(); }
void frmMain::mnuFileLoad_Click() { editor_.LoadChosen(); }
void frmMain::mnuFileSaveAs_Click() { editor_.SaveAs(); }
void frmMain::mnuFileNew_Click() { editor_.NewFormation(); }
void frmMain::mnuFilePathChange_Click() {
    RewriteOptions options;
    options.progress = [this](int done, int total, const QString&) {
        prgRewrite->setMaximum(total);
        prgRewrite->setValue(done);
    };
    editor_.PathChange(
        txtDefFolder->text(),
        [this](bool running) {
            cmdStop->setVisible(running && !g_.StopRequested);
            prgRewrite->setValue(0);
            prgRewrite->setVisible(running);
        },
        options);
}

void frmMain::cmdStop_Click() {
    g_.StopRequested = true;
    cmdStop->hide();
}

void frmMain::mnuFileEnd_Click() { close(); }

void frmMain::mnuEditAdd_Click() { editor_.AddCar(); }

namespace {

// A car goes to the clipboard alone: whatever else was there is cleared first.
void toClipboard(const std::optional<QString>& car) {
    if (!car) return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(*car);
}

}  // namespace

void frmMain::mnuEditCut_Click() { toClipboard(editor_.CutCar()); }

void frmMain::mnuEditCopy_Click() { toClipboard(editor_.CopyCar()); }

void frmMain::mnuEditPaste_Click() { editor_.PasteCar(QApplication::clipboard()->text()); }

void frmMain::mnuEditTitle_Click() { editor_.EditTitle(); }
void frmMain::mnuEditSound_Click() { editor_.ChangeSound(); }
void frmMain::mnuEditComment_Click() { editor_.EditComment(); }

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
    const CarView view =
        buildCarView(editor_.document().FormationLines(), editor_.selectedRow(), g_.DefaultFolder, g_.fso);
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
        modal_.message(msg::helpNotStarted(e.program), QString(), MsgButtons::Ok, MsgIcon::Exclamation);
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
}

void frmMain::mnuOptionRescanFolder_Click() { editor_.ScanFolder(g_.DefaultFolder); }

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

void frmMain::mnuPopupSaveMode_Click(SaveMode mode) { editor_.setSaveMode(mode); }

void frmMain::StatusBar1_PanelClick(const QString& key) {
    if (key == u"SaveMode") {
        mnuPopupSaveMode->exec(QCursor::pos());
        editor_.RefreshCarList();
    } else if (key == u"Comment") {
        editor_.toggleComments();
    }
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (const auto b = buttons.find(key); b != buttons.end()) b->second->trigger();
}

void frmMain::lstCars_DblClick() {
    if (editor_.doubleClickSelected() == Editor::DoubleClick::ViewCar) mnuViewCar_Click();
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
    if (overBar(e->position().toPoint()))
        e->ignore();
    else
        acceptFileCopy(e);
}

void frmMain::dragMoveEvent(QDragMoveEvent* e) {
    if (overBar(e->position().toPoint()))
        e->ignore();
    else
        acceptFileCopy(e);
}

void frmMain::dropEvent(QDropEvent* e) {
    if (overBar(e->position().toPoint())) {
        e->ignore();
        return;
    }
    acceptFileCopy(e);
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
        acceptFileCopy(de);
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
