// The about box as the user meets it: its texts in either language measured in its own font, its
// place over the main window, the enquiry form, the double clicks and the keys.
#include "aboutbox.h"
#include "frmAbout.h"
#include "scripted_modal.h"
#include "tempdrive.h"
#include "version.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

class AboutTest : public ::testing::Test {
protected:
    AboutTest() {
        main.setGeometry(300, 200, 600, 450);
        main.show();
    }
    frmAbout& open(const QStringList& arguments = {}) {
        box.reset();  // the language is chosen once per program: a fresh state for each box
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), "D:\\"));
        state->national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        state->national.setArguments(arguments);
        box = std::make_unique<frmAbout>(*state, modal, &main);
        box->show();
        return *box;
    }

    test::TempDrive drive;
    std::unique_ptr<Ksned> state;
    test::ScriptedModal modal;
    QWidget main;
    std::unique_ptr<frmAbout> box;
};

TEST_F(AboutTest, EachLanguageFitsItsTextsIntoTheBox) {
    const std::pair<QStringList, QString> cases[] = {{{}, "KSNED32 のバージョン情報 問い合わせフォーム"},
                                                     {{"/e"}, "KSNED32 Information &Question form"}};
    for (const auto& [arguments, texts] : cases) {
        frmAbout& b = open(arguments);
        EXPECT_EQ(b.windowTitle() + ' ' + b.cmdQuestionForm->text(), texts);
        // Nothing is cut: each label holds its text in its own font, the credits need no scrolling.
        for (QLabel* l : {b.lblFullTitle, b.lblProductName, b.lblVersion}) {
            const QFontMetrics fm(l->font());
            EXPECT_GE(l->width() + 1, fm.horizontalAdvance(l->text())) << l->objectName().toStdString();
            EXPECT_GE(l->height(), fm.height() * 9 / 10) << l->objectName().toStdString();
        }
        EXPECT_EQ(b.txtCredit->verticalScrollBar()->maximum() + b.txtCredit->horizontalScrollBar()->maximum(), 0);
    }
}

TEST_F(AboutTest, CentresOverTheMainWindowWithinTheScreen) {
    EXPECT_LE((open().frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 2);
    const QRect screen = main.screen()->geometry();
    main.move(screen.right() - 100, screen.bottom() - 100);
    EXPECT_EQ(open().frameGeometry().bottomRight(), screen.bottomRight());
}

TEST_F(AboutTest, EnquiryFormGoesToTheClipboardOnlyAfterYes) {
    frmAbout& b = open();
    QApplication::clipboard()->setText("before");
    modal.answers = {MsgAnswer::No, MsgAnswer::Yes};
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("SUB:KSNED32 問い合わせ\r\nTO:" + b.EMailAddress + "\r\n"));
    EXPECT_EQ(modal.messageTexts(), QStringList(2, "KSNED32の問い合わせフォームをクリップボードにコピーします。"));
}

TEST_F(AboutTest, DoubleClicksTellTheirMessagesAndTypingIntoTheCreditsChangesNothing) {
    frmAbout& b = open();
    const QString T0 = state->national.GetNationalString(0), T1 = state->national.GetNationalString(1);
    for (QWidget* w : std::initializer_list<QWidget*>{b.lblProductName, b.lblFullTitle, b.txtCredit->viewport(), b.lblVersion})
        QTest::mouseDClick(w, Qt::LeftButton);
    EXPECT_EQ(modal.messageTexts(), (QStringList{T0, T0, T1, revisionText(version::kRevision)}));
    EXPECT_EQ(modal.messages.back().icon, MsgIcon::Information);

    const QString before = b.txtCredit->toPlainText();
    QApplication::clipboard()->setText("pasted");
    QTest::keyClicks(b.txtCredit, "abc");
    for (int key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape}) QTest::keyClick(b.txtCredit, Qt::Key(key));
    QTest::keyClick(b.txtCredit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(b.txtCredit->toPlainText(), before);
    EXPECT_TRUE(b.isVisible());  // neither Enter nor Escape reached the box
    QTest::mouseClick(b.cmdOk, Qt::LeftButton);
    EXPECT_EQ(b.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace ksn
