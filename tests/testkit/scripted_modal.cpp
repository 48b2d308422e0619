#include "scripted_modal.h"
#include "support/product/version.h"

namespace ksn::test {

MsgAnswer ScriptedModal::message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) {
    messages.push_back({text, title.isEmpty() ? kAppTitle : title, buttons, icon});
    if (onMessage) onMessage(messages.back());
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString ScriptedModal::input(const QString& prompt, const QString&, const QString&) {
    prompts << prompt;
    if (inputs.empty()) return {};
    QString s = inputs.front();
    inputs.pop_front();
    return s;
}

FileChoice ScriptedModal::fileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedModal::browseFolder(const QString&, const QString&) {
    if (folders.empty()) return {};
    QString f = folders.front();
    folders.pop_front();
    return f;
}

void ScriptedModal::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents(processEventsCalls);
}

QStringList ScriptedModal::messageTexts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

void ScriptedModal::clear() {
    messages.clear();
    prompts.clear();
    fileRequests.clear();
    processEventsCalls = 0;
}

}  // namespace ksn::test
