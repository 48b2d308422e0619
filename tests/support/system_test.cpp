// The language the windows speak, the help launcher, and the desktop's default applications.

#include <QLocale>
#include <QSettings>

#include "support/locale/national.h"
#include "support/messages.h"
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/settings/placement.h"
#include "support/system/desktopentry.h"
#include "support/system/osservices.h"
#include "testkit/envguard.h"
#include "testkit/scripted_modal.h"
#include "testkit/scripted_shell.h"
#include "testkit/tempdrive.h"

namespace ksn {
namespace {

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
    write("t.desktop", "[Desktop Entry]\nExec=viewer %f\nTerminal=true\n");  // no terminal to run it in
    EXPECT_EQ(xdg::desktopCommand(path("t.desktop"), page), QStringList());
    QFile::copy(path("bin/viewer"), path("bin/x-terminal-emulator"));
    EXPECT_EQ(xdg::desktopCommand(path("t.desktop"), page),
              QStringList({path("bin/x-terminal-emulator"), "-e", path("bin/viewer"), page}));
}

// A window in twips on a 19200 x 11520 screen that may refuse to be narrower than a width of its own.
struct FakeWindow : PlacedWindow {
    FakeWindow(QString name, std::vector<double> geometry = {777, 888, 6000, 4500})
        : title(std::move(name)), g(std::move(geometry)) {}
    QString name() const override { return title; }
    double top() const override { return g[0]; }
    double left() const override { return g[1]; }
    double width() const override { return g[2]; }
    double height() const override { return g[3]; }
    void setTop(double v) override { g[0] = v; }
    void setLeft(double v) override { g[1] = v; }
    void setWidth(double v) override { g[2] = std::max(v, ownMinWidth); }
    void setHeight(double v) override { g[3] = v; }
    double screenWidth() const override { return 19200; }
    double screenHeight() const override { return 11520; }
    QString title;
    std::vector<double> g;
    double ownMinWidth = 0;
};

TEST(Possition, SavedAndRestoredRoundedAndOnTheScreen) {
    QTemporaryDir dir;  // the settings store redirected; nothing else in this program reads it
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    const struct {
        std::vector<double> saved;  // empty: never saved
        double minWidth, minHeight, ownMinWidth;
        std::vector<double> restored;
    } cases[] = {{{1200, 2400.5, 9000, 6405}, 0, 0, 0, {1200, 2400, 9000, 6405}},  // halves round to even
                 {{-300, 120.5, 2000, 100}, 3000, 2000.4, 0, {0, 120, 3000, 2000}},
                 {{9000, 15000, 6000, 12000}, 0, 0, 0, {-480, 13200, 6000, 12000}},  // taller than the screen
                 {{}, 7000, 0, 0, {0, 0, 7000, 4500}},
                 // The right edge is kept with the width the window took, not the width it was told.
                 {{0, 15000, 1000, 4500}, 0, 0, 6000, {0, 13200, 6000, 4500}}};
    for (size_t n = 0; n < std::size(cases); ++n) {
        const auto& c = cases[n];
        const QString name = u"frm"_s + QString::number(n);  // each window keeps values of its own
        if (!c.saved.empty()) SavePossition(FakeWindow(name, c.saved));
        FakeWindow w(name);
        w.ownMinWidth = c.ownMinWidth;
        RestorePossition(w, c.minWidth, c.minHeight);
        EXPECT_EQ(w.g, c.restored) << n;
    }
}

}  // namespace
}  // namespace ksn
