// A modal seam for tests: records every message, input box and dialog, and answers from queues.
#pragma once

#include "common.h"

#include "support/ui/modal.h"

#include <deque>

namespace ksn::test {

struct RecordedMessage {
    QString text;
    QString title;  // as shown: the application title when the caller gave none
    MsgButtons buttons;
    MsgIcon icon;
};

class ScriptedModal : public Modal {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
    QString input(const QString& prompt, const QString& title, const QString& initial) override;
    FileChoice fileDialog(const FileDialogRequest& request) override;
    QString browseFolder(const QString& title, const QString& initialFolder) override;
    void processEvents() override;

    // Queued answers; when a queue is empty: Yes/Ok, the empty text, Cancel, the empty text.
    std::deque<MsgAnswer> answers;
    std::deque<QString> inputs;
    std::deque<FileChoice> files;
    std::deque<QString> folders;
    // Run at each processEvents call (a Stop press between two files, say).
    std::function<void(int call)> onProcessEvents;

    // What was shown.
    std::vector<RecordedMessage> messages;
    QStringList prompts;  // input-box prompts
    std::vector<FileDialogRequest> fileRequests;
    int processEventsCalls = 0;

    QStringList messageTexts() const;
    void clear();
};

}  // namespace ksn::test
