// The main window's commands on the formation document, with no widget: file dialogs, clipboard
// texts, drops, double clicks, start-up and settings, the title, comment and sound edits. The
// selection and the formation list's choice live here and are announced as they change; the
// document itself, its rows and the caption are the Document's, which announces its own.
#pragma once

#include "document/document.h"
#include "document/ksned.h"
#include "support/product/version.h"
#include "support/ui/modal.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace ksn {

class Editor : public QObject {
    Q_OBJECT
public:
    Editor(Ksned& state, Modal& modal, QObject* parent = nullptr);

    Ksned& state() { return g_; }
    const Ksned& state() const { return g_; }
    Document& document() { return doc_; }
    const Document& document() const { return doc_; }

    // --- the car list (lstCars) ---
    const QStringList& rows() const { return doc_.rows(); }
    // The selected row; -1 when none is, or when the rows were rebuilt since it was selected.
    int selectedRow() const;
    // Selects a row (-1: none) and updates the "Msg" panel.
    void selectRow(int k);
    QString msgPanel() const { return msg_; }

    // --- save mode and comment switch ---
    SaveMode saveMode() const { return doc_.saveMode(); }
    // Sets the mode; the list is rebuilt by whoever opened the menu.
    void setSaveMode(SaveMode m) { doc_.setSaveMode(m); }
    bool commentsOn() const { return doc_.commentsOn(); }
    void setCommentsOn(bool on) { doc_.setCommentsOn(on); }
    // The "Comment" panel click: flips the switch and rebuilds the list.
    void toggleComments();

    // --- the formation list (cmbTrain) ---
    // The titles of the document's formation list.
    QStringList trainItems() const;
    int trainIndex() const { return trainIndex_; }
    // Selects an item; its tool tip becomes the item's bare file name.
    void selectTrain(int index);
    QString trainToolTip() const { return trainToolTip_; }
    // Fills the formation list from the formation files of folder; removes one trailing "\" from
    // the caller's variable.
    void ScanFolder(QString& folder);

    // --- document commands, on the document's CurrentFilePath and DefaultFolder ---
    // Loads CurrentFilePath (a bare name resolved against the default folder). False when nothing
    // was loaded; the document is then unchanged.
    bool LoadCurrentFile();
    void RefreshCarList();
    // Writes the rows to CurrentFilePath (nothing when empty). On failure the old file is kept and
    // *error says why.
    bool WriteCurrentFile(QString* error = nullptr);
    // The bytes WriteCurrentFile would write.
    QByteArray currentFileBytes() { return doc_.bytes(); }
    void DeleteLine(int index);
    void InsertLine(int index, const QString& text);
    // "編成の新生": a new formation with its default title.
    void NewFormation();
    void CheckHeight();
    std::vector<HeightMismatch> heightMismatches() const { return doc_.heightMismatches(); }
    void setHeightCheckOnLoad(bool on) { doc_.setHeightCheckOnLoad(on); }
    // Loads and rewrites every formation file of folder in the current mode and switch; the last
    // file taken in hand stays the current file.
    RewriteResult RewriteFolder(QString& folder, const RewriteOptions& options = {});

    // --- start-up ---
    // Reads the settings, sets the file dialog's initial folder, puts the default folder into the
    // folder box (setFolderText, whose change handler rescans), scans, and loads the formation named
    // by the command line, or aligns the formation list with the empty document.
    void startUp(const QString& commandLine, const std::function<void(const QString&)>& setFolderText);
    // The folder box changed: the text becomes the default folder, which is scanned and stored. A
    // host path typed on a host with drives of its own ("/home/u/KSN") is taken in its Windows form
    // ("Z:\home\u\KSN"): the paths built from the folder go into formation files and the settings,
    // where Wine must resolve them whatever its current drive.
    void folderTextChanged(const QString& text);
    // "フォルダの設定": the folder dialog's choice cut at its first NUL, or nothing on Cancel.
    std::optional<QString> chooseFolder();
    // Stores the default folder in the settings file.
    void writeSettings();

    // --- file commands ---
    void QuickLoad();
    void LoadChosen();
    void SaveAs();
    // "パス名連続変更": asks, then rewrites the folder typed in the folder box (a host path in its
    // Windows form, as above). showStop(true) before the run, showStop(false) after it.
    void PathChange(const QString& folderText, const std::function<void(bool)>& showStop,
                    const RewriteOptions& options = {});

    // --- edit commands ---
    void AddCar();
    // The document line of the selected car, for the clipboard; nothing unless a car is selected.
    std::optional<QString> CopyCar() const;
    // As CopyCar, and the car is removed.
    std::optional<QString> CutCar();
    // Inserts the clipboard text, whole, before the selected car (first when none is).
    void PasteCar(const QString& clipboardText);
    void EditTitle();
    void EditComment();
    void ChangeSound();
    // The sound file to play: the sound line's path part, untrimmed.
    QString soundToPlay() const;

    // --- mouse and drops on the car list ---
    // A press ended with `row` selected: a car row starts a drag.
    void pressRow(int row);
    // A release with `row` selected moves the dragged car there. True when rows changed.
    bool releaseRow(int row);
    enum class DoubleClick { Nothing, EditTitle, EditSound, ViewCar };
    // What a double click on the selected row does; title and sound editing run here.
    DoubleClick doubleClickSelected();
    // One dropped file (a Windows path): a formation is loaded, a WAV becomes the sound, a BMP a car.
    void DropFile(const QString& path);

    // The file dialog's settings, which each command changes and the next one finds.
    const FileDialogRequest& fileDialogSettings() const { return cmDialog_; }

    const QByteArray& loadedBytes() const { return doc_.loadedBytes(); }
    bool loadedInvalidBytes() const { return doc_.loadedInvalidBytes(); }

signals:
    // The selected row or the "Msg" panel's text changed.
    void selectionChanged();
    // The formation list, its choice or its tool tip changed.
    void trainsChanged();

private:
    // The file dialog for a formation file, starting at the current file; the choice becomes the
    // current file.
    FileChoice askFormationFile(FileDialogRequest::Kind kind, const QString& title);
    // The default folder a text of the folder box stands for.
    QString folderOfBox(const QString& text) const;

    Ksned& g_;
    Modal& modal_;
    Document doc_;
    int selected_ = -1;
    quint64 selectedOn_ = 0;  // the document's rowsBuilt() when selected_ was set
    QString msg_;
    int trainIndex_ = -1;
    QString trainToolTip_;
    int dragRecord_ = -1;
    FileDialogRequest cmDialog_;
};

// The formation named by the editor's command line: the arguments joined by single blanks, taken
// whole; an existing host path (a file, or a pipe or folder the load will refuse) is given in its
// Windows form, anything else as written.
QString formationArgument(const QStringList& arguments, const FileSystem& fs);

// The editor's arguments as Windows would have given them: the command line taken whole when it
// names an existing host file, else each argument that does, in Windows form (empty when no drive
// reaches it); the rest as written. Switches such as "/e" are looked for in these, so that a host
// path ("/home/eri/…") is no switch.
QStringList windowsArguments(const QStringList& arguments, const FileSystem& fs);

}  // namespace ksn
