// What the windows rest on without a widget: the language, and where a window goes back to.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>

#include "support/locale/national.h"
#include "support/settings/placement.h"

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(National, JapaneseOnlyOnAJapaneseSystemWithoutTheSwitch) {
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    const std::pair<const char*, qint32> onJapan[] = {
        {"", National::kJapanese}, {"a.KSN x/Ey", National::kEnglish}, {"/f -e \\e", National::kJapanese}};
    for (const auto& [args, base] : onJapan) EXPECT_EQ(National::chooseBase(japan, q(args)), base) << args;
    EXPECT_EQ(National::chooseBase(QLocale(QLocale::English, QLocale::UnitedStates), q("")), National::kEnglish);
    National n;
    n.setSystemLocale(japan);
    n.setArguments({});
    EXPECT_EQ(n.GetNationalString(7), q("不具合内容"));
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

TEST(Possition, SavedAndRestoredRoundedAndOnTheScreen) {
    QTemporaryDir dir;  // the settings store redirected; nothing else in this program reads it
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    const struct {
        std::vector<double> saved;  // empty: never saved
        double minWidth, minHeight, ownMinWidth;
        std::vector<double> restored;
    } cases[] = {{{1200, 2400.5, 9000, 6405}, 0, 0, 0, {1200, 2400, 9000, 6405}},  // halves round to even
                 {{-300, 120.5, 2000, 100}, 3000, 2000.4, 0, {0, 120, 3000, 2000}},
                 // Beyond the right edge; higher than the screen, so the top goes above it.
                 {{9000, 15000, 6000, 12000}, 0, 0, 0, {-480, 13200, 6000, 12000}},
                 {{}, 7000, 0, 0, {0, 0, 7000, 4500}},
                 // The right edge is kept with the width the window took, not the width it was told.
                 {{0, 15000, 1000, 4500}, 0, 0, 6000, {0, 13200, 6000, 4500}}};
    int n = 0;
    for (const auto& c : cases) {
        const QString name = q("frm%1").arg(++n);  // each window keeps values of its own
        if (!c.saved.empty()) SavePossition(FakeWindow(name, c.saved));
        FakeWindow w(name);
        w.ownMinWidth = c.ownMinWidth;
        RestorePossition(w, c.minWidth, c.minHeight);
        EXPECT_EQ(w.g, c.restored) << n;
    }
}

}  // namespace
}  // namespace ksn
