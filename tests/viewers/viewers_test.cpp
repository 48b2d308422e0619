// The whole-train view and the car view opened from the main window as a user opens them: real
// widgets offscreen, the scripted seam answering the boxes. What each view shows is worked out in
// trainlayout (tested without a window); here, that the windows show it where and as they should.
#include "mainwindow/frmMain.h"
#include "testkit/scripted_modal.h"
#include "testkit/tempdrive.h"
#include "viewers/frmCar.h"
#include "viewers/frmTrain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <stdexcept>
#include <tuple>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

using namespace test;

// Default folder D:\KSN with the cars a (100 x 40, red), b (120 x 40, green) and c (80 x 30, blue),
// and a formation that also names a missing car.
class ViewersTest : public ::testing::Test {
protected:
    ViewersTest() {
        drive.write("bin/ksned32.ini", "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n");
        drive.write("KSN/a.bmp", makeBmp(100, 40, 0xCC2200));
        drive.write("KSN/b.bmp", makeBmp(120, 40, 0x22AA44));
        drive.write("KSN/c.bmp", makeBmp(80, 30, 0x2244CC));
        writeKsn("express.KSN", {"Express", "horn.wav", "a.bmp;front", "b.bmp", "missing.bmp", "c.bmp"});
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), "D:\\"), drive.host("bin/ksned32"));
    }
    ~ViewersTest() override { deleteClosed(); }

    static void deleteClosed() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void writeKsn(const QString& name, const QStringList& lines) { drive.write("KSN/" + name, ksnBytes(lines)); }
    // Starts the main window and loads the formation titled title.
    void open(const QString& title = "Express") {
        if (!window) {
            window = std::make_unique<frmMain>(*state, modal);
            window->Form_Load({});
            window->move(40, 30);
            window->show();
        }
        window->cmbTrain->setCurrentIndex(window->cmbTrain->findText(title));
        window->menus.at("mnuFileQuickLoad")->trigger();
        modal.clear();  // the height check's report
    }
    frmTrain& pressF2() {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F2);
        if (!window->trainView) throw std::runtime_error("no whole-train view");
        return *window->trainView;
    }
    void viewCar(int row) {
        window->lstCars->setCurrentRow(row);
        window->menus.at("mnuViewCar")->trigger();
    }
    QPoint belowMain() const { return window->frameGeometry().bottomLeft() + QPoint(0, 1); }

    TempDrive drive;
    ScriptedModal modal;
    std::unique_ptr<Ksned> state;
    std::unique_ptr<frmMain> window;
};

TEST_F(ViewersTest, F2ShowsTheCarsAsKsnRenderDrawsThemBelowTheMainWindow) {
    open();
    frmTrain& t = pressF2();
    EXPECT_EQ(t.parentWidget(), nullptr);  // a window of its own, never modal
    EXPECT_EQ(t.windowTitle(), "Express ( 30dot )");
    EXPECT_EQ(t.imgCar[2]->toolTip(), "1 : a : front");
    EXPECT_EQ(t.frameGeometry().topLeft(), belowMain());
    EXPECT_EQ(t.frameGeometry().width(), window->frameGeometry().width());
    // The client area is the last car's height plus the scroll bar, which covers taller cars.
    const int bar = t.HScroll1->height();
    EXPECT_EQ(t.HScroll1->geometry(), QRect(0, 30, t.width(), bar));
    EXPECT_EQ(t.height(), 30 + bar);

    // Above the scroll bar every pixel is a car's: a (100 wide), b (120), c (80).
    const auto strip = buildTrainStrip(window->editor().rows(), state->DefaultFolder, state->fso);
    const QImage drawn = renderTrainStrip(*strip).copy(0, 0, 300, 30), shown = t.grab().toImage().copy(0, 0, 300, 30);
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) == drawn.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewersTest, TheStripFollowsTheScrollBarAndItsThumb) {
    writeKsn("long.KSN",
             QStringList{"Long", "horn.wav"} + QStringList(10, "b.bmp") + QStringList{"missing.bmp", "c.bmp"});
    open("Long");
    frmTrain& t = pressF2();
    t.resize(500, 57);
    EXPECT_EQ(t.HScroll1->maximum(), 10 * 120 + 80 - 500);
    auto expectSlotsAt = [&](int value) {
        for (size_t i = 0; i < t.imgCar.size(); ++i)
            EXPECT_EQ(t.imgCar[i]->x(), t.baseLeft(int(i)) - value) << i << " at " << value;
    };
    t.HScroll1->setValue(780);
    expectSlotsAt(780);
    EXPECT_EQ(t.imgCar.back()->geometry().right() + 1, t.width());  // the last car ends at the edge
    // While the thumb is dragged the strip moves with it, before any value is committed.
    t.HScroll1->setTracking(false);
    t.HScroll1->setSliderDown(true);
    t.HScroll1->setSliderPosition(200);
    expectSlotsAt(200);
    t.HScroll1->setSliderDown(false);
    // A wider window lowers the maximum below the value: the strip moves back with it.
    t.HScroll1->setValue(780);
    t.resize(1000, 57);
    EXPECT_EQ(t.HScroll1->value(), 280);
    expectSlotsAt(280);
}

