// Help and About from the main window's menu, toolbar and F1, and the window's placement kept
// between runs.
#include "frmAbout.h"
#include "frmMain.h"
#include "possition.h"
#include "scripted_modal.h"
#include "tempdrive.h"
#include "widgetlib.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace ksn {
namespace {

using test::ScriptedModal;
using test::TempDrive;

class RecordingShell : public Shell {
public:
    QString registeredProgram(const QString&) const override { return program; }
    bool start(const QString& p, const QStringList& arguments) const override {
        started << (QStringList{p} + arguments);
        return startWorks;
    }
    QString program;
    bool startWorks = true;
    mutable QList<QStringList> started;
};

class HelpAboutTest : public ::testing::Test {
protected:
    HelpAboutTest() {
        // Placements go to a folder of this program's own, emptied for each test.
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings(QSettings::UserScope, possitionApplication(), possitionApplication()).clear();

        drive.write(QStringLiteral("bin/ksned32.ini"), "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n");
        drive.mkdir(QStringLiteral("KSN"));
        drive.write(QStringLiteral("browser"), "#!/bin/sh\n");
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32")));
        state->national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        state->national.setArguments({});
        shell = std::make_shared<RecordingShell>();
        shell->program = drive.host(QStringLiteral("browser"));
        state->api.setShell(shell);
    }
    frmMain& start() {
        window = std::make_unique<frmMain>(*state, modal);
        window->Form_Load(QString());
        window->show();
        return *window;
    }

    TempDrive drive;
    ScriptedModal modal;
    std::unique_ptr<Ksned> state;
    std::shared_ptr<RecordingShell> shell;
    std::unique_ptr<frmMain> window;
};

TEST_F(HelpAboutTest, MenuToolbarAndF1ShowTheHelp) {
    frmMain& w = start();
    const struct {
        const char* what;
        std::function<void()> press;
    } ways[] = {{"menu", [&] { w.menus.at(QStringLiteral("mnuHelpHelp"))->trigger(); }},
                {"toolbar", [&] { w.buttons.at(QStringLiteral("ﾍﾙﾌﾟ"))->trigger(); }},
                {"F1", [&] { QTest::keyClick(&w, Qt::Key_F1); }}};
    // Shortcuts reach the active window only.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (const auto& way : ways) {
        // No pages at all: both messages, nothing started.
        modal.clear();
        shell->started.clear();
        way.press();
        EXPECT_EQ(modal.messageTexts(), (QStringList{kNoHelpMessage, kNoCoverMessage})) << way.what;
        EXPECT_TRUE(shell->started.isEmpty()) << way.what;
    }
    drive.write(QStringLiteral("bin/help/index.htm"), "<html></html>");
    for (const auto& way : ways) {
        modal.clear();
        shell->started.clear();
        way.press();
        EXPECT_TRUE(modal.messages.empty()) << way.what;
        ASSERT_EQ(shell->started.size(), 1) << way.what;
        EXPECT_EQ(shell->started[0], (QStringList{shell->program, drive.host(QStringLiteral("bin/help/index.htm"))})) << way.what;
    }
}

TEST_F(HelpAboutTest, AViewerThatWillNotStartIsReported) {
    frmMain& w = start();
    drive.write(QStringLiteral("bin/help/index.htm"), "<html></html>");
    shell->startWorks = false;
    w.mnuHelpHelp_Click();
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_TRUE(modal.messages[0].text.endsWith(QStringLiteral("File= ") + shell->program));
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::Exclamation);
}

TEST_F(HelpAboutTest, AboutOpensModallyOverTheMainWindow) {
    frmMain& w = start();
    QString caption;
    bool modalOverMain = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        modalOverMain = box->isModal() && box->parentWidget() == &w;
        QTest::mouseClick(box->cmdOk, Qt::LeftButton);
    });
    w.menus.at(QStringLiteral("mnuHelpAbout"))->trigger();
    EXPECT_EQ(caption, QString::fromUtf8("KSNED32 のバージョン情報"));
    EXPECT_TRUE(modalOverMain);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(w.menus.at(QStringLiteral("mnuHelpAbout"))->text(), QString::fromUtf8("KSNED32 について(&A)..."));
}

TEST_F(HelpAboutTest, MainWindowReopensWhereItWasLeft) {
    frmMain& w = start();
    w.move(50, 40);  // on the screen, so that no clamp moves it back
    const QRect left = w.frameGeometry();
    w.close();
    QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
    EXPECT_EQ(s.value(QStringLiteral("frmMainPossition/Left")).toString(), possitionText(float(left.left() * twipsPerPixel(w))));
    window.reset();

    frmMain& again = start();
    EXPECT_EQ(again.frameGeometry(), left);
}

}  // namespace
}  // namespace ksn
