// The about box, forms in the user's language, and the sound module as built.
#include "about/frmAbout.h"
#include "platform/nationalform.h"
#include "platform/widgetapi.h"
#include "platform/widgetlib.h"
#include "support/locale/national.h"
#include "support/system/soundplayer.h"
#include "testkit/scripted_modal.h"
#include "testkit/tempdrive.h"

#include <QtTest>
#include <QtWidgets>

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

// Without the module nothing plays and the reason is kept; with it, only a regular file is handed over.
TEST(SoundPlayer, LoadsTheModuleOnDemandAndRefusesWhatItCannotPlay) {
    test::TempDrive drive;
    drive.write("horn.wav", "RIFF");
    SoundPlayer missing(QTemporaryDir().path());
    EXPECT_FALSE(missing.play(drive.host("horn.wav")) || missing.loadError().isEmpty());
    SoundPlayer beside(KSNED_SOUND_MODULE_DIR);
    EXPECT_FALSE(beside.play(drive.host("none.wav")));
    ASSERT_TRUE(beside.available()) << beside.loadError().toStdString();
    drive.special("pipe.wav");
    EXPECT_FALSE(beside.play(drive.host("pipe.wav")));
}

TEST(About, EnquiryFormGoesToTheClipboardOnlyAfterYes) {
    QWidget main;
    main.show();
    National national;
    national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    test::ScriptedModal modal;
    frmAbout b(national, modal, &main);
    b.show();
    EXPECT_EQ(b.windowTitle(), "KSNED32 のバージョン情報");
    QApplication::clipboard()->setText("before");
    modal.answers = {MsgAnswer::No, MsgAnswer::Yes};
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    QTest::mouseClick(b.cmdQuestionForm, Qt::LeftButton);
    EXPECT_TRUE(
        QApplication::clipboard()->text().startsWith("SUB:KSNED32 問い合わせ\r\nTO:" + b.EMailAddress + "\r\n"));
    EXPECT_EQ(modal.messageTexts(), QStringList(2, "KSNED32の問い合わせフォームをクリップボードにコピーします。"));
}

// Routines kept for the designer's forms that no window uses yet: one working case each.
TEST(WidgetRoutines, EnableApiButtonVisibleStretchBltAndSetWindowPos) {
    QMainWindow form;
    auto* cmdGo = add<QPushButton>(&form, "cmdGo");
    QAction* file = form.menuBar()->addMenu("File")->menuAction();
    file->setObjectName("mnuFile");
    QStringList data(2);  // one slot: the last entry is never used
    EnableAPI(form, "mnu", data, false, false);
    EXPECT_EQ(data.first() + QString::number(file->isEnabled()), "TmnuFile0");
    form.show();
    ButtonVisible(form, false);
    EXPECT_FALSE(cmdGo->isVisible());
    SetWindowPos(cmdGo, HWND_TOP, 5, 6, 1, 1, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(cmdGo->isVisible() ? cmdGo->pos() : QPoint(), QPoint(5, 6));
    QImage source(2, 1, QImage::Format_RGB32), dest(4, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    QPainter p(&dest);
    EXPECT_EQ(StretchBlt(&p, 0, 0, 4, 2, &source, 0, 0, 2, 1, SRCCOPY), 1);
    p.end();
    EXPECT_EQ(QList<QRgb>({dest.pixel(0, 1), dest.pixel(3, 1)}), QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 0, 255)}));
}

}  // namespace
}  // namespace ksn
