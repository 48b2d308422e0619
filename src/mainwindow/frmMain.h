// The main window: menus, toolbar, the default folder and the formation list, the car list and the
// status bar. Every command is a handler that runs a rule of the Editor; the widgets follow what the
// document and the Editor announce, as it happens. The window holds no rule of its own.
#pragma once

#include "document/editor.h"
#include "support/system/soundplayer.h"

#include <QListWidget>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;

namespace ksn {

class frmCar;
class frmTrain;

// The car list: after the list's own press and release handling (which selects the row under the
// pointer and lets the selection follow it while the button is held) the window's handlers run.
class CarList : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
signals:
    void pressed(Qt::MouseButton button, const QPoint& globalPos);
    void released();
    void insertPressed();
    void deletePressed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(Ksned& state, Modal& modal, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence, run once before the window is first shown.
    void Form_Load(const QString& commandLine);

    Editor& editor() { return editor_; }

    // Menu, toolbar, key and mouse handlers.
    void mnuFileQuickLoad_Click();
    void mnuFileLoad_Click();
    void mnuFileSaveAs_Click();
    void mnuFileNew_Click();
    void mnuFilePathChange_Click();
    void mnuFileEnd_Click();
    void mnuEditAdd_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditTitle_Click();
    void mnuEditSound_Click();
    void mnuEditComment_Click();
    void mnuViewTrain_Click();
    void mnuViewCar_Click();
    void mnuOptionSetFolder_Click();
    void mnuOptionRescanFolder_Click();
    void mnuHelpHelp_Click();
    void mnuHelpAbout_Click();
    void mnuPopupSoundWhistling_Click();
    void mnuPopupSaveMode_Click(SaveMode mode);
    void StatusBar1_PanelClick(const QString& key);
    void Toolbar1_ButtonClick(const QString& key);
    void cmdStop_Click();
    void lstCars_DblClick();
    // Drops: each local file of the list, in order, as a Windows path.
    void dropFiles(const QList<QUrl>& urls);

    // The viewers while they are open; each deletes itself when closed.
    QPointer<frmTrain> trainView;
    QPointer<frmCar> carView;

    // Controls, by their names.
    QLabel* Label1Folder = nullptr;
    QLabel* Label1Train = nullptr;
    QFrame* Line1First = nullptr;
    QFrame* Line1Second = nullptr;
    QLineEdit* txtDefFolder = nullptr;
    QComboBox* cmbTrain = nullptr;
    CarList* lstCars = nullptr;
    QPushButton* cmdStop = nullptr;
    QProgressBar* prgRewrite = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::map<QString, QLabel*> panels;    // "Msg", "Comment", "SaveMode"
    std::map<QString, QAction*> menus;    // every menu item by name, popups included
    std::map<QString, QAction*> buttons;  // toolbar buttons by key: the actions of their menu items
    QMenu* mnuPopup = nullptr;
    QMenu* mnuPopupSaveMode = nullptr;
    std::unique_ptr<SoundPlayer> sound;

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // Whether a point of this window lies on the toolbar, the status bar or the menu bar.
    bool overBar(const QPoint& at) const;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key,
                     void (frmMain::*handler)());
    // The widgets following the document and the Editor.
    void showRows();
    void showSelection();
    void showTrains();
    // The comment switch, the save mode and the popup's checks.
    void showSettings();

    Ksned& g_;
    Modal& modal_;
    Editor editor_;
};

}  // namespace ksn
