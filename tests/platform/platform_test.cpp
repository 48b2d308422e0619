// The window-level members of the utility and system classes on real widgets, offscreen.
#include "platform/nationalform.h"
#include "platform/widgetapi.h"
#include "platform/widgetlib.h"
#include "support/locale/national.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

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

// Routines kept for the designer's forms that no window uses yet: one working case each.
TEST(WidgetLib, EnableApiSwitchesAndRecordsAndButtonVisibleHides) {
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
}

TEST(WidgetApi, StretchBltStretchesAndSetWindowPosMovesAndShows) {
    QImage source(2, 1, QImage::Format_RGB32), dest(4, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    dest.fill(Qt::white);
    QPainter p(&dest);
    EXPECT_EQ(StretchBlt(&p, 0, 0, 4, 2, &source, 0, 0, 2, 1, SRCCOPY), 1);
    p.end();
    EXPECT_EQ(QList<QRgb>({dest.pixel(0, 1), dest.pixel(3, 1)}), QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 0, 255)}));

    QWidget parent;
    auto* child = new QWidget(&parent);
    parent.show();
    child->hide();
    SetWindowPos(child, HWND_TOP, 5, 6, 1, 1, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(child->isVisible() ? child->pos() : QPoint(), QPoint(5, 6));
}

}  // namespace
}  // namespace ksn
