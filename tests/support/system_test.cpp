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
    const struct { QStringList pages, messages; const char* opened; /* nullptr: nothing started */ } cases[] = {
        {{}, {kNoHelpMessage, kNoCoverMessage}, nullptr},
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

TEST_F(Xdg, ProgramOfAnEntry) {
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", path("bin").toLocal8Bit());
    write("x.desktop", "[Desktop Entry]\nExec=viewer --x %f\n");  // a bare name is looked for on PATH
    EXPECT_EQ(xdg::desktopProgram(path("x.desktop")), path("bin/viewer"));
    qputenv("PATH", savedPath);
    // \s is a blank, and blanks part words; quotes keep them.
    EXPECT_EQ(xdg::execWords(q("\"/opt/my app/bin\" a\\sb %u")), QStringList({"/opt/my app/bin", "a", "b", "%u"}));
}

}  // namespace
}  // namespace ksn
