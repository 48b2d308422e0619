// The one seam for everything modal: message boxes, input boxes, file and folder dialogs, and
// letting pending events run. The editor implements it with Qt dialogs, the command line prints to
// stderr, and tests script the answers, so every rule below the windows runs the same everywhere.
#pragma once

#include <QString>

#include <optional>

namespace ksn {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Yes, No };

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString fileName;       // initial file name, a Windows path (may be empty)
    QString initialFolder;  // used when fileName is empty, a Windows path
    QString defaultExt;     // e.g. "KSN"
    QString filter;         // "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|"
    int filterIndex = 1;
};

// What a file dialog gave: a file (a Windows path), Cancel, or a failure that the dialog has
// already reported (a file chosen under no drive of the drive map, say). Commands follow Cancel
// with a question of their own; after a failure they ask nothing.
class FileChoice {
public:
    enum class Outcome { Chosen, Cancelled, Failed };

    FileChoice(std::nullopt_t = std::nullopt) {}
    FileChoice(QString path) : outcome_(Outcome::Chosen), path_(std::move(path)) {}
    FileChoice(const std::optional<QString>& path) {
        if (path) *this = FileChoice(*path);
    }
    static FileChoice failure() {
        FileChoice f;
        f.outcome_ = Outcome::Failed;
        return f;
    }

    Outcome outcome() const { return outcome_; }
    bool failed() const { return outcome_ == Outcome::Failed; }
    explicit operator bool() const { return outcome_ == Outcome::Chosen; }
    const QString& operator*() const { return path_; }
    QString value_or(const QString& other) const { return *this ? path_ : other; }

private:
    Outcome outcome_ = Outcome::Cancelled;
    QString path_;
};

class Modal {
public:
    virtual ~Modal() = default;

    // title empty: the application title.
    virtual MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) = 0;
    // OK gives the field's text; Cancel gives the empty text.
    virtual QString input(const QString& prompt, const QString& title, const QString& initial) = 0;
    virtual FileChoice fileDialog(const FileDialogRequest& request) = 0;
    // The chosen folder as a Windows path in lower case; empty on Cancel.
    virtual QString browseFolder(const QString& title, const QString& initialFolder) = 0;
    // Lets pending user-interface events run (the batch rewrite's Stop button).
    virtual void processEvents() = 0;
};

}  // namespace ksn
