#include "cli/streammodal.h"

#include "cli/messages.h"

#include <QByteArray>

namespace ksn {

namespace {
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) {
    gInterrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

void writeText(std::FILE* f, const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray b = t.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), f);
}
}  // namespace

void StreamModal::installInterruptHandler() { std::signal(SIGINT, onInterrupt); }
bool StreamModal::interrupted() { return gInterrupted != 0; }

MsgAnswer StreamModal::message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon) {
    writeText(err_, climsg::messageHeading(title));
    writeText(err_, text);
    if (!text.endsWith(u'\n')) writeText(err_, QStringLiteral("\n"));
    std::fflush(err_);
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString StreamModal::input(const QString&, const QString&, const QString&) { return {}; }
FileChoice StreamModal::fileDialog(const FileDialogRequest&) { return std::nullopt; }
QString StreamModal::browseFolder(const QString&, const QString&) { return {}; }

void StreamModal::processEvents() {
    if (interrupted()) stop_ = true;
}

}  // namespace ksn
