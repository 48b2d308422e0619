#include "document/editor.h"

#include "document/messages.h"

#include "support/paths/regularfile.h"
#include "support/product/version.h"
#include "support/settings/settingsfile.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace ksn {

Editor::Editor(Ksned& state, Modal& modal, QObject* parent)
    : QObject(parent), g_(state), modal_(modal), doc_(state, modal) {}

int Editor::selectedRow() const { return selectedOn_ == doc_.rowsBuilt() ? selected_ : -1; }

void Editor::selectRow(int k) {
    const QStringList& rows = doc_.rows();
    selected_ = (k >= 0 && k < rows.size()) ? k : -1;
    selectedOn_ = doc_.rowsBuilt();
    const qsizetype cars = rows.size() - 2;
    if (selected_ == 0 || selected_ == 1)
        msg_ = msg::carCount(cars);
    else
        msg_ = msg::carPosition(selected_ - 1, cars);
    emit selectionChanged();
}

void Editor::toggleComments() {
    doc_.setCommentsOn(!doc_.commentsOn());
    RefreshCarList();
}

QStringList Editor::trainItems() const {
    QStringList titles;
    for (const FormationEntry& e : doc_.FormationFileNames()) titles << e.title;
    return titles;
}

void Editor::selectTrain(int index) {
    const auto& formations = doc_.FormationFileNames();
    if (index < 0 || size_t(index) >= formations.size()) {
        trainIndex_ = -1;
    } else {
        trainIndex_ = index;
        trainToolTip_ = formations[size_t(index)].fileName;
    }
    emit trainsChanged();
}

void Editor::ScanFolder(QString& folder) {
    if (folder.endsWith(u'\\')) folder.chop(1);
    if (!doc_.scan(folder)) return;
    selectTrain(doc_.FormationFileNames().empty() ? -1 : 0);
}

bool Editor::LoadCurrentFile() {
    if (doc_.CurrentFilePath().isEmpty()) return false;
    return doc_.load(doc_.CurrentFilePath()).loaded();
}

void Editor::RefreshCarList() { doc_.refreshRows(); }

bool Editor::WriteCurrentFile(QString* error) {
    if (doc_.CurrentFilePath().isEmpty()) return true;
    const IoResult r = doc_.save(doc_.CurrentFilePath());
    if (!r.ok && error) *error = r.error;
    return r.ok;
}

void Editor::DeleteLine(int index) {
    if (doc_.deleteLine(index) && index >= 3) selectRow(index - 1);
}

void Editor::InsertLine(int index, const QString& text) { doc_.insertLine(index, text); }

void Editor::NewFormation() { doc_.clear(); }

void Editor::CheckHeight() { doc_.checkHeight(); }

RewriteResult Editor::RewriteFolder(QString& folder, const RewriteOptions& options) {
    return doc_.rewriteFolder(folder, options);
}

void Editor::startUp(const QString& commandLine, const std::function<void(const QString&)>& setFolderText) {
    doc_.setCaption(kProductName);
    g_.DefaultFolder = ReadIni(g_.lib);
    cmDialog_.filterIndex = 1;
    cmDialog_.initialFolder = g_.DefaultFolder;
    if (setFolderText) setFolderText(g_.DefaultFolder);
    ScanFolder(g_.DefaultFolder);
    if (!commandLine.isEmpty()) {
        doc_.setCurrentFilePath(commandLine);
        cmDialog_.fileName = commandLine;
        LoadCurrentFile();
        return;
    }
    // Nothing is loaded: the formation list shows the last item whose title equals the (empty)
    // document's, or the first item.
    const auto& formations = doc_.FormationFileNames();
    int found = 0;
    for (int i = int(formations.size()) - 1; i >= 0; --i) {
        if (formations[size_t(i)].title == doc_.FormationLines()[0]) {
            found = i;
            break;
        }
    }
    if (!formations.empty()) selectTrain(found);
}

QString Editor::folderOfBox(const QString& text) const {
    if (!text.startsWith(u'/') || g_.fso.drives().isIdentity()) return text;
    return g_.fso.toWindows(text).value_or(text);
}

