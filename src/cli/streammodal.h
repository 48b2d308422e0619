// The modal seam of the command line: messages go to stderr one after another (the first hundred,
// control characters shown as "?"), questions get their affirmative answer (a script has nobody to
// ask), dialogs are cancelled, and processing events turns a pending Ctrl+C into the batch
// rewrite's Stop.
#pragma once

#include "support/ui/modal.h"

#include <csignal>
#include <cstdio>

namespace ksn {

class StreamModal : public Modal {
public:
    // stop: set when an interrupt arrives, the flag the batch rewrite tests.
    StreamModal(std::FILE* err, bool& stop) : err_(err), stop_(stop) {}

    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
    QString input(const QString& prompt, const QString& title, const QString& initial) override;
    FileChoice fileDialog(const FileDialogRequest& request) override;
    QString browseFolder(const QString& title, const QString& initialFolder) override;
    void processEvents() override;

    // Installs the Ctrl+C handler: the first press requests a stop, a second one ends the program.
    static void installInterruptHandler();
    static bool interrupted();

    // Messages shown at most; the rest are counted and left out.
    static constexpr int kMaxMessages = 100;

private:
    std::FILE* err_;
    bool& stop_;
    int shown_ = 0;
};

}  // namespace ksn
