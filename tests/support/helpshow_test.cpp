// The help launcher: which page opens, in which program, and what the user is told.
#include "mylib.h"

#include "filesystem.h"
#include "scripted_modal.h"
#include "scripted_shell.h"
#include "tempdrive.h"
#include "win32api.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace ksn {
namespace {

using test::ScriptedModal;
using test::ScriptedShell;
using test::TempDrive;

// An installed layout: <prefix>/bin/ksned32 and <prefix>/share/ksned32/help, the drive D: the
// prefix, and a viewer program on disk.
class HelpShowTest : public ::testing::Test {
protected:
    HelpShowTest()
        : fs(drive.driveMap(), QStringLiteral("D:\\")), api(fs), lib(fs, drive.host(QStringLiteral("bin/ksned32"))) {
        drive.write(QStringLiteral("bin/ksned32"), "");
        drive.write(QStringLiteral("viewer/browser"), "#!/bin/sh\n");
        shell = std::make_shared<ScriptedShell>();
        shell->program = drive.host(QStringLiteral("viewer/browser"));
        api.setShell(shell);
    }
    QString page(const QString& relative) const { return drive.host(relative); }

    TempDrive drive;
    FileSystem fs;
    Win32ApiClass api;
    MyLibClass lib;
    ScriptedModal modal;
    std::shared_ptr<ScriptedShell> shell;
};

TEST_F(HelpShowTest, OpensTheStartPageOrTheCoverPage) {
    const struct {
        const char* what;
        QStringList pages;     // files present
        QStringList messages;  // what the user is told, in order
        QString opened;        // the page given to the viewer; empty: nothing started
    } cases[] = {
        {"both pages beside the program", {"bin/help/index.htm", "bin/help/index0.htm"}, {}, "bin/help/index.htm"},
        {"only the cover page", {"bin/help/index0.htm"}, {kNoHelpMessage}, "bin/help/index0.htm"},
        {"neither page", {}, {kNoHelpMessage, kNoCoverMessage}, {}},
        {"installed data folder", {"share/ksned32/help/index.htm"}, {}, "share/ksned32/help/index.htm"},
        {"beside the program first", {"bin/help/index.htm", "share/ksned32/help/index.htm"}, {}, "bin/help/index.htm"},
        {"a start page anywhere beats a cover page", {"bin/help/index0.htm", "share/ksned32/help/index.htm"}, {},
         "share/ksned32/help/index.htm"},
        {"cover page installed", {"share/ksned32/help/index0.htm"}, {kNoHelpMessage}, "share/ksned32/help/index0.htm"},
    };
    for (const auto& c : cases) {
        QDir(drive.host(QStringLiteral("bin/help"))).removeRecursively();
        QDir(drive.host(QStringLiteral("share"))).removeRecursively();
        for (const QString& p : c.pages) drive.write(p, "<html></html>");
        modal.clear();
        shell->started.clear();

        lib.HelpShow(modal, api);

        EXPECT_EQ(modal.messageTexts(), c.messages) << c.what;
        for (const auto& m : modal.messages) {
            EXPECT_EQ(m.icon, MsgIcon::Information) << c.what;
            EXPECT_EQ(m.buttons, MsgButtons::Ok) << c.what;
            EXPECT_EQ(m.title, kAppTitle) << c.what;
        }
        if (c.opened.isEmpty()) {
            EXPECT_TRUE(shell->started.isEmpty()) << c.what;
        } else {
            ASSERT_EQ(shell->started.size(), 1) << c.what;
            EXPECT_EQ(shell->started[0], (QStringList{shell->program, QDir::cleanPath(page(c.opened))})) << c.what;
        }
    }
}

TEST_F(HelpShowTest, NoViewerMeansNothingHappensSilently) {
    drive.write(QStringLiteral("bin/help/index.htm"), "<html></html>");
    const struct {
        const char* what;
        QString program;
    } cases[] = {{"no registered program", {}}, {"a registered program that is not on disk", QStringLiteral("/no/such/browser")}};
    for (const auto& c : cases) {
        shell->program = c.program;
        shell->started.clear();
        modal.clear();
        lib.HelpShow(modal, api);
        EXPECT_TRUE(shell->started.isEmpty()) << c.what;
        EXPECT_TRUE(modal.messages.empty()) << c.what;
    }
}

TEST_F(HelpShowTest, AViewerThatCannotStartIsReportedToTheCaller) {
    drive.write(QStringLiteral("bin/help/index.htm"), "<html></html>");
    shell->startWorks = false;
    try {
        lib.HelpShow(modal, api);
        FAIL() << "no error";
    } catch (const ProgramStartError& e) {
        EXPECT_EQ(e.program, shell->program);
    }
}

}  // namespace
}  // namespace ksn
