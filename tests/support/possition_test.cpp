// Window placement: what is stored, and where a window goes back to.
#include "possition.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>

namespace ksn {
namespace {

// A window in twips on a screen of 19200 x 11520 twips (1280 x 768 pixels at 96 dots per inch),
// optionally refusing to be narrower than a width of its own.
class FakeWindow : public PlacedWindow {
public:
    explicit FakeWindow(QString n, double t = 0, double l = 0, double w = 6000, double h = 4500)
        : name_(std::move(n)), top_(t), left_(l), width_(w), height_(h) {}
    QString name() const override { return name_; }
    double top() const override { return top_; }
    double left() const override { return left_; }
    double width() const override { return width_; }
    double height() const override { return height_; }
    void setTop(double v) override { top_ = v; }
    void setLeft(double v) override { left_ = v; }
    void setWidth(double v) override { width_ = std::max(v, ownMinWidth); }
    void setHeight(double v) override { height_ = v; }
    double screenWidth() const override { return 19200; }
    double screenHeight() const override { return 11520; }

    double ownMinWidth = 0;

private:
    QString name_;
    double top_, left_, width_, height_;
};

// The settings store redirected into a temporary folder of each test; nothing else in this
// program reads the store.
class PossitionTest : public ::testing::Test {
protected:
    PossitionTest() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path()); }

    void store(const QString& window, const char* key, const QString& value) {
        QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
        s.setValue(possitionSection(window) + u'/' + QLatin1String(key), value);
    }
    QString stored(const QString& window, const char* key) {
        QSettings s(QSettings::UserScope, possitionApplication(), possitionApplication());
        return s.value(possitionSection(window) + u'/' + QLatin1String(key)).toString();
    }

    QTemporaryDir dir;
};

TEST(PossitionText, IsTheShortestDecimalForm) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{1200, "1200"}, {1234.5f, "1234.5"}, {-300, "-300"}, {0, "0"}, {1e6f, "1000000"}, {0.1f, "0.1"},
                 {15.25f, "15.25"}};
    for (const auto& c : cases) EXPECT_EQ(possitionText(c.value), QString::fromLatin1(c.text)) << c.value;
    EXPECT_EQ(possitionSection(QStringLiteral("frmMain")), QStringLiteral("frmMainPossition"));
    EXPECT_EQ(possitionApplication(), QStringLiteral("KSNED32"));
}

TEST_F(PossitionTest, SavesFourKeysUnderTheWindowsSection) {
    SavePossition(FakeWindow(QStringLiteral("frmMain"), 1200, 2400.5, 9000, 6405));
    EXPECT_EQ(stored(QStringLiteral("frmMain"), "Top"), QStringLiteral("1200"));
    EXPECT_EQ(stored(QStringLiteral("frmMain"), "Left"), QStringLiteral("2400.5"));
    EXPECT_EQ(stored(QStringLiteral("frmMain"), "Width"), QStringLiteral("9000"));
    EXPECT_EQ(stored(QStringLiteral("frmMain"), "Height"), QStringLiteral("6405"));
}

TEST_F(PossitionTest, RoundTripPutsTheWindowBack) {
    SavePossition(FakeWindow(QStringLiteral("frmMain"), 1200, 2400, 9000, 6405));
    FakeWindow w(QStringLiteral("frmMain"), 0, 0, 100, 100);
    RestorePossition(w, 100, 100);
    EXPECT_EQ(w.top(), 1200);
    EXPECT_EQ(w.left(), 2400);
    EXPECT_EQ(w.width(), 9000);
    EXPECT_EQ(w.height(), 6405);
}

struct RestoreCase {
    const char* what;
    const char *top, *left, *width, *height;  // stored texts; nullptr: not stored
    double minWidth, minHeight;
    double expTop, expLeft, expWidth, expHeight;
};

TEST_F(PossitionTest, RestoreRoundsAndClamps) {
    const RestoreCase cases[] = {
        {"negative top", "-300", "100", "6000", "4500", 0, 0, 0, 100, 6000, 4500},
        {"half rounds to even", "0", "120.5", "6000", "4500", 0, 0, 0, 120, 6000, 4500},
        {"half rounds up to even", "0", "121.5", "6000", "4500", 0, 0, 0, 122, 6000, 4500},
        {"below the minimum width", "0", "0", "2000", "4500", 3000, 0, 0, 0, 3000, 4500},
        {"above the minimum width", "0", "0", "5000", "4500", 3000, 0, 0, 0, 5000, 4500},
        {"below the minimum height", "0", "0", "5000", "100", 0, 2000.4, 0, 0, 5000, 2000},
        {"beyond the bottom", "9000", "0", "6000", "3000", 0, 0, 8520, 0, 6000, 3000},
        {"higher than the screen", "0", "0", "6000", "12000", 0, 0, -480, 0, 6000, 12000},
        {"beyond the right", "0", "15000", "6000", "3000", 0, 0, 0, 13200, 6000, 3000},
        {"as big as the screen", "500", "500", "19200", "11520", 0, 0, 0, 0, 19200, 11520},
        {"never saved", nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 6000, 4500},
        {"never saved, small", nullptr, nullptr, nullptr, nullptr, 7000, 0, 0, 0, 7000, 4500},
        {"not numbers", "abc", "x1", "wide", "tall", 3000, 2000, 0, 0, 3000, 2000},
        {"leading numbers", "12abc", " 30", "7000px", "4000", 0, 0, 12, 30, 7000, 4000},
    };
    for (const RestoreCase& c : cases) {
        const QString name = QStringLiteral("frm") + QString::fromLatin1(c.what).remove(u' ').remove(u',');
        const std::pair<const char*, const char*> keys[] = {{"Top", c.top}, {"Left", c.left}, {"Width", c.width}, {"Height", c.height}};
        for (const auto& [key, value] : keys)
            if (value) store(name, key, QString::fromLatin1(value));
        FakeWindow w(name, 777, 888, 6000, 4500);
        RestorePossition(w, c.minWidth, c.minHeight);
        EXPECT_EQ(w.top(), c.expTop) << c.what;
        EXPECT_EQ(w.left(), c.expLeft) << c.what;
        EXPECT_EQ(w.width(), c.expWidth) << c.what;
        EXPECT_EQ(w.height(), c.expHeight) << c.what;
    }
}

TEST_F(PossitionTest, RightEdgeUsesTheWidthTheWindowTook) {
    store(QStringLiteral("frmWide"), "Left", QStringLiteral("15000"));
    store(QStringLiteral("frmWide"), "Width", QStringLiteral("1000"));
    FakeWindow w(QStringLiteral("frmWide"));
    w.ownMinWidth = 6000;  // the window will not be narrower than this, whatever it is told
    RestorePossition(w, 0, 0);
    EXPECT_EQ(w.width(), 6000);
    EXPECT_EQ(w.left(), 19200 - 6000);
}

TEST_F(PossitionTest, WindowsKeepValuesOfTheirOwn) {
    SavePossition(FakeWindow(QStringLiteral("frmTrain"), 3000, 3000, 6000, 3000));
    FakeWindow car(QStringLiteral("frmCar"), 999, 999);
    RestorePossition(car, 0, 0);
    EXPECT_EQ(car.top(), 0);
    EXPECT_EQ(car.left(), 0);
    FakeWindow train(QStringLiteral("frmTrain"));
    RestorePossition(train, 0, 0);
    EXPECT_EQ(train.top(), 3000);
}

}  // namespace
}  // namespace ksn
