#include "scripted_modal.h"
#include "support/product/version.h"

namespace ksn::test {

namespace {
// The next queued answer, or the given one when the queue is empty.
template <class T>
T take(std::deque<T>& queue, T otherwise = T()) {
    if (queue.empty()) return otherwise;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}
}  // namespace

MsgAnswer ScriptedModal::message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) {
    messages.push_back({text, title.isEmpty() ? kAppTitle : title, buttons, icon});
    return take(answers, buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok);
}

QString ScriptedModal::input(const QString& prompt, const QString&, const QString&) {
    prompts << prompt;
    return take(inputs);
}

FileChoice ScriptedModal::fileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    return take(files);
}

QString ScriptedModal::browseFolder(const QString&, const QString&) { return take(folders); }

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
