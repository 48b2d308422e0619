#include "document/document.h"

#include "document/messages.h"
#include "support/paths/regularfile.h"
#include "support/paths/savequeue.h"
#include "support/text/cp932.h"

#include <optional>

namespace ksn {

Document::Document(Ksned& state, Modal& modal, QObject* parent) : QObject(parent), g_(state), modal_(modal) {}

void Document::setLine(int index, const QString& text) {
    if (index < 0 || index >= kMaxFormationLines) return;
    lines_[size_t(index)] = text;
    refreshRows();
}

void Document::setCaption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    emit captionChanged(caption_);
}

void Document::setSaveMode(SaveMode m) {
    if (mode_ == m) return;
    mode_ = m;
    emit settingsChanged();
}

void Document::setCommentsOn(bool on) {
    if (commentsOn_ == on) return;
    commentsOn_ = on;
    emit settingsChanged();
}

bool Document::scan(QString folder) {
    if (folder.endsWith(u'\\')) folder.chop(1);
    // An empty folder would search the root of the current drive; a formation list drawn from a
    // drive root the user never chose is more confusing than an empty one, so nothing is scanned.
    if (folder.isEmpty()) return false;
    const FolderListing listing = g_.fso.listFiles(folder, QStringLiteral("*.KSN"));
    if (listing.names.isEmpty()) return false;

    formations_.clear();
    g_.fso.setCurrentDirectory(folder);
    for (const QString& name : listing.names) {
        // A file that cannot be read lists an empty title and keeps its place in the list.
        const ReadResult first = g_.fso.readFirstLine(listing, name);
        formations_.push_back({name, first.ok ? cp932::decode(first.bytes) : QString()});
        if (int(formations_.size()) == kMaxFormationFiles) {
            modal_.message(msg::tooManyFiles(kMaxFormationFiles), QString(), MsgButtons::Ok, MsgIcon::None);
            break;
        }
    }
    return true;
}

