// MyLibClass::HelpShow: the user manual in the program the desktop registers for HTML pages.
#include "support/messages.h"
#include "support/mylib.h"
#include "support/system/osservices.h"
#include "support/ui/modal.h"

#include <QDir>
#include <QFileInfo>

namespace ksn {

QStringList MyLibClass::helpFolders() const {
    const QString programFolder = QFileInfo(programPath_).absolutePath();
    return {QDir(programFolder).filePath(QStringLiteral("help")),
            QDir::cleanPath(programFolder + QStringLiteral("/../share/ksned32/help"))};
}

void MyLibClass::HelpShow(Modal& modal, const Win32ApiClass& api) const {
    const QStringList folders = helpFolders();
    auto find = [&](const QString& name) -> QString {
        for (const QString& folder : folders) {
            const QString page = QDir(folder).filePath(name);
            if (QFileInfo(page).isFile()) return page;
        }
        return {};
    };
    QString page = find(QStringLiteral("index.htm"));
    if (page.isEmpty()) {
        modal.message(supportmsg::noHelp(), QString(), MsgButtons::Ok, MsgIcon::Information);
        page = find(QStringLiteral("index0.htm"));
        if (page.isEmpty()) {
            modal.message(supportmsg::noHelpCover(), QString(), MsgButtons::Ok, MsgIcon::Information);
            return;
        }
    }
    QString buffer(512, u' ');
    const QString programFolder = QFileInfo(programPath_).absolutePath();
    if (api.FindExecutable(page, programFolder, buffer) < 32) return;
    const QString program = buffer.left(buffer.indexOf(QChar(u'\0')));
    if (program.isEmpty() || !QFileInfo(program).isFile()) return;
    // The program is started as the desktop starts it: through a wrapper (env, flatpak) with the
    // arguments its registration gives, or, when that changed meanwhile, with the page alone.
    QStringList command = api.shell().openCommand(page);
    if (command.value(0) != program) command = QStringList{program, page};
    if (!api.shell().start(program, command.mid(1))) throw ProgramStartError(program);
}

}  // namespace ksn
