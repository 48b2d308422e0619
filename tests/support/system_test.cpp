// Text wrapping, the help launcher, and the desktop's default applications.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "filesystem.h"
#include "mylib.h"
#include "scripted_modal.h"
#include "scripted_shell.h"
#include "tempdrive.h"
#include "win32api.h"
#include "xdgassoc.h"

namespace ksn {
namespace {

using test::ScriptedModal;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Utilities, FormatTextBreaksAfterTheCharacterThatCrossesSixtyBlanks) {
    const auto width = [](const QString& ch) { return ch == u"w" ? 2.0 : 1.0; };  // a blank is 1 wide
    const QString crlf = q("\r\n"), a60(60, u'a'), lines = QString(50, u'a') + crlf + QString(50, u'a');
    const QString emoji = QString::fromUcs4(U"\U0001F683");  // two code units, never cut in two
    const std::pair<QString, QString> cases[] = {
        {a60, a60},
        {a60 + emoji, a60 + emoji + crlf},
        {QString(70, u'w'), QString(31, u'w') + crlf + QString(31, u'w') + crlf + QString(8, u'w')},
        {lines, lines}};  // a line break of the text's own starts the count again
    for (const auto& [text, wrapped] : cases) EXPECT_EQ(MyLibClass::FormatText(text, width), wrapped) << text.size();
}

// Drive D:, the current directory D:\, and a desktop whose one program opens every file.
class SystemTest : public ::testing::Test {
protected:
    SystemTest() : fs(drive.driveMap(), q("D:\\")), api(fs), lib(fs, drive.host(q("bin/ksned32"))) {
        shell->program = drive.host(q("viewer/browser"));
        drive.write(q("viewer/browser"), "#!/bin/sh\n");
        drive.write(q("help/index.htm"), "<html></html>");
        api.setShell(shell);
    }
    TempDrive drive;
    FileSystem fs;
    Win32ApiClass api;
    MyLibClass lib;
    ScriptedModal modal;
    std::shared_ptr<test::ScriptedShell> shell = std::make_shared<test::ScriptedShell>();
};

TEST_F(SystemTest, FindExecutableTakesWindowsAndHostPaths) {
    const QString browser = shell->program;
    const struct {
        QString file, directory;
        qint32 result;
    } cases[] = {{q("D:\\help\\index.htm"), {}, Win32ApiClass::kFound},
                 {q("index.htm"), q("D:\\help"), Win32ApiClass::kFound},
                 {q("help\\index.htm"), drive.hostRoot(), Win32ApiClass::kFound},
                 {q("D:\\help"), {}, Win32ApiClass::SE_ERR_FNF},
                 {q("Q:\\index.htm"), {}, Win32ApiClass::SE_ERR_FNF},
                 {q("D:\\help\\index.htm"), {}, Win32ApiClass::SE_ERR_NOASSOC}};  // with no program registered
    for (const auto& c : cases) {
        shell->program = c.result == Win32ApiClass::SE_ERR_NOASSOC ? QString() : browser;
        QString buffer(512, u' ');
        EXPECT_EQ(api.FindExecutable(c.file, c.directory, buffer), c.result) << c.file.toStdString();
        const QString found = browser + QChar(u'\0') + QString(511 - browser.size(), u' ');  // the rest is kept
        EXPECT_EQ(buffer, c.result == Win32ApiClass::kFound ? found : QString(512, u' ')) << c.file.toStdString();
    }
}

TEST_F(SystemTest, HelpOpensTheStartPageElseTheCoverPageInTheViewer) {
    const struct {
        QStringList pages;
        QStringList messages;
        const char* opened;  // nullptr: nothing started
    } cases[] = {{{}, {kNoHelpMessage, kNoCoverMessage}, nullptr},
                 {{"bin/help/index0.htm"}, {kNoHelpMessage}, "bin/help/index0.htm"},
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
    shell->program = q("/no/such/browser");  // no viewer on disk: nothing happens, silently
    shell->started.clear();
    lib.HelpShow(modal, api);
    EXPECT_TRUE(shell->started.isEmpty());
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
        write(relative, "[Desktop Entry]\nType=Application\nExec=" + path("bin/viewer").toUtf8() + " %u\nMimeType=" +
                            mime + "\n" + extra);
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

TEST_F(Xdg, EntriesAndTheirPrograms) {
    app("usr/applications/kde4/viewer.desktop", "text/html;");
    EXPECT_EQ(xdg::desktopFile(q("../x.desktop"), dirs), QString());
    EXPECT_EQ(xdg::desktopProgram(xdg::desktopFile(q("kde4-viewer.desktop"), dirs)), path("bin/viewer"));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", path("bin").toLocal8Bit());
    for (const char* exec : {"viewer --x %f", "missing %f"}) {  // a bare name is looked for on PATH
        write("x.desktop", "[Desktop Entry]\nExec=" + QByteArray(exec) + "\n");
        EXPECT_EQ(xdg::desktopProgram(path("x.desktop")), *exec == 'v' ? path("bin/viewer") : QString()) << exec;
    }
    qputenv("PATH", savedPath);
    const std::pair<const char*, QStringList> words[] = {
        {"\"/opt/my app/bin\" --new %u", {"/opt/my app/bin", "--new", "%u"}},
        {"foo\\sbar  \"a\\sb\"", {"foo", "bar", "a b"}},  // \s is a blank, and blanks part words
        {"\"say \\\\\"hi\\\\\"\"", {"say \"hi\""}}};
    for (const auto& [exec, split] : words) EXPECT_EQ(xdg::execWords(q(exec)), split) << exec;
}

}  // namespace
}  // namespace ksn