// A top-down car's real size in the car view is worked out in trainlayout_test.
TEST_F(ViewersTest, TheCarViewFitsEachCarBelowTheMainWindowAndReportsAMissingOne) {
    drive.write("KSN/flat.bmp", makeBmp(70, 0));
    writeKsn("bad.KSN", {"Bad", "horn.wav", "flat.bmp"});
    writeKsn("empty.KSN", {"Empty", "horn.wav"});
    open("Empty");
    window->menus.at("mnuViewTrain")->trigger();
    EXPECT_TRUE(window->trainView.isNull());  // no car line: no whole-train view
    const std::tuple<const char*, int, QString, QSize, QRgb> cases[] = {
        {"Express", 3, "2 : D:\\KSN\\b.bmp ( 40dot )", {120, 40}, 0x22AA44},
        {"Express", 4, "2 : D:\\KSN\\b.bmp ( 40dot )", {120, 40}, 0x22AA44},  // missing: reported, the view stays
        {"Bad", 2, "1 : D:\\KSN\\flat.bmp ( 0dot )", {1, 1}, 0},              // no usable size: no picture
    };
    for (const auto& [title, row, caption, size, colour] : cases) {
        open(title);
        if (window->carView && row != 4) window->carView->move(700, 700);  // wherever the user put it, it comes back
        viewCar(row);
        ASSERT_TRUE(window->carView);
        frmCar& v = *window->carView;
        EXPECT_EQ(std::tuple(v.windowTitle(), v.size(), v.frameGeometry().topLeft(), v.imgCar->isVisible()),
                  std::tuple(caption, size, belowMain(), colour != 0));
        EXPECT_TRUE(!colour || (v.grab().toImage().pixel(size.width() - 1, size.height() - 1) & 0xFFFFFF) == colour);
        EXPECT_EQ(modal.messageTexts(),
                  row == 4 ? QStringList{"車両が見つかりません。\r\nFile= D:\\KSN\\missing.bmp"} : QStringList());
    }
    window->carView->close();  // by the user: it is made anew
    deleteClosed();
    viewCar(3);
    EXPECT_TRUE(window->carView && window->carView->isVisible());
    // Each run replaces the whole-train view; both viewers close with the main window.
    QPointer<frmTrain> first = &pressF2(), second = &pressF2();
    QPointer<frmCar> car = window->carView;
    deleteClosed();
    EXPECT_TRUE(first.isNull() && second);
    window->close();
    deleteClosed();
    EXPECT_TRUE(second.isNull() && car.isNull());
}

}  // namespace
}  // namespace ksn