void Editor::folderTextChanged(const QString& text) {
    g_.DefaultFolder = folderOfBox(text);
    ScanFolder(g_.DefaultFolder);
    writeSettings();
}

std::optional<QString> Editor::chooseFolder() {
    QString chosen = modal_.browseFolder(msg::defaultFolderTitle(), g_.DefaultFolder);
    if (chosen.isEmpty()) return std::nullopt;
    const qsizetype nul = chosen.indexOf(QChar(u'\0'));
    if (nul >= 0) chosen.truncate(nul);
    return chosen;
}

void Editor::writeSettings() { WriteIni(g_.lib, g_.DefaultFolder); }

void Editor::QuickLoad() {
    doc_.setCurrentFilePath(trainToolTip_);
    LoadCurrentFile();
}

FileChoice Editor::askFormationFile(FileDialogRequest::Kind kind, const QString& title) {
    cmDialog_.kind = kind;
    cmDialog_.fileName = doc_.CurrentFilePath();
    cmDialog_.title = title;
    cmDialog_.defaultExt = QStringLiteral("KSN");
    cmDialog_.filter = msg::formationFilter();
    const auto chosen = modal_.fileDialog(cmDialog_);
    if (chosen) {
        cmDialog_.fileName = *chosen;
        doc_.setCurrentFilePath(*chosen);
    }
    return chosen;
}

void Editor::LoadChosen() {
    if (askFormationFile(FileDialogRequest::Kind::Open, msg::openFormationTitle())) LoadCurrentFile();
}

void Editor::SaveAs() {
    if (doc_.CurrentFilePath().isEmpty()) doc_.setCurrentFilePath(g_.DefaultFolder + QStringLiteral("\\KSNED.KSN"));
    // A failed write ends the command without a word; the old file is left whole by the save file.
    if (askFormationFile(FileDialogRequest::Kind::Save, msg::saveFormationTitle())) WriteCurrentFile();
}

void Editor::PathChange(const QString& folderText, const std::function<void(bool)>& showStop,
                        const RewriteOptions& options) {
    if (modal_.message(msg::pathChange(), msg::pathChangeTitle(), MsgButtons::YesNo, MsgIcon::Information) ==
        MsgAnswer::No)
        return;
    g_.StopRequested = false;
    if (showStop) showStop(true);
    modal_.processEvents();
    g_.DefaultFolder = folderOfBox(folderText);
    RewriteFolder(g_.DefaultFolder, options);
    if (showStop) showStop(false);
}

void Editor::AddCar() {
    const int index = std::max(selectedRow(), 2);
    cmDialog_.kind = FileDialogRequest::Kind::Open;
    cmDialog_.fileName.clear();
    cmDialog_.defaultExt = QStringLiteral("BMP");
    cmDialog_.filter = msg::carFilter();
    cmDialog_.filterIndex = 1;
    cmDialog_.title = msg::carFileTitle();
    const auto chosen = modal_.fileDialog(cmDialog_);
    if (!chosen) return;
    cmDialog_.fileName = *chosen;
    InsertLine(index, *chosen);
}

std::optional<QString> Editor::CopyCar() const {
    if (selectedRow() < 2) return std::nullopt;
    return doc_.FormationLines()[size_t(selectedRow())];
}

std::optional<QString> Editor::CutCar() {
    auto text = CopyCar();
    if (text) DeleteLine(selectedRow());
    return text;
}

void Editor::PasteCar(const QString& clipboardText) {
    const int index = std::max(selectedRow(), 2);
    if (clipboardText.isEmpty()) return;
    InsertLine(index, clipboardText);
}

void Editor::EditTitle() {
    const QString result = modal_.input(msg::titlePrompt(), msg::titleInputTitle(), doc_.rows().value(0));
    if (result.isEmpty()) return;
    doc_.setLine(0, result);
}