LoadResult Document::load(const QString& path) {
    LoadResult result;
    result.path = g_.fso.GetFullFileName(g_.DefaultFolder, path);
    currentFilePath_ = result.path;
    // Read first and looked for only when that fails: one resolution of the path instead of two.
    ReadResult r = g_.fso.readFile(result.path);
    if (!r.ok && !g_.fso.FileExists(result.path)) {
        result.message = msg::notFound(result.path);
        modal_.message(result.message, msg::notFoundTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
        return result;
    }
    // The caption names the file before anything is said about its contents, so that a warning
    // about it stands beside its name.
    const QString previousCaption = caption_;
    setCaption(msg::fileCaption(g_.fso.GetBaseName(result.path) + u'.' + g_.fso.GetExtensionName(result.path)));
    if (!r.ok) {
        // The document stays as it was, and so does the caption naming it: nothing of a file that
        // could not be read replaces them.
        result.status = LoadResult::Status::Unreadable;
        result.message = r.error;
        modal_.message(result.message, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        setCaption(previousCaption);
        return result;
    }
    result.status = LoadResult::Status::Loaded;

    const FormationText text = readFormationText(r.bytes, kMaxFormationLines);
    lines_.fill(QString());
    for (qsizetype i = 0; i < text.lines.size(); ++i) lines_[size_t(i)] = text.lines[i];
    if (text.overLimit) {
        modal_.message(msg::overLimit(kMaxFormationLines, text.lines.value(kMaxFormationLines - 1)), QString(),
                       MsgButtons::Ok, MsgIcon::None);
    }
    loadedBytes_ = std::move(r.bytes);
    loadedInvalid_ = text.invalidBytes;
    if (text.invalidBytes)
        modal_.message(msg::invalidBytes(result.path), QString(), MsgButtons::Ok, MsgIcon::Exclamation);
    refreshRows();
    if (heightCheckOnLoad_) checkHeight();
    return result;
}

void Document::refreshRows() {
    rows_.clear();
    ++rowsBuilt_;
    const auto& L = lines_;
    rows_ << L[0];
    for (int i = 1; i < kFormationTableSize; ++i) {
        rows_ << convertLine(L[size_t(i)], i == 1 ? LineKind::Sound : LineKind::Car, mode_, commentsOn_, g_.fso,
                             g_.DefaultFolder);
        if (i + 1 >= kFormationTableSize || L[size_t(i + 1)].isEmpty()) break;
    }
    emit rowsChanged();
}

QByteArray Document::bytes() {
    if (rows_.size() > 1 && rows_[1].isEmpty()) {
        rows_[1] = QStringLiteral(" ");
        emit rowsChanged();
    }
    return formationBytes(rows_);
}

IoResult Document::save(const QString& path) { return g_.fso.writeFile(path, bytes()); }

bool Document::deleteLine(int index) {
    if (index < 2) return false;
    auto& L = lines_;
    for (int i = index; i <= rows_.size() - 1 && i + 1 < kFormationTableSize; ++i) L[size_t(i)] = L[size_t(i + 1)];
    refreshRows();
    return true;
}

bool Document::insertLine(int index, const QString& text) {
    if (index < 2 || index > kMaxFormationLines) return false;
    const int n = int(rows_.size());
    if (n >= kMaxFormationLines) {
        modal_.message(msg::tooManyCars(), QString(), MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    auto& L = lines_;
    for (int i = n - 1; i >= index; --i) L[size_t(i + 1)] = L[size_t(i)];
    L[size_t(index)] = text;
    L[size_t(n + 1)] = QString();
    refreshRows();
    checkHeight();
    return true;
}

bool Document::moveLine(int from, int to) {
    if (from == to || from >= rows_.size()) return false;
    auto& L = lines_;
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
    emit rowsChanged();
    return true;
}

void Document::clear() {
    currentFilePath_.clear();
    lines_[0] = msg::newFormationTitle();
    lines_[1].clear();
    lines_[2].clear();
    refreshRows();
}

std::vector<HeightMismatch> Document::heightMismatches() const {
    std::vector<HeightMismatch> out;
    const int n = int(rows_.size());
    if (n < 3) return out;
    const auto& L = lines_;
    // A train repeats its middle cars: each distinct picture's header is read once per check.
    std::vector<std::pair<QString, std::int32_t>> seen;
    const auto heightOf = [&](const QString& path) {
        for (const auto& [p, h] : seen)
            if (p == path) return h;
        seen.emplace_back(path, g_.lib.GetBMPHeight(path));
        return seen.back().second;
    };
    const std::int32_t h0 = heightOf(CarLine(L[2]).pathPart);
    for (int i = 3; i < n && i < kFormationTableSize; ++i) {
        const QString path = CarLine(L[size_t(i)]).pathPart;
        const std::int32_t h = heightOf(path);
        if (h != h0) out.push_back({path, i - 1, h, h0});
    }
    return out;
}

void Document::checkHeight() {
    const auto mismatches = heightMismatches();
    if (mismatches.empty()) return;
    QString report;
    for (const auto& m : mismatches) report += msg::heightMismatchLine(m.path, m.carNumber);
    modal_.message(msg::heightMismatch(report), QString(), MsgButtons::Ok, MsgIcon::Exclamation);
}

RewriteResult Document::rewriteFolder(const QString& folder, const RewriteOptions& options) {
    RewriteResult result;
    g_.DefaultFolder = folder;
    // A network folder has no drive to change to; it names nothing on this host, so the search
    // below finds nothing and the run ends at once.
    g_.fso.setCurrentDirectory(folder);
    const FolderListing listing = g_.fso.listFiles(folder, QStringLiteral("*.KSN"));
    const QStringList& files = listing.names;
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
        // A link (one unpacked from an archive, say) may lead to any file of the system; the batch
        // writes only files that lie in the folder themselves.
        if (isSymbolicLink(listing.hostFolder + u'/' + name)) {
            outcomes[size_t(i)] = Outcome::Failed;
            modal_.message(msg::linkNotRewritten(listing.folder + name), QString(), MsgButtons::Ok,
                           MsgIcon::Exclamation);
        } else if (const LoadResult loaded = load(name); !loaded.loaded()) {
            outcomes[size_t(i)] = Outcome::Failed;
        } else if (loadedInvalid_) {
            // Rewriting would replace the bytes that are not Shift-JIS; the file is left alone.
            outcomes[size_t(i)] = Outcome::Failed;
            modal_.message(msg::notRewritten(loaded.path), QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            const QByteArray out = bytes();
            // A failed save turns this into Failed when it is collected.
            outcomes[size_t(i)] = out != loadedBytes_ ? Outcome::Changed : Outcome::Same;
            if (saves) saves->submit(i, loaded.path, out);
        }
        if (saves) collect(saves->takeFinished());
        ++result.processed;
        if (options.progress) options.progress(result.processed, result.found, name);
        modal_.processEvents();
    }
    if (saves) collect(saves->finishAll());
    if (result.found > 0) setCaption(QString());
    for (int i = 0; i < int(files.size()); ++i) {
        if (outcomes[size_t(i)] == Outcome::Changed) result.changed << files[i];
        if (outcomes[size_t(i)] == Outcome::Failed) result.failed << files[i];
    }
    return result;
}

}  // namespace ksn
