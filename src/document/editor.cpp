#include "document/editor.h"

#include "support/text/cp932.h"
#include "support/settings/settingsfile.h"
#include "support/paths/regularfile.h"
#include "support/paths/savequeue.h"
#include "support/paths/winpath.h"
#include "support/product/version.h"

#include <optional>
#include <vector>

namespace ksn {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kSemicolon = QStringLiteral(";");
}  // namespace

Editor::Editor(Ksned& state, Modal& modal) : g_(state), modal_(modal) {}

void Editor::selectRow(int k) {
    selected_ = (k >= 0 && k < rows_.size()) ? k : -1;
    const qsizetype cars = rows_.size() - 2;
    if (selected_ == 0 || selected_ == 1)
        msg_ = QString::number(cars) + QStringLiteral("両");
    else
        msg_ = QString::number(selected_ - 1) + QStringLiteral(" / ") + QString::number(cars) +
               QStringLiteral("両");
}

void Editor::toggleComments() {
    commentsOn_ = !commentsOn_;
    RefreshCarList();
}

void Editor::selectTrain(int index) {
    if (index < 0 || index >= trainItems_.size()) {
        trainIndex_ = -1;
        return;
    }
    trainIndex_ = index;
    trainToolTip_ = g_.FormationFileNames[size_t(index)];
}

void Editor::ScanFolder(QString& folder) {
    if (folder.endsWith(u'\\')) folder.chop(1);
    // An empty folder would search the root of the current drive; a formation list drawn from a
    // drive root the user never chose is more confusing than an empty one, so nothing is scanned.
    if (folder.isEmpty()) return;
    const QStringList files = g_.fso.findFiles(folder, QStringLiteral("*.KSN"));
    if (files.isEmpty()) return;

    trainItems_.clear();
    trainIndex_ = -1;
    const QString absFolder = g_.fso.GetAbsolutePathName(winpath::searchFolder(folder));
    g_.fso.setCurrentDirectory(folder);
    int n = 0;
    for (const QString& name : files) {
        g_.FormationFileNames[size_t(n)] = name;
        // A file that cannot be read lists an empty title, so that every item keeps its file name
        // at the same index.
        const ReadResult first = g_.fso.readFirstLine(g_.fso.BuildPath(absFolder, name));
        trainItems_ << (first.ok ? cp932::decode(first.bytes) : QString());
        ++n;
        if (n == kMaxFormationFiles) {
            modal_.message(QStringLiteral("ﾃﾞｨﾚｸﾄﾘに") + QString::number(kMaxFormationFiles) +
                               QStringLiteral("以上のファイルが存在します。") + QStringLiteral("以後のファイルは無視します"),
                           QString(), MsgButtons::Ok, MsgIcon::None);
            break;
        }
    }
    if (!trainItems_.isEmpty()) selectTrain(0);
}