void Editor::EditComment() {
    const int k = std::max(selectedRow(), 1);
    const CarLine line(doc_.FormationLines()[size_t(k)]);
    const QString result =
        modal_.input(msg::commentPrompt(k + 1, line.pathPart), msg::commentInputTitle(), line.comment);
    if (!result.isEmpty())
        doc_.setLine(k, line.pathPart + u';' + result);
    else if (modal_.message(msg::deleteComment(), QString(), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::No)
        doc_.setLine(k, line.pathPart);
    else
        RefreshCarList();
}

void Editor::ChangeSound() {
    cmDialog_.kind = FileDialogRequest::Kind::Open;
    cmDialog_.fileName = CarLine(doc_.FormationLines()[1]).pathPart;
    cmDialog_.defaultExt = QStringLiteral("WAV");
    cmDialog_.filter = msg::soundFilter();
    cmDialog_.filterIndex = 1;
    cmDialog_.title = msg::soundFileTitle();
    const FileChoice chosen = modal_.fileDialog(cmDialog_);
    if (chosen) {
        cmDialog_.fileName = *chosen;
        const QString comment = modal_.input(msg::soundCommentPrompt(), msg::soundCommentTitle(), QString());
        doc_.setLine(1, *chosen + u';' + comment);
        return;
    }
    // A dialog that failed has said why; the sound line is left as it was.
    if (chosen.failed()) {
        RefreshCarList();
        return;
    }
    if (modal_.message(msg::deleteSound(), QString(), MsgButtons::YesNo, MsgIcon::Information) == MsgAnswer::No) return;
    doc_.setLine(1, QString());
}

QString Editor::soundToPlay() const { return CarLine(doc_.FormationLines()[1]).pathPart; }

void Editor::pressRow(int row) { dragRecord_ = row >= 2 ? row : -1; }

bool Editor::releaseRow(int row) {
    if (dragRecord_ < 0) return false;
    return doc_.moveLine(dragRecord_, row);
}

Editor::DoubleClick Editor::doubleClickSelected() {
    switch (selectedRow()) {
        case -1:
            return DoubleClick::Nothing;
        case 0:
            EditTitle();
            return DoubleClick::EditTitle;
        case 1:
            ChangeSound();
            return DoubleClick::EditSound;
        default:
            return DoubleClick::ViewCar;
    }
}

void Editor::DropFile(const QString& path) {
    if (doc_.rows().size() == kMaxFormationLines) {
        modal_.message(msg::tooManyCars(), QString(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString ext = g_.fso.GetExtensionName(path).toUpper();
    // A folder is never a formation, a sound or a car, whatever its name ends with.
    const bool folder = g_.fso.FolderExists(path);
    if (!folder && ext == u"KSN") {
        doc_.setCurrentFilePath(path);
        LoadCurrentFile();
    } else if (!folder && ext == u"WAV") {
        doc_.setLine(1, path);
    } else if (!folder && ext == u"BMP") {
        // A formation without cars (or nothing loaded) takes the car as its first car, whichever
        // row is selected: placing it after a padding row would put it beyond the document's end.
        if (doc_.rows().size() < 3) {
            InsertLine(2, path);
            return;
        }
        if (selectedRow() < 0) selectRow(int(doc_.rows().size()) - 1);
        InsertLine(selectedRow() + 1, path);
    } else {
        modal_.message(msg::unsupportedDrop(path), QString(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
}

QString formationArgument(const QStringList& arguments, const FileSystem& fs) {
    const QString whole = arguments.join(u' ');
    // Anything there is a host path: a named pipe or a folder given as the formation is refused
    // by the load for what it is, never taken for a path on the current drive, which may hold
    // another file of that name.
    const QFileInfo there(whole);
    if (whole.isEmpty() || !(there.exists() || there.isSymLink())) return whole;
    return fs.toWindows(whole).value_or(whole);
}

QStringList windowsArguments(const QStringList& arguments, const FileSystem& fs) {
    // An existing file is a path, never a switch, even when no drive reaches it.
    const auto asFile = [&](const QString& a) -> std::optional<QString> {
        if (a.isEmpty() || !isRegularFile(a)) return std::nullopt;
        return fs.toWindows(a).value_or(QString());
    };
    if (const auto whole = asFile(arguments.join(u' '))) return {*whole};
    QStringList out;
    out.reserve(arguments.size());
    for (const QString& a : arguments) out << asFile(a).value_or(a);
    return out;
}

}  // namespace ksn
