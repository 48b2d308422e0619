// The about box as the user meets it: texts in both languages, the layout measured in its own
// font, its place over the main window, the enquiry form, the double clicks and the keys.
#include "aboutbox.h"
#include "frmAbout.h"
#include "scripted_modal.h"
#include "tempdrive.h"
#include "version.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <memory>

namespace ksn {
namespace {

using test::ScriptedModal;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

class AboutTest : public ::testing::Test {
protected:
    AboutTest() : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32"))) {
        state.national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        state.national.setArguments({});
        main.setObjectName(QStringLiteral("frmMain"));
        main.setWindowIcon(QIcon(QStringLiteral(":/icons/ksned32.png")));
        main.setGeometry(300, 200, 600, 450);
        main.show();
    }
    frmAbout& open() {
        box = std::make_unique<frmAbout>(state, modal, &main);
        box->show();
        return *box;
    }
    QString T(int r) { return state.national.GetNationalString(r); }

    TempDrive drive;
    Ksned state;
    ScriptedModal modal;
    QMainWindow main;
    std::unique_ptr<frmAbout> box;
};

TEST_F(AboutTest, ShowsTheProgramInJapanese) {
    frmAbout& b = open();
    EXPECT_EQ(b.windowTitle(), q("KSNED32 のバージョン情報"));
    EXPECT_EQ(b.lblFullTitle->text(), q("KSN File Editer 32"));
    EXPECT_EQ(b.lblProductName->text(), q("KSNED32"));
    EXPECT_EQ(b.lblProductName->font().pointSize(), 36);
    EXPECT_EQ(b.lblVersion->text(), QStringLiteral("Ver %1.%2").arg(version::kMajor).arg(version::kMinor));
    EXPECT_EQ(b.cmdQuestionForm->text(), q("問い合わせフォーム"));
    EXPECT_EQ(b.cmdOk->text(), q("&Ok"));
    EXPECT_EQ(b.font().family(), q("ＭＳ Ｐゴシック"));
    EXPECT_EQ(b.font().pointSize(), 9);
    EXPECT_EQ(b.txtCredit->toPlainText().split(u'\n'),
              (QStringList{version::kCompanyName, version::kLegalCopyright, *National::LoadResString(0), *National::LoadResString(3)}));
    EXPECT_EQ(b.EMailAddress, *National::LoadResString(0));
    EXPECT_FALSE(b.picIcon->pixmap().isNull());
}

TEST_F(AboutTest, LayoutFollowsTheRulesInBothLanguages) {
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("/e")}}) {
        Ksned fresh(FileSystem(drive.driveMap(), QStringLiteral("D:\\")));
        fresh.national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        fresh.national.setArguments(args);
        frmAbout b(fresh, modal, &main);
        b.show();
        const int m = 10;
        const QRect icon = b.picIcon->geometry(), title = b.lblFullTitle->geometry(), product = b.lblProductName->geometry(),
                    version = b.lblVersion->geometry(), credit = b.txtCredit->geometry(),
                    question = b.cmdQuestionForm->geometry(), ok = b.cmdOk->geometry();
        const QString what = args.join(u' ');
        EXPECT_EQ(b.windowTitle(), args.isEmpty() ? q("KSNED32 のバージョン情報") : q("KSNED32 Information"));
        EXPECT_EQ(b.cmdQuestionForm->text(), args.isEmpty() ? q("問い合わせフォーム") : q("&Question form"));
        EXPECT_EQ(b.font().pointSize(), args.isEmpty() ? 9 : 8);
        EXPECT_EQ(icon.topLeft(), QPoint(m, m)) << what.toStdString();
        EXPECT_EQ(title.left(), icon.left() + icon.width() + 2 * m);
        EXPECT_EQ(title.top(), 10);
        EXPECT_EQ(product.left(), title.left());
        EXPECT_EQ(product.top(), title.top() + title.height() + 10);
        EXPECT_EQ(version.left(), product.left() + product.width() + m);
        EXPECT_EQ(version.top() + version.height(), product.top() + product.height());
        EXPECT_EQ(credit.top(), product.top() + product.height() + 20);
        EXPECT_EQ(question.top(), credit.top() + credit.height() + 10);
        EXPECT_EQ(ok.top(), question.top());
        EXPECT_EQ(ok.left(), question.left() + question.width() + 2 * m);
        const int w = std::max({version.left() + version.width() + m, credit.width() + 2 * m, question.width() + ok.width() + 3 * m});
        EXPECT_EQ(b.width(), w);
        EXPECT_EQ(b.height(), question.top() + question.height() + 2 * m);
        EXPECT_EQ(credit.left(), (w - credit.width()) / 2);
        EXPECT_EQ(question.left(), (w - question.width() - ok.width() - 2 * m) / 2);

        // Nothing is cut: each label holds its text in its own font, the credits need no scrolling.
        for (QLabel* l : {b.lblFullTitle, b.lblProductName, b.lblVersion}) {
            const QFontMetrics fm(l->font());
            EXPECT_GE(l->width() + 1, fm.horizontalAdvance(l->text())) << l->objectName().toStdString() << " " << what.toStdString();
            EXPECT_GE(l->height(), fm.height() * 9 / 10) << l->objectName().toStdString();
        }
        EXPECT_EQ(b.txtCredit->verticalScrollBar()->maximum(), 0) << what.toStdString();
        EXPECT_EQ(b.txtCredit->horizontalScrollBar()->maximum(), 0) << what.toStdString();
    }
}

