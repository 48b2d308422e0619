// The about box as the user meets it: its texts in either language measured in its own font, and
// the enquiry form.
#include "about/frmAbout.h"
#include "testkit/scripted_modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

class AboutTest : public ::testing::Test {
protected:
    AboutTest() { main.show(); }
    frmAbout& open(const QStringList& arguments = {}) {
        box.reset();  // the language is chosen once per program: a fresh table for each box
        national = std::make_unique<National>();
        national->setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        national->setArguments(arguments);
        box = std::make_unique<frmAbout>(*national, modal, &main);
        box->show();
        return *box;
    }

    std::unique_ptr<National> national;
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

TEST_F(AboutTest, EnquiryFormGoesToTheClipboardOnlyAfterYes) {
    frmAbout& b = open();
    QApplication::clipboard()->setText("before");
    modal.answers = {MsgAnswer::No, MsgAnswer::Yes};
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_TRUE(
        QApplication::clipboard()->text().startsWith("SUB:KSNED32 問い合わせ\r\nTO:" + b.EMailAddress + "\r\n"));
    EXPECT_EQ(modal.messageTexts(), QStringList(2, "KSNED32の問い合わせフォームをクリップボードにコピーします。"));
}

TEST_F(AboutTest, DoubleClicksTellWhatTheControlStandsFor) {
    frmAbout& b = open();
    const QString product = national->GetNationalString(0), credits = national->GetNationalString(1);
    const struct {
        const char* what;
        QWidget* control;
        QString text;
        MsgIcon icon;
    } cases[] = {
        {"product name", b.lblProductName, product, MsgIcon::None},
        {"title", b.lblFullTitle, product, MsgIcon::None},
        {"credits", b.txtCredit->viewport(), credits, MsgIcon::None},
        {"version", b.lblVersion, "Revision=", MsgIcon::Information},
        {"icon", b.picIcon, "", MsgIcon::None},
    };
    auto said = [&](const QString& text, MsgIcon icon) { return text + ' ' + QString::number(int(icon)); };
    for (const auto& c : cases) {
        modal.clear();
        QTest::mouseDClick(c.control, Qt::LeftButton);
        const auto& shown = modal.messages;
        EXPECT_EQ(shown.empty() ? QString() : said(shown[0].text.left(c.text.size()), shown[0].icon),
                  c.text.isEmpty() ? QString() : said(c.text, c.icon))
            << c.what;
    }
}

}  // namespace
}  // namespace ksn
