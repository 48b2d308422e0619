// The formation document: Ksned's document table, the car-list rows made from it in a save mode with
// or without comments, the height check, the formation list of a folder and the batch rewrite. Every
// operation takes the path it works on and says what happened; messages go through the modal seam.
// No widget: the editor, `ksn` and the tests drive it alike.
#pragma once

#include "document/formation.h"
#include "document/ksned.h"
#include "support/ui/modal.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace ksn {

// One car whose height differs from the first car's.
struct HeightMismatch {
    QString path;   // as the document holds it, before the ";"
    int carNumber;  // 1 for the first car
    std::int32_t height;
    std::int32_t firstHeight;
};

// One formation file of the formation list.
struct FormationEntry {
    QString fileName;  // bare file name
    QString title;     // its first line; empty when the file cannot be read
};

struct LoadResult {
    enum class Status { Loaded, NotFound, Unreadable };
    Status status = Status::NotFound;
    QString path;     // the file looked for: the given path resolved against the default folder
    QString message;  // not loaded: the message shown
    bool loaded() const { return status == Status::Loaded; }
};

struct RewriteOptions {
    bool dryRun = false;  // write nothing; list the files whose bytes would change
    // Called after each file with the files done, the files found and the file's bare name.
    std::function<void(int done, int total, const QString& name)> progress;
};

struct RewriteResult {
    int found = 0;
    int processed = 0;
    QStringList changed;  // bare names whose bytes changed (or would change)
    QStringList failed;   // bare names that could not be read or written
    bool stopped = false;
    QString lastPath;  // the last file taken in hand, resolved; empty when none was
};

class Document {
public:
    Document(Ksned& state, Modal& modal);

    const FileSystem& fileSystem() const { return g_.fso; }
    const QString& defaultFolder() const { return g_.DefaultFolder; }

    // The car list: the title, then each line in the save mode, with or without its comment.
    const QStringList& rows() const { return rows_; }
    // Counts the rebuilds of the rows, so that a selection made on older rows is known as stale.
    quint64 rowsBuilt() const { return rowsBuilt_; }
    SaveMode saveMode() const { return mode_; }
    void setSaveMode(SaveMode m) { mode_ = m; }
    bool commentsOn() const { return commentsOn_; }
    void setCommentsOn(bool on) { commentsOn_ = on; }
    // Whether loading ends with the height check's message (the command line reports it itself).
    void setHeightCheckOnLoad(bool on) { heightCheckOnLoad_ = on; }

    // The formation list: the formation files of the folder last scanned, at most kMaxFormationFiles.
    const std::vector<FormationEntry>& FormationFileNames() const { return formations_; }
    // Lists the formation files of folder (one trailing "\" ignored) and makes it the current
    // directory. False, and the list kept, when the folder is empty or holds no formation file.
    bool scan(QString folder);

    // Loads path (a bare name is resolved against the default folder) into the document table and
    // rebuilds the rows. A file that is missing or cannot be read leaves the document as it was.
    LoadResult load(const QString& path);
    // Writes the rows to path; on failure the old file is kept and the result says why.
    IoResult save(const QString& path);
    // The bytes save writes (an empty sound line is written as a blank).
    QByteArray bytes();
    void refreshRows();
    // Removes car line index (2 or more). False when there is no such line.
    bool deleteLine(int index);
    // Inserts text before line index (2 .. kMaxFormationLines), then checks the heights. False when
    // nothing was inserted: a bad index, or the formation is full (said with a message).
    bool insertLine(int index, const QString& text);
    // Moves car row from to row to (a car never goes onto the title or the sound row), in the rows
    // and the table alike. False when nothing moved.
    bool moveLine(int from, int to);
    // A new formation with its default title, no sound and no car.
    void clear();
    void checkHeight();
    std::vector<HeightMismatch> heightMismatches() const;
    // Loads and rewrites every formation file of folder in the current mode and switch. The folder
    // is the run's default folder, which its paths are written for.
    RewriteResult rewriteFolder(const QString& folder, const RewriteOptions& options = {});

    // The bytes of the file last loaded, and whether they held bytes that are not code page 932.
    const QByteArray& loadedBytes() const { return loadedBytes_; }
    bool loadedInvalidBytes() const { return loadedInvalid_; }

private:
    Ksned& g_;
    Modal& modal_;
    QStringList rows_;
    quint64 rowsBuilt_ = 0;
    SaveMode mode_ = SaveMode::FileOnly;
    bool commentsOn_ = true;
    bool heightCheckOnLoad_ = true;
    std::vector<FormationEntry> formations_;
    QByteArray loadedBytes_;
    bool loadedInvalid_ = false;
};

}  // namespace ksn
