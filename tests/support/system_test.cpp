// The language the windows speak, the help launcher, and the desktop's default applications.

#include <QLocale>

#include "support/locale/national.h"
#include "support/messages.h"
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/system/desktopentry.h"
#include "support/system/osservices.h"
#include "testkit/envguard.h"
#include "testkit/scripted_modal.h"
#include "testkit/scripted_shell.h"
#include "testkit/tempdrive.h"

namespace ksn {
namespace {

using namespace test;

TEST(National, JapaneseOnlyOnAJapaneseSystemWithoutTheSwitch) {
    // Other switches, and no "/e"; the editor's and the about box's tests give the rest.
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::Japanese, QLocale::Japan), q("/f -e \\e")), National::kJapanese);
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::English, QLocale::UnitedStates), q("")), National::kEnglish);
}

class Xdg : public ::testing::Test {
protected:
    Xdg() {
        dirs = {path("config"), {path("etc")}, path("home"), {path("usr"), path("usr2")}, {}};
        write("bin/viewer", "#!/bin/sh\n");
        QFile::setPermissions(path("bin/viewer"), QFile::ReadOwner | QFile::ExeOwner);
    }
    QString path(const char* relative) const { return drive.host(q(relative)); }
    void write(const char* relative, const QByteArray& text) const { drive.write(q(relative), text); }
    void app(const char* relative, const QByteArray& mime, const QByteArray& extra = {}) const {
        write(relative, "[Desktop Entry]\nType=Application\nExec=" + path("bin/viewer").toUtf8() +
                            " %u\nMimeType=" + mime + "\n" + extra);
    }
    QString html() const { return xdg::defaultApplication(q("text/html"), dirs); }

    TempDrive drive;
    xdg::Dirs dirs;
};

TEST_F(Xdg, HelpOpensTheStartPageElseTheCoverPageInTheViewer) {
    const FileSystem fs(drive.driveMap(), q("D:\\"));
    Win32ApiClass api(fs);
    const auto shell = std::make_shared<ScriptedShell>();
    shell->program = path("bin/viewer");
    api.setShell(shell);
    const MyLibClass lib(fs, path("bin/ksned32"));
    ScriptedModal modal;
    // The pages there, the messages shown, the page opened (nullptr: nothing started).
    const std::tuple<QStringList, QStringList, const char*> cases[] = {
        {{}, {supportmsg::noHelp(), supportmsg::noHelpCover()}, nullptr},
        {{"bin/help/index0.htm"}, {supportmsg::noHelp()}, "bin/help/index0.htm"},
        // A start page anywhere beats a cover page.
        {{"bin/help/index0.htm", "share/ksned32/help/index.htm"}, {}, "share/ksned32/help/index.htm"}};
    const auto show = [&] {
        modal.clear();
        shell->started.clear();
        lib.HelpShow(modal, api);
    };
    for (const auto& [pages, messages, opened] : cases) {
        for (const char* folder : {"bin/help", "share"}) QDir(drive.host(q(folder))).removeRecursively();
        for (const QString& p : pages) drive.write(p, "<html></html>");
        show();
        const QList<QStringList> started{{shell->program, QDir::cleanPath(drive.host(q(opened)))}};
        EXPECT_EQ(std::pair(modal.messageTexts(), shell->started),
                  std::pair(messages, opened ? started : QList<QStringList>{}));
    }
    shell->startWorks = false;
    EXPECT_THROW(lib.HelpShow(modal, api), ProgramStartError);
    shell->program = q("/no/such/browser");  // no viewer: nothing happens, silently
    show();
    EXPECT_TRUE(shell->started.isEmpty() && modal.messages.empty());
}

TEST_F(Xdg, DefaultsInListOrderThenAddedThenAnyTakerNotRemoved) {
    app("usr/applications/viewer.desktop", "text/plain;");
    app("usr/applications/other.desktop", "text/html;");
    app("usr2/applications/c.desktop", "text/html;");
    app("usr/applications/gone.desktop", "text/html;", "Hidden=true\n");
    write("etc/mimeapps.list", "[Default Applications]\ntext/html=viewer.desktop\n");
    // The user's own list comes first; an id that is not installed, or hidden, is passed over.
    write("config/mimeapps.list", "[Default Applications]\ntext/html=missing.desktop;gone.desktop;other.desktop;\n");
    EXPECT_EQ(html(), path("usr/applications/other.desktop"));
    QFile::remove(path("etc/mimeapps.list"));
    write("config/mimeapps.list", "[Added Associations]\ntext/html=c.desktop;\n");
    EXPECT_EQ(html(), path("usr2/applications/c.desktop"));
    write("config/mimeapps.list", "[Removed Associations]\ntext/html=other.desktop;\n");
    EXPECT_EQ(html(), path("usr2/applications/c.desktop"));
}

TEST(XdgExec, TheLineBecomesTheArgumentsALauncherGives) {
    const QString page = q("/h/my page.htm"), url = q("file:///h/my%20page.htm");
    const xdg::ExecEntry entry{q("web-icon"), q("ブラウザ"), q("/apps/b.desktop")};
    const struct {
        const char* exec;
        QStringList args;
    } cases[] = {
        {"b %F --x=%U", {"b", page, "--x=" + url}},
        {"b", {"b", page}},  // no file code: the file comes last
        // In double quotes \" \` \$ \\ are the characters; "\\\\" in the file is one backslash.
        {R"("/opt/my app/b" "a \"q\" \`x\` \$HOME \\\\ c:\\\\x\\\\y" %f)",
         {"/opt/my app/b", R"(a "q" `x` $HOME \ c:\x\y)", page}},
        // Value escapes come first: \s is a blank, which parts words unless quoted.
        {R"(b a\sb "c\sd" %f)", {"b", "a", "b", "c d", page}},
        {"b %i %c %k %f", {"b", "--icon", "web-icon", "ブラウザ", "/apps/b.desktop", page}},
        {"b 100%% --name=%c%m %d %D %n %N %v %m %z %f", {"b", "100%", "--name=ブラウザ", page}},
        {"  ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(xdg::execArguments(q(c.exec), page, entry), c.args) << c.exec;
}

TEST_F(Xdg, CommandOfAnEntryFindsItsProgram) {
    const EnvGuard env{"PATH"};
    qputenv("PATH", path("bin").toLocal8Bit());
    write("x.desktop", "[Desktop Entry]\nExec=viewer --new %f\n");  // a bare name is looked for on PATH
    const QString page = path("help/index.htm");
    EXPECT_EQ(xdg::desktopCommand(path("x.desktop"), page), QStringList({path("bin/viewer"), "--new", page}));
    write("y.desktop", "[Desktop Entry]\nExec=/no/such/viewer %f\n");
    EXPECT_EQ(xdg::desktopCommand(path("y.desktop"), page), QStringList());
}

}  // namespace
}  // namespace ksn