bool Editor::LoadCurrentFile() {
    QString& path = g_.CurrentFilePath;
    if (path.isEmpty()) return false;
    path = g_.fso.GetFullFileName(g_.DefaultFolder, path);
    if (!g_.fso.FileExists(path)) {
        modal_.message(QStringLiteral("File= ") + path, QStringLiteral("Not found"), MsgButtons::Ok,
                       MsgIcon::Exclamation);
        return false;
    }
    ReadResult r = g_.fso.readFile(path);
    if (!r.ok) {
        // The document stays as it was: nothing of a file that could not be read replaces it.
        modal_.message(r.error, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    caption_ = g_.fso.GetBaseName(path) + u'.' + g_.fso.GetExtensionName(path) + QStringLiteral(" - ") + kProductName;

    const FormationText text = readFormationText(r.bytes, kMaxFormationLines);
    g_.FormationLines.fill(QString());
    for (qsizetype i = 0; i < text.lines.size(); ++i) g_.FormationLines[size_t(i)] = text.lines[i];
    if (text.overLimit) {
        modal_.message(QStringLiteral("編成両数がMAXを越えました。残りは無視されます。") + kCrLf + QStringLiteral("line=") +
                           QString::number(kMaxFormationLines) + kCrLf + text.lines.value(kMaxFormationLines - 1),
                       QString(), MsgButtons::Ok, MsgIcon::None);
    }
    loadedBytes_ = std::move(r.bytes);
    loadedInvalid_ = text.invalidBytes;
    if (text.invalidBytes) {
        modal_.message(QStringLiteral("Shift-JIS として読めないバイトがあります。") + kCrLf +
                           QStringLiteral("このまま保存すると、その部分は別の文字に置き換わります。") + kCrLf +
                           QStringLiteral("File= ") + path,
                       QString(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    RefreshCarList();
    if (heightCheckOnLoad_) CheckHeight();
    return true;
}

void Editor::RefreshCarList() {
    rows_.clear();
    selected_ = -1;
    const auto& L = g_.FormationLines;
    rows_ << L[0];
    for (int i = 1; i < kFormationTableSize; ++i) {
        rows_ << convertLine(L[size_t(i)], i == 1 ? LineKind::Sound : LineKind::Car, mode_, commentsOn_, g_.fso,
                             g_.DefaultFolder);
        if (i + 1 >= kFormationTableSize || L[size_t(i + 1)].isEmpty()) break;
    }
}

QByteArray Editor::currentFileBytes() {
    if (rows_.size() > 1 && rows_[1].isEmpty()) rows_[1] = QStringLiteral(" ");
    return formationBytes(rows_);
}

bool Editor::WriteCurrentFile(QString* error) {
    if (g_.CurrentFilePath.isEmpty()) return true;
    const IoResult r = g_.fso.writeFile(g_.CurrentFilePath, currentFileBytes());
    if (!r.ok && error) *error = r.error;
    return r.ok;
}

void Editor::DeleteLine(int index) {
    if (index < 2) return;
    auto& L = g_.FormationLines;
    for (int i = index; i <= rows_.size() - 1 && i + 1 < kFormationTableSize; ++i) L[size_t(i)] = L[size_t(i + 1)];
    RefreshCarList();
    if (index >= 3) selectRow(index - 1);
}

void Editor::InsertLine(int index, const QString& text) {
    if (index < 2 || index > kMaxFormationLines) return;
    const int n = int(rows_.size());
    if (n >= kMaxFormationLines) {
        modal_.message(QStringLiteral("車両数が既にMAXを越えているので新たな車両は追加出来ません。"), QString(),
                       MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    auto& L = g_.FormationLines;
    for (int i = n - 1; i >= index; --i) L[size_t(i + 1)] = L[size_t(i)];
    L[size_t(index)] = text;
    L[size_t(n + 1)] = QString();
    RefreshCarList();
    CheckHeight();
}

void Editor::NewFormation() {
    g_.FormationLines[0] = QStringLiteral("新生した編成");
    g_.FormationLines[1].clear();
    g_.FormationLines[2].clear();
    g_.CurrentFilePath.clear();
    RefreshCarList();
}

std::vector<HeightMismatch> Editor::heightMismatches() const {
    std::vector<HeightMismatch> out;
    const int n = int(rows_.size());
    if (n < 3) return out;
    const auto& L = g_.FormationLines;
    const std::int32_t h0 = g_.lib.GetBMPHeight(MyLibClass::F_STR(L[2], kSemicolon));
    for (int i = 3; i < n && i < kFormationTableSize; ++i) {
        const QString path = MyLibClass::F_STR(L[size_t(i)], kSemicolon);
        const std::int32_t h = g_.lib.GetBMPHeight(path);
        if (h != h0) out.push_back({path, i - 1, h, h0});
    }
    return out;
}

void Editor::CheckHeight() {
    const auto mismatches = heightMismatches();
    if (mismatches.empty()) return;
    QString report;
    for (const auto& m : mismatches) report += m.path + QStringLiteral(" Line=") + QString::number(m.carNumber) + kCrLf;
    modal_.message(QStringLiteral("異なる規格のファイルが混在しています。") + kCrLf +
                       QStringLiteral("先頭車両と高さが異なるのは次の通りです。") + kCrLf + report,
                   QString(), MsgButtons::Ok, MsgIcon::Exclamation);
}

RewriteResult Editor::RewriteFolder(QString& folder, const RewriteOptions& options) {
    RewriteResult result;
    // A network folder has no drive to change to; it names nothing on this host, so the search
    // below finds nothing and the run ends at once.
    g_.fso.setCurrentDirectory(folder);
    const QStringList files = g_.fso.findFiles(folder, QStringLiteral("*.KSN"));
    result.found = int(files.size());
    enum class Outcome { Pending, Same, Changed, Failed };
    std::vector<Outcome> outcomes(size_t(files.size()), Outcome::Pending);

    // Loading and checking stay here, where messages can be shown; the saves run behind, and a
    // failed one is reported as soon as it is known, naming its file.
    std::optional<SaveQueue> saves;
    if (!options.dryRun && !files.isEmpty()) saves.emplace(g_.fso);
    const auto collect = [&](std::vector<SaveQueue::Finished> finished) {
        for (auto& f : finished) {
            auto& outcome = outcomes[size_t(f.tag)];
            if (!f.result.ok) {
                outcome = Outcome::Failed;
                modal_.message(f.result.error, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
            }
        }
    };

    for (int i = 0; i < int(files.size()); ++i) {
        const QString& name = files[i];
        if (g_.StopRequested) {
            result.stopped = true;
            break;
        }
        g_.CurrentFilePath = name;
        if (!LoadCurrentFile()) {
            outcomes[size_t(i)] = Outcome::Failed;
        } else if (loadedInvalid_) {
            // Rewriting would replace the bytes that are not Shift-JIS; the file is left alone.
            outcomes[size_t(i)] = Outcome::Failed;
            modal_.message(QStringLiteral("Shift-JIS として読めないバイトがあるため、このファイルは書き換えませんでした。") + kCrLf +
                               QStringLiteral("File= ") + g_.CurrentFilePath,
                           QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            const QByteArray bytes = currentFileBytes();
            // A failed save turns this into Failed when it is collected.
            outcomes[size_t(i)] = bytes != loadedBytes_ ? Outcome::Changed : Outcome::Same;
            if (saves) saves->submit(i, g_.CurrentFilePath, bytes);
        }
        if (saves) collect(saves->takeFinished());
        ++result.processed;
        if (options.progress) options.progress(result.processed, result.found, name);
        modal_.processEvents();
    }
    if (saves) collect(saves->finishAll());
    for (int i = 0; i < int(files.size()); ++i) {
        if (outcomes[size_t(i)] == Outcome::Changed) result.changed << files[i];
        if (outcomes[size_t(i)] == Outcome::Failed) result.failed << files[i];
    }
    if (!files.isEmpty()) caption_.clear();
    return result;
}

}  // namespace ksn

namespace ksn {

namespace {
const QString kKsnFilter = QStringLiteral("KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|");
const QString kMaxCarsMessage = QStringLiteral("車両数が既にMAXを越えているので新たな車両は追加出来ません。");
}  // namespace

void Editor::startUp(const QString& commandLine, const std::function<void(const QString&)>& setFolderText) {
    caption_ = kProductName;
    g_.DefaultFolder = ReadIni(g_.lib);
    cmDialog_.filterIndex = 1;
    cmDialog_.initialFolder = g_.DefaultFolder;
    if (setFolderText) setFolderText(g_.DefaultFolder);
    ScanFolder(g_.DefaultFolder);
    if (!commandLine.isEmpty()) {
        g_.CurrentFilePath = commandLine;
        cmDialog_.fileName = commandLine;
        LoadCurrentFile();
        return;
    }
    // Nothing is loaded: the formation list shows the last item whose title equals the (empty)
    // document's, or the first item.
    int found = 0;
    for (int i = int(trainItems_.size()) - 1; i >= 0; --i) {
        if (trainItems_[i] == g_.FormationLines[0]) {
            found = i;
            break;
        }
    }
    if (!trainItems_.isEmpty()) selectTrain(found);
}

void Editor::folderTextChanged(const QString& text) {
    g_.DefaultFolder = text;
    ScanFolder(g_.DefaultFolder);
    writeSettings();
}

std::optional<QString> Editor::chooseFolder() {
    QString chosen = modal_.browseFolder(QStringLiteral("デフォルトフォルダの設定"), g_.DefaultFolder);
    if (chosen.isEmpty()) return std::nullopt;
    const qsizetype nul = chosen.indexOf(QChar(u'\0'));
    if (nul >= 0) chosen.truncate(nul);
    return chosen;
}

void Editor::writeSettings() { WriteIni(g_.lib, g_.DefaultFolder); }

void Editor::QuickLoad() {
    g_.CurrentFilePath = trainToolTip_;
    LoadCurrentFile();
}

FileChoice Editor::askFormationFile(FileDialogRequest::Kind kind, const QString& title) {
    cmDialog_.kind = kind;
    cmDialog_.fileName = g_.CurrentFilePath;
    cmDialog_.title = title;
    cmDialog_.defaultExt = QStringLiteral("KSN");
    cmDialog_.filter = kKsnFilter;
    const auto chosen = modal_.fileDialog(cmDialog_);
    if (chosen) {
        cmDialog_.fileName = *chosen;
        g_.CurrentFilePath = *chosen;
    }
    return chosen;
}

void Editor::LoadChosen() {
    if (askFormationFile(FileDialogRequest::Kind::Open, QStringLiteral("ﾌｧｲﾙを指定して読み込み"))) LoadCurrentFile();
}

void Editor::SaveAs() {
    if (g_.CurrentFilePath.isEmpty()) g_.CurrentFilePath = g_.DefaultFolder + QStringLiteral("\\KSNED.KSN");
    // A failed write ends the command without a word; the old file is left whole by the save file.
    if (askFormationFile(FileDialogRequest::Kind::Save, QStringLiteral("名前を付けてKSNの保管"))) WriteCurrentFile();
}

void Editor::PathChange(const QString& folderText, const std::function<void(bool)>& showStop,
                        const RewriteOptions& options) {
    const QString text = QStringLiteral("KSNファイル中のパス名をデフォルトのフォルダ名のパスに変更します。") + kCrLf +
                         QStringLiteral("デフォルトフォルダ中の全てのKSNファイルを書き換えます。") + kCrLf + kCrLf +
                         QStringLiteral("書き換えたくないKSNファイルは実行前に移動しておいて下さい。") + kCrLf + kCrLf +
                         QStringLiteral("実行前に、デフォルトフォルダ、Save Mode、コメント削除の") + kCrLf +
                         QStringLiteral("チェックボックスを指定しておいて下さい。") + kCrLf + kCrLf +
                         QStringLiteral("準備が出来ていれば ｢はい｣ボタンを押して下さい。") + kCrLf;
    if (modal_.message(text, QStringLiteral("パス名連続変更"), MsgButtons::YesNo, MsgIcon::Information) == MsgAnswer::No)
        return;
    g_.StopRequested = false;
    if (showStop) showStop(true);
    modal_.processEvents();
    g_.DefaultFolder = folderText;
    RewriteFolder(g_.DefaultFolder, options);
    if (showStop) showStop(false);
}

void Editor::AddCar() {
    const int index = selected_ < 2 ? 2 : selected_;
    cmDialog_.kind = FileDialogRequest::Kind::Open;
    cmDialog_.fileName.clear();
    cmDialog_.defaultExt = QStringLiteral("BMP");
    cmDialog_.filter = QStringLiteral("BMP File (*.BMP)|*.BMP|All Files (*.*)|*.*|");
    cmDialog_.filterIndex = 1;
    cmDialog_.title = QStringLiteral("車両画像ファイルの選択");
    const auto chosen = modal_.fileDialog(cmDialog_);
    if (!chosen) return;
    cmDialog_.fileName = *chosen;
    InsertLine(index, *chosen);
}

std::optional<QString> Editor::CopyCar() const {
    if (selected_ < 2) return std::nullopt;
    return g_.FormationLines[size_t(selected_)];
}

std::optional<QString> Editor::CutCar() {
    auto text = CopyCar();
    if (text) DeleteLine(selected_);
    return text;
}

void Editor::PasteCar(const QString& clipboardText) {
    const int index = selected_ < 2 ? 2 : selected_;
    if (clipboardText.isEmpty()) return;
    InsertLine(index, clipboardText);
}

void Editor::EditTitle() {
    const QString result =
        modal_.input(QStringLiteral("編成コメントを入力して下さい"), QStringLiteral("編成コメントの変更"), rows_.value(0));
    if (result.isEmpty()) return;
    g_.FormationLines[0] = result;
    RefreshCarList();
}

void Editor::EditComment() {
    const int k = selected_ < 1 ? 1 : selected_;
    QString& line = g_.FormationLines[size_t(k)];
    const QString path = MyLibClass::F_STR(line, kSemicolon);
    const QString comment = MyLibClass::B_STR(line, kSemicolon);
    const QString prompt = QStringLiteral("削除する場合はキャンセルを選択してください") + kCrLf + QStringLiteral("行 : ") +
                           QString::number(k + 1) + kCrLf + QStringLiteral("File= ") + path;
    const QString result = modal_.input(prompt, QStringLiteral("コメントの編集"), comment);
    if (!result.isEmpty()) {
        line = path + u';' + result;
    } else if (modal_.message(QStringLiteral("コメントを削除しますか"), QString(), MsgButtons::YesNo, MsgIcon::Question) !=
               MsgAnswer::No) {
        line = path;
    }
    RefreshCarList();
}

void Editor::ChangeSound() {
    cmDialog_.kind = FileDialogRequest::Kind::Open;
    cmDialog_.fileName = MyLibClass::F_STR(g_.FormationLines[1], kSemicolon);
    cmDialog_.defaultExt = QStringLiteral("WAV");
    cmDialog_.filter = QStringLiteral("WAV File (*.WAV)|*.WAV|All Files (*.*)|*.*|");
    cmDialog_.filterIndex = 1;
    cmDialog_.title = QStringLiteral("サウンドファイルの設定");
    const FileChoice chosen = modal_.fileDialog(cmDialog_);
    if (chosen) {
        cmDialog_.fileName = *chosen;
        const QString comment = modal_.input(QStringLiteral("必要があればサウンドのコメントを入力してください。"),
                                             QStringLiteral("サウンドコメントの入力"), QString());
        g_.FormationLines[1] = *chosen + u';' + comment;
        RefreshCarList();
        return;
    }
    // A dialog that failed has said why; the sound line is left as it was.
    if (chosen.failed()) {
        RefreshCarList();
        return;
    }
    if (modal_.message(QStringLiteral("サウンドファイルの記述を削除しますか"), QString(), MsgButtons::YesNo,
                       MsgIcon::Information) == MsgAnswer::No)
        return;
    g_.FormationLines[1].clear();
    RefreshCarList();
}

QString Editor::soundToPlay() const { return MyLibClass::F_STR(g_.FormationLines[1], kSemicolon); }

void Editor::pressRow(int row) { dragRecord_ = row >= 2 ? row : -1; }

bool Editor::releaseRow(int row) {
    if (dragRecord_ < 0) return false;
    const int from = dragRecord_;
    const int to = row;
    if (from == to || from >= rows_.size()) return false;
    auto& L = g_.FormationLines;
    const QString moved = rows_[from];
    if (from < to) {
        if (to >= rows_.size()) return false;
        for (int i = from; i <= to - 1; ++i) {
            rows_[i] = rows_[i + 1];
            L[size_t(i)] = L[size_t(i + 1)];
        }
    } else {
        // A car cannot be moved onto the title or the sound row.
        if (to < 2) return false;
        for (int i = from; i >= to + 1; --i) {
            rows_[i] = rows_[i - 1];
            L[size_t(i)] = L[size_t(i - 1)];
        }
    }
    rows_[to] = moved;
    L[size_t(to)] = moved;
    return true;
}

Editor::DoubleClick Editor::doubleClickSelected() {
    switch (selected_) {
        case -1: return DoubleClick::Nothing;
        case 0: EditTitle(); return DoubleClick::EditTitle;
        case 1: ChangeSound(); return DoubleClick::EditSound;
        default: return DoubleClick::ViewCar;
    }
}

void Editor::DropFile(const QString& path) {
    if (rows_.size() == kMaxFormationLines) {
        modal_.message(kMaxCarsMessage, QString(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString ext = g_.fso.GetExtensionName(path).toUpper();
    // A folder is never a formation, a sound or a car, whatever its name ends with.
    const bool folder = g_.fso.FolderExists(path);
    if (!folder && ext == u"KSN") {
        g_.CurrentFilePath = path;
        LoadCurrentFile();
    } else if (!folder && ext == u"WAV") {
        g_.FormationLines[1] = path;
        RefreshCarList();
    } else if (!folder && ext == u"BMP") {
        // A formation without cars (or nothing loaded) takes the car as its first car, whichever
        // row is selected: placing it after a padding row would put it beyond the document's end.
        if (rows_.size() < 3) {
            InsertLine(2, path);
            return;
        }
        if (selected_ < 0) selectRow(int(rows_.size()) - 1);
        InsertLine(selected_ + 1, path);
    } else {
        modal_.message(QStringLiteral("対応していない拡張子のファイルがドラッグ＆ドロップされました。File=") + path, QString(),
                       MsgButtons::Ok, MsgIcon::Exclamation);
    }
}

QString formationArgument(const QStringList& arguments, const FileSystem& fs) {
    const QString whole = arguments.join(u' ');
    if (whole.isEmpty() || !isRegularFile(whole)) return whole;
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
