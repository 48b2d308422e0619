// Text wrapping, the help launcher, and the desktop's default applications.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QThread>
#include <QUrl>

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

using test::EnvGuard;
using test::ScriptedModal;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Utilities, FormatTextBreaksAfterTheCharacterThatCrossesSixtyBlanks) {
    const auto width = [](const QString& ch) { return ch == u"w" ? 2.0 : 1.0; };  // a blank is 1 wide
    const QString wrapped = QString(31, u'w') + q("\r\n") + QString(31, u'w') + q("\r\n") + QString(8, u'w');
    EXPECT_EQ(MyLibClass::FormatText(QString(70, u'w'), width), wrapped);
}

// Drive D:, the current directory D:\, and a desktop whose one program opens every file.
class SystemTest : public ::testing::Test {
protected:
    SystemTest() : fs(drive.driveMap(), q("D:\\")), api(fs), lib(fs, drive.host(q("bin/ksned32"))) {
        shell->program = drive.host(q("viewer/browser"));
        drive.write(q("viewer/browser"), "#!/bin/sh\n");
        api.setShell(shell);
    }
    TempDrive drive;
    FileSystem fs;
    Win32ApiClass api;
    MyLibClass lib;
    ScriptedModal modal;
    std::shared_ptr<test::ScriptedShell> shell = std::make_shared<test::ScriptedShell>();
};

TEST_F(SystemTest, HelpOpensTheStartPageElseTheCoverPageInTheViewer) {
    const struct {
        QStringList pages, messages;
        const char* opened; /* nullptr: nothing started */
    } cases[] = {
        {{}, {supportmsg::noHelp(), supportmsg::noHelpCover()}, nullptr},
        {{"bin/help/index0.htm"}, {supportmsg::noHelp()}, "bin/help/index0.htm"},
        {{"bin/help/index0.htm", "share/ksned32/help/index.htm", "bin/help/index.htm"}, {}, "bin/help/index.htm"},
        // A start page anywhere beats a cover page.
        {{"bin/help/index0.htm", "share/ksned32/help/index.htm"}, {}, "share/ksned32/help/index.htm"}};
    for (const auto& c : cases) {
        QDir(drive.host(q("bin/help"))).removeRecursively();
        QDir(drive.host(q("share"))).removeRecursively();
        for (const QString& p : c.pages) drive.write(p, "<html></html>");
        modal.clear();
        shell->started.clear();
        lib.HelpShow(modal, api);
        EXPECT_EQ(modal.messageTexts(), c.messages) << c.pages.join(u' ').toStdString();
        const QList<QStringList> started{{shell->program, QDir::cleanPath(drive.host(q(c.opened)))}};
        EXPECT_EQ(shell->started, c.opened ? started : QList<QStringList>{}) << c.pages.join(u' ').toStdString();
    }
    for (const QString& none : {QString(), q("/no/such/browser")}) {  // no viewer: nothing happens, silently
        shell->program = none;
        shell->started.clear();
        lib.HelpShow(modal, api);
        EXPECT_TRUE(shell->started.isEmpty());
    }
    shell->program = drive.host(q("viewer/browser"));
    shell->startWorks = false;
    EXPECT_THROW(lib.HelpShow(modal, api), ProgramStartError);
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
        {"b %u", {"b", url}},
        {"b --new %F", {"b", "--new", page}},
        {"b %U --x=%f", {"b", url, "--x=" + page}},
        {"b", {"b", page}},  // no file code: the file comes last
        {"env FOO=bar /snap/bin/b %u", {"env", "FOO=bar", "/snap/bin/b", url}},
        {"flatpak run --file-forwarding org.b.B @@u %u @@",
         {"flatpak", "run", "--file-forwarding", "org.b.B", "@@u", url, "@@"}},
        // In double quotes \" \` \$ \\ are the characters; "\\\\" in the file is one backslash.
        {R"("/opt/my app/b" "a \"q\" \`x\` \$HOME \\\\ c:\\\\x\\\\y" %f)",
         {"/opt/my app/b", R"(a "q" `x` $HOME \ c:\x\y)", page}},
        {"b 'it is' \"\" %f", {"b", "it is", "", page}},  // single quotes, and an empty argument kept
        // Value escapes come first: \s is a blank, which parts words unless quoted.
        {R"(b a\sb "c\sd" %f)", {"b", "a", "b", "c d", page}},
        {"b %i %c %k %f", {"b", "--icon", "web-icon", "ブラウザ", "/apps/b.desktop", page}},
        {"b 100%% --name=%c%m %d %D %n %N %v %m %z %f", {"b", "100%", "--name=ブラウザ", page}},
        {"", {}},
        {"  ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(xdg::execArguments(q(c.exec), page, entry), c.args) << c.exec;
    EXPECT_EQ(xdg::execArguments(q("b %i %f"), page, {}), QStringList({"b", page}));  // no icon: no --icon
}

