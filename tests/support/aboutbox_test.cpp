// The about box's rules without a widget: layout arithmetic, centring with the screen clamps, and
// the texts it shows and copies.
#include "aboutbox.h"

#include "national.h"

#include <gtest/gtest.h>

namespace ksn {
namespace {

AboutMetrics sample() {
    AboutMetrics a;
    a.icon = {32, 32};
    a.title = {110, 15};
    a.productText = {50, 15};
    a.ratio = 4;  // 36 points over 9
    a.version = {40, 15};
    a.credit = {200, 70};
    a.questionForm = {100, 25};
    a.ok = {60, 25};
    return a;
}

TEST(AboutLayout, PlacesEveryControlByTheRules) {
    const AboutLayout l = layoutAbout(sample());
    EXPECT_EQ(l.icon, QRect(10, 10, 32, 32));
    EXPECT_EQ(l.title, QRect(62, 10, 110, 15));      // x0 = 10 + 32 + 20
    EXPECT_EQ(l.product, QRect(62, 35, 200, 60));    // below the title, 4 x the text
    EXPECT_EQ(l.version, QRect(272, 80, 40, 15));    // bottoms line up: 35 + 60 - 15
    EXPECT_EQ(l.inner.width(), 322);                 // the version row: 272 + 40 + 10
    EXPECT_EQ(l.credit, QRect(61, 115, 200, 70));    // (322 - 200) / 2, 35 + 60 + 10 + 10
    EXPECT_EQ(l.questionForm, QRect(71, 195, 100, 25));  // (322 - 100 - 60 - 20) / 2, 115 + 10 + 70
    EXPECT_EQ(l.ok, QRect(191, 195, 60, 25));        // 2m after the first button
    EXPECT_EQ(l.inner.height(), 240);                // 195 + 25 + 20
}

TEST(AboutLayout, InnerWidthIsTheWidestOfThreeRows) {
    const struct {
        const char* what;
        int creditWidth, questionWidth, productWidth;
        int inner, creditLeft, questionLeft;
    } cases[] = {
        {"the version row", 200, 100, 50, 322, 61, 71},
        {"the credits", 400, 100, 50, 420, 10, 120},   // credits start at m
        {"the buttons", 200, 300, 50, 390, 95, 5},      // 300 + 60 + 30; buttons start at m / 2
        {"credits and version equal", 302, 100, 50, 322, 10, 71},
        {"odd remainder truncates", 201, 101, 50, 322, 60, 70},
    };
    for (const auto& c : cases) {
        AboutMetrics a = sample();
        a.credit.setWidth(c.creditWidth);
        a.questionForm.setWidth(c.questionWidth);
        a.productText.setWidth(c.productWidth);
        const AboutLayout l = layoutAbout(a);
        EXPECT_EQ(l.inner.width(), c.inner) << c.what;
        EXPECT_EQ(l.credit.left(), c.creditLeft) << c.what;
        EXPECT_EQ(l.questionForm.left(), c.questionLeft) << c.what;
        EXPECT_EQ(l.ok.left() - l.questionForm.right() - 1, 20) << c.what;
    }
}

TEST(AboutLayout, ProductSizeRoundsHalvesToEven) {
    AboutMetrics a = sample();
    a.productText = {51, 15};
    a.ratio = 36.0 / 8;  // 229.5 -> 230, 67.5 -> 68
    AboutLayout l = layoutAbout(a);
    EXPECT_EQ(l.product.size(), QSize(230, 68));
    a.productText = {53, 13};  // 238.5 -> 238, 58.5 -> 58
    l = layoutAbout(a);
    EXPECT_EQ(l.product.size(), QSize(238, 58));
}

TEST(AboutCentring, CentresOverTheMainWindowAndStaysOnTheScreen) {
    const QRect screen(0, 0, 1280, 1024);
    const struct {
        const char* what;
        QRect main;
        QSize box;
        QPoint at;
    } cases[] = {
        {"centred", {100, 100, 600, 450}, {300, 200}, {250, 225}},
        {"odd difference truncates", {100, 100, 601, 451}, {300, 200}, {250, 225}},
        {"negative difference truncates toward zero", {100, 100, 101, 101}, {200, 200}, {51, 51}},
        {"main window off the left", {-500, 100, 600, 450}, {300, 200}, {0, 225}},
        {"main window off the top", {100, -400, 600, 450}, {300, 200}, {250, 0}},
        {"beyond the right", {1100, 100, 600, 450}, {300, 200}, {980, 225}},
        {"beyond the bottom", {100, 950, 600, 450}, {300, 200}, {250, 824}},
        {"wider than the screen starts at 0", {0, 0, 600, 450}, {1500, 200}, {0, 125}},
    };
    for (const auto& c : cases) EXPECT_EQ(centreOver(c.main, c.box, screen), c.at) << c.what;
    // A screen that does not start at the origin clamps at its own edges.
    EXPECT_EQ(centreOver({1000, 0, 600, 450}, {300, 200}, QRect(1280, 0, 1024, 768)), QPoint(1280, 125));
}

QString crlf(const QStringList& lines) {
    QString s;
    for (const QString& l : lines) s += l + QStringLiteral("\r\n");
    return s;
}

TEST(AboutTexts, EnquiryFormInJapanese) {
    National ja;
    ja.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    ja.setArguments({});
    const QString form = enquiryForm(QStringLiteral("KSNED32"), [&](int r) { return ja.GetNationalString(r); },
                                     QStringLiteral("who@example.org"), 2, 1, 14);
    const QString expected = crlf({QStringLiteral("SUB:KSNED32 問い合わせ"), QStringLiteral("TO:who@example.org"),
                                   QStringLiteral("ファイルの入手先:"), QStringLiteral("入手したファイル名:"),
                                   QStringLiteral("KSNED32のバージョン: Ver2.1.14"), QStringLiteral("不具合内容:"), QString(),
                                   QStringLiteral("試行錯誤の内容:"), QString(), QString()});
    EXPECT_EQ(form, expected);
    // Ten lines and a final line break: line 8 is followed by three CR LF.
    EXPECT_EQ(form.count(QStringLiteral("\r\n")), 10);
    EXPECT_TRUE(form.endsWith(QStringLiteral("試行錯誤の内容:\r\n\r\n\r\n")));
}

TEST(AboutTexts, EnquiryFormInEnglishHasEmptyHeadingsForSevenAndEight) {
    National en;
    en.setSystemLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    en.setArguments({});
    const QString form = enquiryForm(QStringLiteral("KSNED32"), [&](int r) { return en.GetNationalString(r); },
                                     QStringLiteral("who@example.org"), 2, 1, 14);
    const QByteArray expected =
        "SUB:KSNED32 's question\r\nTO:who@example.org\r\nGet place:\r\nGet filename:\r\n"
        "KSNED32's Version: Ver2.1.14\r\n:\r\n\r\n:\r\n\r\n\r\n";
    EXPECT_EQ(form.toUtf8(), expected);
}

TEST(AboutTexts, CreditsAndRevision) {
    EXPECT_EQ(creditText(QStringLiteral("Co"), QStringLiteral("(C) Co"), QStringLiteral("a@b"), QStringLiteral("http://w")),
              QStringLiteral("Co\r\n(C) Co\r\na@b\r\nhttp://w"));
    const struct {
        int revision;
        const char* text;
    } cases[] = {{14, "Revision=0014"}, {0, "Revision=0000"}, {1234, "Revision=1234"}, {12345, "Revision=12345"}};
    for (const auto& c : cases) EXPECT_EQ(revisionText(c.revision), QString::fromLatin1(c.text));
}

}  // namespace
}  // namespace ksn
