#include "cli/streammodal.h"

#include "cli/messages.h"
#include "cli/textout.h"

#include <QByteArray>

namespace ksn {

namespace {
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) {
    gInterrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void StreamModal::installInterruptHandler() { std::signal(SIGINT, onInterrupt); }
bool StreamModal::interrupted() { return gInterrupted != 0; }

MsgAnswer StreamModal::message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon) {
    const MsgAnswer answer = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    // A file of a million empty car lines has a message for each: the first ones say it all.
    if (++shown_ > kMaxMessages) {
        if (shown_ == kMaxMessages + 1) writeMessage(err_, climsg::errorLine(climsg::messagesLeftOut(kMaxMessages)));
        return answer;
    }
    QString t = climsg::messageHeading(title) + text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    writeMessage(err_, t.endsWith(u'\n') ? t : t + u'\n');
    std::fflush(err_);
    return answer;
}

QString StreamModal::input(const QString&, const QString&, const QString&) { return {}; }
FileChoice StreamModal::fileDialog(const FileDialogRequest&) { return std::nullopt; }
QString StreamModal::browseFolder(const QString&, const QString&) { return {}; }

void StreamModal::processEvents() {
    if (interrupted()) stop_ = true;
}

}  // namespace ksn
