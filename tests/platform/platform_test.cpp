// The about box, the dressing of forms in the user's language, and the sound module as built and
// as installed, on real widgets offscreen.
#include "about/frmAbout.h"
#include "platform/nationalform.h"
#include "support/locale/national.h"
#include "support/system/soundplayer.h"
#include "testkit/scripted_modal.h"
#include "testkit/tempdrive.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

// A control as the designer left it: a name, a caption, and text numbers in its properties.
template <class W>
W* add(QWidget* parent, const char* name, const char* text = "", const char* tag = nullptr, const char* tip = nullptr) {
    auto* w = new W(parent);
    w->setObjectName(name);
    if constexpr (requires(W * x) { x->setText(QString()); }) w->setText(text);
    if (tag) w->setProperty("Tag", tag);
    if (tip) w->setProperty("ToolTipText", tip);
    return w;
}

TEST(NationalForm, DressesEachControlByItsNumbersAndLeavesOtherWindowsAlone) {
    QWidget form;
    auto* lblTagged = add<QLabel>(&form, "lblTagged", "designed", "2");
    auto* lblTip = add<QLabel>(&form, "lblTip", "keep", "", "36");  // an empty tag keeps the caption
    auto* cmdLead = add<QPushButton>(&form, "cmdLead", "Lead", "3abc");
    auto* txtBox = add<QLineEdit>(&form, "txtBox", "typed", "4", "5");  // a text box has no caption
    auto* otherLabel = add<QLabel>(add<QDialog>(&form, "dlgOther"), "lblOther", "other", "2");  // another window
    National national;
    national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    national.setArguments({"/e"});
    SetNationalForm(form, national);
    auto T = [&](int r) { return national.GetNationalString(r); };
    const QStringList shown{lblTagged->text(), lblTip->text(),    lblTip->toolTip(),  cmdLead->text(),
                            txtBox->text(),    txtBox->toolTip(), otherLabel->text(), txtBox->font().family()};
    EXPECT_EQ(shown, (QStringList{T(2), "keep", T(36), T(3), "typed", T(5), "other", T(18)}));
}

// Without the module a sound is not played (the window beeps instead) and the reason is kept;
// with it, only an existing regular file is handed over: the module would wait on a named pipe.
TEST(SoundPlayer, LoadsTheModuleOnDemandAndRefusesWhatItCannotPlay) {
    test::TempDrive drive;
    drive.write("horn.wav", "RIFF");
    SoundPlayer missing(QTemporaryDir().path());
    EXPECT_FALSE(missing.play(drive.host("horn.wav")) || missing.loadError().isEmpty());
    SoundPlayer beside(KSNED_SOUND_MODULE_DIR);
    EXPECT_FALSE(beside.play(drive.host("none.wav")));
    EXPECT_TRUE(beside.loadError().isEmpty());  // a missing file is refused before loading anything
    ASSERT_TRUE(beside.available()) << beside.loadError().toStdString();
    drive.special("pipe.wav");
    EXPECT_FALSE(beside.play(drive.host("pipe.wav")));
}

TEST(SoundPlayer, FindsTheModuleInTheInstalledLayoutOfBinAndLib) {
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin");
    QDir(prefix.path()).mkpath("lib/ksned32");
    const QString module = QFileInfo(KSNED_SOUND_MODULE_FILE).fileName();
    ASSERT_TRUE(QFile::copy(KSNED_SOUND_MODULE_FILE, prefix.path() + "/lib/ksned32/" + module));
    SoundPlayer installed(prefix.path() + "/bin");
    EXPECT_TRUE(installed.available()) << installed.loadError().toStdString();
}

// The about box as the user meets it: its texts in either language measured in its own font, and
// the enquiry form.
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
    const QString product = national->GetNationalString(0);
    const std::tuple<QWidget*, QString, MsgIcon> cases[] = {
        {b.lblProductName, product, MsgIcon::None},
        {b.lblFullTitle, product, MsgIcon::None},
        {b.txtCredit->viewport(), national->GetNationalString(1), MsgIcon::None},
        {b.lblVersion, "Revision=", MsgIcon::Information}};
    for (const auto& [control, text, icon] : cases) {
        modal.clear();
        QTest::mouseDClick(control, Qt::LeftButton);
        ASSERT_EQ(modal.messages.size(), 1u) << control->objectName().toStdString();
        EXPECT_TRUE(modal.messages[0].text.startsWith(text) && modal.messages[0].icon == icon) << text.toStdString();
    }
}

}  // namespace
}  // namespace ksn
