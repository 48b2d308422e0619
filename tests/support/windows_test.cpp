// What the windows rest on without a widget: the language, the about box's arithmetic, and where a
// window goes back to.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>

#include "aboutbox.h"
#include "national.h"
#include "possition.h"

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(National, JapaneseOnlyOnAJapaneseSystemWithoutTheSwitchAndFixedOnFirstUse) {
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    const std::pair<const char*, qint32> onJapan[] = {
        {"", National::kJapanese}, {"a.KSN x/Ey", National::kEnglish}, {"/f -e \\e", National::kJapanese}};
    for (const auto& [args, base] : onJapan) EXPECT_EQ(National::chooseBase(japan, q(args)), base) << args;
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::English, QLocale::UnitedStates), q("")), National::kEnglish);
    National n;
    n.setSystemLocale(japan);
    n.setArguments({});
    EXPECT_EQ(n.GetNationalString(7), q("不具合内容"));
    n.setArguments({q("/e")});  // the language is fixed for the run (the English text of 7 is empty)
    n.InitNational();
    EXPECT_EQ(n.GetNationalString(7), q("不具合内容"));
    EXPECT_EQ(n.GetNationalString(-5000), QString());
}

TEST(AboutBox, InnerWidthIsTheWidestRowAndTheBoxStaysOnTheScreen) {
    AboutMetrics a{.icon = {32, 32}, .title = {110, 15}, .productText = {50, 15}, .ratio = 4,
                   .version = {40, 15}, .credit = {}, .questionForm = {}, .ok = {60, 25}};  // the rows set the rest
    const struct {
        int credit, question, inner, creditLeft, questionLeft;
    } rows[] = {{200, 100, 322, 61, 71},   // the version row: 10 + 32 + 20 + 200 + 10 + 40 + 10
                {400, 100, 420, 10, 120},  // the credits
                {201, 300, 390, 94, 5}};   // the buttons: 300 + 60 + 30; odd remainders truncate
    for (const auto& r : rows) {
        a.credit = {r.credit, 70};
        a.questionForm = {r.question, 25};
        const AboutLayout l = layoutAbout(a);
        EXPECT_EQ(QList<int>({l.inner.width(), l.inner.height(), l.credit.left(), l.questionForm.left()}),
                  QList<int>({r.inner, 240, r.creditLeft, r.questionLeft})) << r.credit << " " << r.question;
    }

    const QRect screen(0, 0, 1280, 1024), second(1280, 0, 1024, 768);
    const struct {
        QRect main, screen;
        QSize box;
        QPoint at;
    } centring[] = {{{100, 100, 101, 101}, screen, {200, 200}, {51, 51}},  // a negative odd half truncates toward 0
                    {{1100, -400, 600, 450}, screen, {300, 200}, {980, 0}},
                    {{0, 950, 600, 450}, screen, {1500, 200}, {0, 824}},  // wider than the screen starts at 0
                    {{1000, 0, 600, 450}, second, {300, 200}, {1280, 125}}};
    for (const auto& c : centring) EXPECT_EQ(centreOver(c.main, c.box, c.screen), c.at) << c.main.x();

    // The English table has no headings 7 and 8: their lines keep the colon.
    National en;
    en.setSystemLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(enquiryForm(q("KSNED32"), [&](int r) { return en.GetNationalString(r); }, q("who@example.org"), 2, 1, 14),
              q("SUB:KSNED32 's question\r\nTO:who@example.org\r\nGet place:\r\nGet filename:\r\n"
                "KSNED32's Version: Ver2.1.14\r\n:\r\n\r\n:\r\n\r\n\r\n"));
}

// A window in twips on a screen of 19200 x 11520 twips that may refuse to be narrower than a width
// of its own.
struct FakeWindow : PlacedWindow {
    FakeWindow(QString name, std::vector<double> geometry = {777, 888, 6000, 4500})
        : title(std::move(name)), g(std::move(geometry)) {}
    QString name() const override { return title; }
    double top() const override { return g[0]; }
    double left() const override { return g[1]; }
    double width() const override { return g[2]; }
    double height() const override { return g[3]; }
    void setTop(double v) override { g[0] = v; }
    void setLeft(double v) override { g[1] = v; }
    void setWidth(double v) override { g[2] = std::max(v, ownMinWidth); }
    void setHeight(double v) override { g[3] = v; }
    double screenWidth() const override { return 19200; }
    double screenHeight() const override { return 11520; }
    QString title;
    std::vector<double> g;  // top, left, width, height
    double ownMinWidth = 0;
};

TEST(Possition, SavedAsShortestTextsAndRestoredRoundedAndOnTheScreen) {
    QTemporaryDir dir;  // the settings store redirected; nothing else in this program reads it
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
    SavePossition(FakeWindow(q("frmMain"), {1200, 2400.5, 9000, 6405}));
    s.sync();
    EXPECT_EQ(s.value(q("frmMainPossition/Left")).toString(), q("2400.5"));
    EXPECT_EQ(possitionText(1e6f), q("1000000"));  // the shortest text, never an exponent
    FakeWindow main(q("frmMain"));
    RestorePossition(main, 0, 0);
    EXPECT_EQ(main.g, (std::vector<double>{1200, 2400, 9000, 6405}));  // halves round to even

    const char* keys[] = {"Top", "Left", "Width", "Height"};
    const struct {
        const char* stored[4];  // the texts of the keys; nullptr: not stored
        double minWidth, minHeight, ownMinWidth;
        std::vector<double> restored;
    } cases[] = {{{"-300", "120.5", "2000", "100"}, 3000, 2000.4, 0, {0, 120, 3000, 2000}},
                 {{"12abc", " 121.5", "7000px", "4000"}, 0, 0, 0, {12, 122, 7000, 4000}},
                 // Beyond the right edge; higher than the screen, so the top goes above it.
                 {{"9000", "15000", "6000", "12000"}, 0, 0, 0, {-480, 13200, 6000, 12000}},
                 {{}, 7000, 0, 0, {0, 0, 7000, 4500}},  // never saved
                 // The right edge is kept with the width the window took, not the width it was told.
                 {{nullptr, "15000", "1000"}, 0, 0, 6000, {0, 13200, 6000, 4500}}};
    int n = 0;
    for (const auto& c : cases) {
        const QString name = q("frm%1").arg(++n);  // each window keeps values of its own
        for (int k = 0; k < 4; ++k)
            if (c.stored[k]) s.setValue(possitionSection(name) + u'/' + q(keys[k]), q(c.stored[k]));
        s.sync();
        FakeWindow w(name);
        w.ownMinWidth = c.ownMinWidth;
        RestorePossition(w, c.minWidth, c.minHeight);
        EXPECT_EQ(w.g, c.restored) << n;
    }
}

}  // namespace
}  // namespace ksn