TEST_F(AboutTest, CentresOverTheMainWindowWithinTheScreen) {
    frmAbout& b = open();
    const QRect m = main.frameGeometry();
    EXPECT_LE(std::abs(b.frameGeometry().center().x() - m.center().x()), 1);
    EXPECT_LE(std::abs(b.frameGeometry().center().y() - m.center().y()), 1);
    box.reset();

    main.move(-500, 20);  // mostly off the left and near the top
    frmAbout& left = open();
    EXPECT_EQ(left.frameGeometry().left(), 0);
    EXPECT_GE(left.frameGeometry().top(), 0);
    box.reset();

    const QRect screen = main.screen()->geometry();
    main.move(screen.right() - 100, screen.bottom() - 100);
    frmAbout& corner = open();
    EXPECT_EQ(corner.frameGeometry().right(), screen.right());
    EXPECT_EQ(corner.frameGeometry().bottom(), screen.bottom());
}

TEST_F(AboutTest, EnquiryFormGoesToTheClipboardAfterYes) {
    frmAbout& b = open();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    modal.answers = {MsgAnswer::No};
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, q("KSNED32の問い合わせフォームをクリップボードにコピーします。"));
    EXPECT_EQ(modal.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(modal.messages[0].title, kAppTitle);

    modal.answers = {MsgAnswer::Yes};
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(q("SUB:KSNED32 問い合わせ\r\nTO:") + b.EMailAddress + QStringLiteral("\r\nファイルの入手先:\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("KSNED32のバージョン: Ver%1.%2.%3\r\n")
                                  .arg(version::kMajor).arg(version::kMinor).arg(version::kRevision)));
    EXPECT_TRUE(text.endsWith(q("試行錯誤の内容:\r\n\r\n\r\n")));
    EXPECT_EQ(modal.messages.size(), 2u);  // no confirmation follows
}

TEST_F(AboutTest, DoubleClicksTellTheirMessages) {
    frmAbout& b = open();
    const struct {
        QWidget* target;
        QString text;
        MsgIcon icon;
    } cases[] = {{b.lblProductName, T(0), MsgIcon::None},
                 {b.lblFullTitle, T(0), MsgIcon::None},
                 {b.txtCredit->viewport(), T(1), MsgIcon::None},
                 {b.lblVersion, revisionText(version::kRevision), MsgIcon::Information}};
    for (const auto& c : cases) {
        modal.clear();
        QTest::mouseDClick(c.target, Qt::LeftButton);
        ASSERT_EQ(modal.messages.size(), 1u) << c.target->objectName().toStdString();
        EXPECT_EQ(modal.messages[0].text, c.text);
        EXPECT_EQ(modal.messages[0].icon, c.icon);
        EXPECT_EQ(modal.messages[0].buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(T(0), q("なかなかいいソフトでしょ。"));
    EXPECT_TRUE(revisionText(version::kRevision).startsWith(QStringLiteral("Revision=")));
}

TEST_F(AboutTest, TypingIntoTheCreditsChangesNothingAndOkCloses) {
    frmAbout& b = open();
    const QString before = b.txtCredit->toPlainText();
    b.txtCredit->setFocus();
    QTest::keyClicks(b.txtCredit, QStringLiteral("abc"));
    QTest::keyClick(b.txtCredit, Qt::Key_Backspace);
    QTest::keyClick(b.txtCredit, Qt::Key_Delete);
    QTest::keyClick(b.txtCredit, Qt::Key_Return);
    QTest::keyClick(b.txtCredit, Qt::Key_Escape);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(b.txtCredit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(b.txtCredit->toPlainText(), before);
    EXPECT_TRUE(b.isVisible());  // neither Enter nor Escape reached the box

    QTest::mouseClick(b.cmdOk, Qt::LeftButton);
    EXPECT_FALSE(b.isVisible());
    EXPECT_EQ(b.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace ksn
