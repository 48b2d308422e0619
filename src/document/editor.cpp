#include "editor.h"

#include "cp932.h"

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
    const QString absFolder = g_.fso.GetAbsolutePathName(folder);
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
        modal_.message(QStringLiteral("Shift-JIS として読めない文字があります。") + kCrLf +
                           QStringLiteral("このまま保存すると、その文字は別の文字に置き換わります。") + kCrLf +
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
        rows_ << convertLine(L[size_t(i)], mode_, commentsOn_, g_.fso, g_.DefaultFolder);
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
    for (const QString& name : files) {
        if (g_.StopRequested) {
            result.stopped = true;
            break;
        }
        g_.CurrentFilePath = name;
        if (!LoadCurrentFile()) {
            result.failed << name;
        } else if (loadedInvalid_) {
            // Rewriting would replace the bytes that are not Shift-JIS; the file is left alone.
            result.failed << name;
            modal_.message(QStringLiteral("Shift-JIS として読めない文字があるため、このファイルは書き換えませんでした。") + kCrLf +
                               QStringLiteral("File= ") + g_.CurrentFilePath,
                           QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            const QByteArray bytes = currentFileBytes();
            const bool differs = bytes != loadedBytes_;
            if (options.dryRun) {
                if (differs) result.changed << name;
            } else {
                QString error;
                if (!WriteCurrentFile(&error)) {
                    result.failed << name;
                    modal_.message(error, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
                } else if (differs) {
                    result.changed << name;
                }
            }
        }
        ++result.processed;
        if (options.progress) options.progress(result.processed, result.found, name);
        modal_.processEvents();
    }
    if (!files.isEmpty()) caption_.clear();
    return result;
}

}  // namespace ksn
