// The formation document: the document table, the file it belongs to, the car-list rows made from it
// in a save mode with or without comments, the height check, the formation list of a folder and the
// batch rewrite. It announces each change of its rows, its caption and its settings, so that a view
// follows it while a command runs (a message box then stands beside what it is about). Messages go
// through the modal seam. No widget: the editor, `ksn` and the tests drive it alike.
#pragma once

#include "document/formation.h"
#include "document/ksned.h"
#include "support/product/version.h"
#include "support/ui/modal.h"

#include <QObject>
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
};

class Document : public QObject {
    Q_OBJECT
public:
    // state: the services, the default folder and the stop request shared with the rest of the program.
    Document(Ksned& state, Modal& modal, QObject* parent = nullptr);

    const FileSystem& fileSystem() const { return g_.fso; }
    const QString& defaultFolder() const { return g_.DefaultFolder; }

    // The document table: index 0 title, 1 sound line, 2 and up cars; the first empty entry at index
    // 2 or later ends the formation.
    const FormationTable& FormationLines() const { return lines_; }
    // Replaces entry index (0 .. kMaxFormationLines - 1) and rebuilds the rows.
    void setLine(int index, const QString& text);
    // The file the document belongs to (a Windows path); empty for a formation never saved.
    const QString& CurrentFilePath() const { return currentFilePath_; }
    void setCurrentFilePath(const QString& path) { currentFilePath_ = path; }
    // The window caption: the name of the file last loaded, the product name, or empty after a batch.
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

    // The car list: the title, then each line in the save mode, with or without its comment.
    const QStringList& rows() const { return rows_; }
    // Counts the rebuilds of the rows, so that a selection made on older rows is known as stale.
    quint64 rowsBuilt() const { return rowsBuilt_; }
    SaveMode saveMode() const { return mode_; }
    // The mode and the switch change no row by themselves: whoever changes them rebuilds the list.
    void setSaveMode(SaveMode m);
    bool commentsOn() const { return commentsOn_; }
    void setCommentsOn(bool on);
    // Whether loading ends with the height check's message (the command line reports it itself).
    void setHeightCheckOnLoad(bool on) { heightCheckOnLoad_ = on; }

    // The formation list: the formation files of the folder last scanned, at most kMaxFormationFiles.
    const std::vector<FormationEntry>& FormationFileNames() const { return formations_; }
    // Lists the formation files of folder (one trailing "\" ignored) and makes it the current
    // directory. False, and the list kept, when the folder is empty or holds no formation file.
    bool scan(QString folder);

    // Makes path (a bare name resolved against the default folder) the current file and loads it
    // into the document table: the caption names it before it is read, the rows are rebuilt, then
    // the heights are checked. A file that is missing or cannot be read leaves the document as it was.
    LoadResult load(const QString& path);
    // Writes the rows to path; on failure the old file is kept and the result says why.
    IoResult save(const QString& path);
    // The bytes save writes (an empty sound line is written as a blank, in the rows as well).
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
    // A new formation with its default title, no sound and no car, bound to no file.
    void clear();
    void checkHeight();
    std::vector<HeightMismatch> heightMismatches() const;
    // Loads and rewrites every formation file of folder in the current mode and switch. The folder
    // is the run's default folder, which its paths are written for; each load names its file in the
    // caption, which is emptied at the end.
    RewriteResult rewriteFolder(const QString& folder, const RewriteOptions& options = {});

    // The bytes of the file last loaded, and whether they held bytes that are not code page 932.
    const QByteArray& loadedBytes() const { return loadedBytes_; }
    bool loadedInvalidBytes() const { return loadedInvalid_; }

signals:
    // The rows changed: rebuilt, moved, or the empty sound row written as a blank.
    void rowsChanged();
    void captionChanged(const QString& caption);
    // The save mode or the comment switch changed.
    void settingsChanged();

private:
    Ksned& g_;
    Modal& modal_;
    FormationTable lines_;
    QString currentFilePath_;
    QString caption_ = kProductName;
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
