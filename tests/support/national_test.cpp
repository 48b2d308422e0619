// The string table, the language choice and the localised texts.
#include "national.h"

#include "numtext.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

const QLocale kJapan(QLocale::Japanese, QLocale::Japan);
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGermany(QLocale::German, QLocale::Germany);

TEST(National, ChoosesJapaneseOnlyOnAJapaneseSystemWithoutTheSwitch) {
    const struct {
        const QLocale* system;
        const char* arguments;
        qint32 base;
    } cases[] = {{&kJapan, "", National::kJapanese},
                 {&kJapan, "/e", National::kEnglish},
                 {&kJapan, "/E", National::kEnglish},
                 {&kJapan, "/english", National::kEnglish},
                 {&kJapan, "D:\\KSN\\a.KSN /E", National::kEnglish},
                 {&kJapan, "x/ey", National::kEnglish},  // "/e" anywhere counts
                 {&kJapan, "D:\\KSN\\a.KSN", National::kJapanese},
                 {&kJapan, "/f -e \\e", National::kJapanese},
                 {&kUs, "", National::kEnglish},
                 {&kUs, "/e", National::kEnglish},
                 {&kGermany, "", National::kEnglish}};
    for (const auto& c : cases)
        EXPECT_EQ(National::chooseBase(*c.system, q(c.arguments)), c.base) << c.system->name().toStdString() << " " << c.arguments;
}

TEST(National, TableHoldsTheBasesAndTheMakersAddresses) {
    EXPECT_EQ(National::LoadResString(11), q("1000"));
    EXPECT_EQ(National::LoadResString(12), q("100"));
    EXPECT_TRUE(National::LoadResString(0).value_or(QString()).contains(u'@'));
    EXPECT_TRUE(National::LoadResString(3).value_or(QString()).startsWith(QStringLiteral("http")));
    EXPECT_FALSE(National::LoadResString(1107).has_value());
    EXPECT_FALSE(National::LoadResString(1108).has_value());
    EXPECT_FALSE(National::LoadResString(-1).has_value());
}

struct TextCase {
    qint32 r;
    const char* japanese;
    const char* english;
};

class LocalisedText : public ::testing::TestWithParam<TextCase> {};

TEST_P(LocalisedText, FollowsTheChosenLanguage) {
    const TextCase& c = GetParam();
    National ja;
    ja.setSystemLocale(kJapan);
    ja.setArguments({});
    EXPECT_EQ(ja.GetNationalString(c.r), q(c.japanese));
    National en;
    en.setSystemLocale(kJapan);
    en.setArguments({QStringLiteral("/E")});
    EXPECT_EQ(en.GetNationalString(c.r), q(c.english));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocalisedText,
    ::testing::Values(TextCase{0, "なかなかいいソフトでしょ。", "Do you feel nice software?"},
                      TextCase{1, "痛い。つつかないでください。", "Ouch! Don't poke."},
                      TextCase{2, "の問い合わせフォームをクリップボードにコピーします。", "'s question form copy to clipboard."},
                      TextCase{3, "問い合わせ", "'s question"}, TextCase{4, "ファイルの入手先", "Get place"},
                      TextCase{5, "入手したファイル名", "Get filename"}, TextCase{6, "のバージョン", "'s Version"},
                      TextCase{7, "不具合内容", ""}, TextCase{8, "試行錯誤の内容", ""},
                      TextCase{18, "ＭＳ Ｐゴシック", "MS Sans Serif"}, TextCase{19, "9", "8"},
                      TextCase{36, "問い合わせフォーム", "&Question form"}, TextCase{37, "のバージョン情報", "Information"},
                      TextCase{9, "", ""}, TextCase{-5000, "", ""}));

TEST(National, ChoosesOnceOnFirstUse) {
    National n;
    n.setSystemLocale(kJapan);
    n.setArguments({});
    EXPECT_EQ(n.NationalBase(), 0);
    EXPECT_EQ(n.GetNationalString(3), q("問い合わせ"));
    EXPECT_EQ(n.NationalBase(), National::kJapanese);
    // Later changes of what the choice reads change nothing: the language is fixed for the run.
    n.setArguments({QStringLiteral("/e")});
    n.InitNational();
    EXPECT_EQ(n.NationalBase(), National::kJapanese);
    EXPECT_EQ(n.GetNationalString(3), q("問い合わせ"));
}

TEST(NumberText, LeadingNumberReadsTheStartOfTheText) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"12", 12},        {"12abc", 12},    {"abc", 0},       {"", 0},       {"  -300", -300},
                 {"\t7", 7},        {"120.5", 120.5}, {".5x", 0.5},     {"1e3", 1000}, {"2e", 2},
                 {"+4", 4},         {"- 4", 0},       {"1,5", 1},       {"１２", 0}};  // full-width digits are no number
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(q(c.text)), c.value) << c.text;
}

TEST(NumberText, WholeNumberNeedsTheWholeText) {
    const struct {
        const char* text;
        std::optional<qint32> value;
    } cases[] = {{"36", 36},           {" 36 ", 36},     {"2.5", 2},           {"3.5", 4},
                 {"-2.5", -2},         {"", std::nullopt}, {"abc", std::nullopt}, {"36x", std::nullopt},
                 {"1e2", 100},         {"99999999999", std::nullopt}, {"-", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(wholeNumber(q(c.text)), c.value) << c.text;
}

TEST(NumberText, RoundsHalvesToEven) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {120.5, 120}, {121.5, 122}, {2.4, 2}, {2.6, 3}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace ksn
