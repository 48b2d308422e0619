// The language the windows speak, the help launcher, and the desktop's default applications.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QThread>
#include <QUrl>

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

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(National, JapaneseOnlyOnAJapaneseSystemWithoutTheSwitch) {
    // Other switches, and no "/e"; the editor's and the about box's tests give the rest.
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::Japanese, QLocale::Japan), q("/f -e \\e")), National::kJapanese);
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::English, QLocale::UnitedStates), q("")), National::kEnglish);
}

// A desktop laid out in a temporary folder.
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

// A desktop whose one program opens every file.
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
                  std::pair(messages, opened ? started : QList<QStringList>{}))
            << pages.join(u' ').toStdString();
    }
    shell->startWorks = false;
    EXPECT_THROW(lib.HelpShow(modal, api), ProgramStartError);
    for (const QString& none : {QString(), q("/no/such/browser")}) {  // no viewer: nothing happens, silently
        shell->program = none;
        show();
        EXPECT_TRUE(shell->started.isEmpty() && modal.messages.empty());
    }
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
    // A desktop's own list comes before the general one of the same folder.
    write("config/kde-mimeapps.list", "[Default Applications]\ntext/html=viewer.desktop\n");
    dirs.desktops = {q("kde")};
    EXPECT_EQ(html(), path("usr/applications/viewer.desktop"));

    dirs.desktops.clear();
    QFile::remove(path("etc/mimeapps.list"));
    write("config/mimeapps.list", "[Added Associations]\ntext/html=c.desktop;\n");
    EXPECT_EQ(html(), path("usr2/applications/c.desktop"));
    write("config/mimeapps.list", "[Removed Associations]\ntext/html=other.desktop;\n");
    EXPECT_EQ(html(), path("usr2/applications/c.desktop"));
    app("home/applications/c.desktop", "image/png;");  // an earlier folder's entry hides one of the same id
    EXPECT_EQ(html(), QString());
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
        {"flatpak run org.b.B @@u %u @@", {"flatpak", "run", "org.b.B", "@@u", url, "@@"}},
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
    EXPECT_EQ(xdg::execArguments(q("b %i %f"), page, {}), QStringList({"b", page}));  // no icon: no --icon
}

TEST_F(Xdg, CommandOfAnEntryFindsItsProgram) {
    const EnvGuard env{"PATH"};
    qputenv("PATH", path("bin").toLocal8Bit());
    write("x.desktop", "[Desktop Entry]\nExec=viewer --new %f\n");  // a bare name is looked for on PATH
    const QString page = path("help/index.htm");
    EXPECT_EQ(xdg::desktopCommand(path("x.desktop"), page), QStringList({path("bin/viewer"), "--new", page}));
    for (const char* exec : {"/no/such/viewer %f", "bin/viewer %f", ""}) {  // missing, relative, none
        write("y.desktop", "[Desktop Entry]\nExec=" + QByteArray(exec) + "\n");
        EXPECT_EQ(xdg::desktopCommand(path("y.desktop"), page), QStringList()) << exec;
    }
}

// The real desktop: the default browser's entry starts it through env, as snap and flatpak
// desktops do, and the page reaches it with the wrapper's environment.
TEST_F(Xdg, HelpReachesTheDefaultBrowserThroughAWrapper) {
    // The system's data folders stay: they hold the MIME database. The user's list comes first.
    const EnvGuard env{"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP"};
    write("bin/browser", "#!/bin/sh\nprintf '%s\\n' \"$FOO\" \"$@\" >\"$0.part\" && mv \"$0.part\" \"$0.seen\"\n");
    QFile::setPermissions(path("bin/browser"), QFile::ReadOwner | QFile::ExeOwner);
    write("home/applications/wrapped.desktop",
          "[Desktop Entry]\nExec=env FOO=bar \"" + path("bin/browser").toUtf8() + "\" %u\n");
    write("config/mimeapps.list", "[Default Applications]\ntext/html=wrapped.desktop\n");
    write("prog/help/index.htm", "<html></html>");
    for (const auto& [var, dir] :
         {std::pair{"XDG_DATA_HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_CONFIG_DIRS", "etc"}})
        qputenv(var, path(dir).toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
    const FileSystem fs(drive.driveMap(), q("D:\\"));
    ScriptedModal modal;
    MyLibClass(fs, path("prog/ksned32")).HelpShow(modal, Win32ApiClass(fs));
    EXPECT_TRUE(modal.messages.empty());
    for (QDeadlineTimer deadline(5000); !QFile::exists(path("bin/browser.seen")) && !deadline.hasExpired();)
        QThread::msleep(20);
    const QString page = QUrl::fromLocalFile(path("prog/help/index.htm")).toString(QUrl::FullyEncoded);
    EXPECT_EQ(QString::fromUtf8(drive.read(q("bin/browser.seen"))), q("bar\n") + page + u'\n');
}

}  // namespace
}  // namespace ksn