TEST_F(Xdg, CommandOfAnEntryFindsItsProgram) {
    const EnvGuard env{"PATH"};
    qputenv("PATH", path("bin").toLocal8Bit());
    write("x.desktop", "[Desktop Entry]\nName=Viewer\nName[ja]=ビューア\nExec=viewer --title %c %f\n");
    write("gone.desktop", "[Desktop Entry]\nExec=/no/such/viewer %f\n");
    write("relative.desktop", "[Desktop Entry]\nExec=bin/viewer %f\n");
    write("none.desktop", "[Desktop Entry]\nName=No Exec\n");
    const QString page = path("help/index.htm");
    // A bare name is looked for on PATH; the name is the user's language's where the entry has it.
    const QString name = QLocale::system().language() == QLocale::Japanese ? q("ビューア") : q("Viewer");
    EXPECT_EQ(xdg::desktopCommand(path("x.desktop"), page), QStringList({path("bin/viewer"), "--title", name, page}));
    for (const char* entry : {"gone.desktop", "relative.desktop", "none.desktop"})
        EXPECT_EQ(xdg::desktopCommand(path(entry), page), QStringList()) << entry;
}

// The real desktop: the default browser's entry starts it through env, as snap and flatpak
// desktops do, and the page reaches it with the wrapper's arguments and environment.
TEST(HelpLaunch, ReachesTheDefaultBrowserThroughAWrapper) {
    // The system's data folders stay: they hold the MIME database. The user's list comes first.
    const EnvGuard env{"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP"};
    TempDrive drive;
    const QString script = drive.host(q("opt/browser.sh")), out = drive.host(q("opt/seen.txt"));
    drive.write(q("opt/browser.sh"), "#!/bin/sh\nprintf '%s\\n' \"$FOO\" \"$@\" > \"" + out.toUtf8() +
                                         ".part\"\nmv \"" + out.toUtf8() + ".part\" \"" + out.toUtf8() + "\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    drive.write(q("data/applications/wrapped.desktop"),
                "[Desktop Entry]\nType=Application\nName=Wrapped\nMimeType=text/html;\nExec=env FOO=bar \"" +
                    script.toUtf8() + "\" --from \"a b\" %u\n");
    drive.write(q("config/mimeapps.list"), "[Default Applications]\ntext/html=wrapped.desktop\n");
    drive.write(q("bin/help/index.htm"), "<html></html>");
    qputenv("XDG_DATA_HOME", drive.host(q("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", drive.host(q("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", drive.host(q("no-system-config")).toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");

    FileSystem fs(drive.driveMap(), q("D:\\"));
    Win32ApiClass api(fs);
    MyLibClass lib(fs, drive.host(q("bin/ksned32")));
    ScriptedModal modal;
    lib.HelpShow(modal, api);
    EXPECT_TRUE(modal.messages.empty());
    QDeadlineTimer deadline(5000);
    while (!QFile::exists(out) && !deadline.hasExpired()) QThread::msleep(20);
    const QString page = QUrl::fromLocalFile(drive.host(q("bin/help/index.htm"))).toString(QUrl::FullyEncoded);
    EXPECT_EQ(QString::fromUtf8(drive.read(q("opt/seen.txt"))), q("bar\n--from\na b\n") + page + u'\n');
}

}  // namespace
}  // namespace ksn
