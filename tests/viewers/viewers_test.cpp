// The whole-train view and the car view opened from the main window as a user opens them: real
// widgets offscreen, the scripted seam answering the boxes.
#include "frmCar.h"
#include "frmMain.h"
#include "frmTrain.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <memory>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::ScriptedModal;
using test::TempDrive;

constexpr std::uint32_t kRed = 0xCC2200;
constexpr std::uint32_t kGreen = 0x22AA44;
constexpr std::uint32_t kBlue = 0x2244CC;

// Drive D:, default folder D:\KSN with the cars of the worked example: a 100 x 40, b 120 x 40,
// c 80 x 30, and a formation that also names a missing car.
class ViewersTest : public ::testing::Test {
protected:
    ViewersTest() {
        drive.write(QStringLiteral("bin/ksned32.ini"), "[KSNED]\r\nKSN_Folder=D:\\KSN\r\n");
        drive.write(QStringLiteral("KSN/a.bmp"), makeBmp(100, 40, kRed));
        drive.write(QStringLiteral("KSN/b.bmp"), makeBmp(120, 40, kGreen));
        drive.write(QStringLiteral("KSN/c.bmp"), makeBmp(80, 30, kBlue));
        writeKsn(QStringLiteral("express.KSN"), {"Express", "horn.wav", "a.bmp;front", "b.bmp", "missing.bmp", "c.bmp"});
        state = std::make_unique<Ksned>(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32")));
    }
    ~ViewersTest() override { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void writeKsn(const QString& name, const QStringList& lines) { drive.write(QStringLiteral("KSN/") + name, ksnBytes(lines)); }
    // Starts the main window and loads the formation titled title.
    frmMain& open(const QString& title = QStringLiteral("Express")) {
        window = std::make_unique<frmMain>(*state, modal);
        window->Form_Load(QString());
        window->move(40, 30);
        window->show();
        window->cmbTrain->setCurrentIndex(window->cmbTrain->findText(title));
        window->mnuFileQuickLoad_Click();
        modal.clear();  // the height check's report
        return *window;
    }
    frmTrain& pressF2() {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F2);
        if (!window->trainView) throw std::runtime_error("no whole-train view");
        return *window->trainView;
    }
    void selectRow(int row) {
        window->lstCars->setCurrentRow(row);
        ASSERT_EQ(window->editor().selectedRow(), row);
    }
    int scrollBarHeight() const { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }
    static QRgb pixelAt(QWidget& w, QPoint p) { return w.grab().toImage().pixel(p) & 0xFFFFFF; }

    TempDrive drive;
    ScriptedModal modal;
    std::unique_ptr<Ksned> state;
    std::unique_ptr<frmMain> window;
};

TEST_F(ViewersTest, F2ShowsTheCarsSideBySideBelowTheMainWindow) {
    open();
    frmTrain& t = pressF2();
    ASSERT_TRUE(t.isVisible());
    EXPECT_EQ(t.parentWidget(), nullptr);  // not owned by the main window
    EXPECT_EQ(t.windowModality(), Qt::NonModal);
    EXPECT_EQ(t.windowTitle(), QStringLiteral("Express ( 30dot )"));

    ASSERT_EQ(t.imgCar.size(), 6u);
    EXPECT_FALSE(t.imgCar[0]->isVisible());
    const struct {
        int slot;
        QRect geometry;
        const char* toolTip;
        bool picture;
    } slots_[] = {
        {1, {0, 0, 0, 0}, "", false},  // the sound line
        {2, {0, 0, 100, 40}, "1 : a : front", true},
        {3, {100, 0, 120, 40}, "2 : b : ", true},
        {4, {0, 0, 0, 0}, "", false},  // missing.bmp keeps its number but takes no room
        {5, {220, 0, 80, 30}, "4 : c : ", true},
    };
    for (const auto& s : slots_) {
        QLabel* slot = t.imgCar[size_t(s.slot)];
        EXPECT_TRUE(slot->isVisible()) << s.slot;
        EXPECT_EQ(slot->geometry(), s.geometry) << s.slot;
        EXPECT_EQ(slot->toolTip(), QString::fromUtf8(s.toolTip)) << s.slot;
        EXPECT_EQ(!slot->pixmap().isNull(), s.picture) << s.slot;
    }
    EXPECT_EQ(t.totalWidth(), 300);

    // Directly below the main window and as wide; the client area the last car plus the scroll bar.
    const QRect main = window->frameGeometry();
    EXPECT_EQ(t.frameGeometry().topLeft(), QPoint(main.left(), main.top() + main.height()));
    EXPECT_EQ(t.frameGeometry().width(), main.width());
    EXPECT_EQ(t.height(), scrollBarHeight() + 30);
    EXPECT_EQ(t.HScroll1->geometry(), QRect(0, 30, t.width(), scrollBarHeight()));
    EXPECT_EQ(t.HScroll1->maximum(), 1);
    EXPECT_EQ(t.HScroll1->pageStep(), 1);
    EXPECT_EQ(t.HScroll1->singleStep(), 1);

    // The pictures are drawn, and the scroll bar covers the lowest 10 rows of the 40-pixel cars.
    EXPECT_EQ(pixelAt(t, {50, 20}), kRed);
    EXPECT_EQ(pixelAt(t, {150, 20}), kGreen);
    EXPECT_EQ(pixelAt(t, {250, 20}), kBlue);
    EXPECT_EQ(t.childAt(50, 35), t.HScroll1);
    EXPECT_EQ(t.childAt(50, 25), t.imgCar[2]);
}

TEST_F(ViewersTest, TheStripFollowsTheScrollBarAndItsThumb) {
    QStringList lines{"Long", "horn.wav", "b.bmp;first"};
    for (int i = 0; i < 9; ++i) lines << QStringLiteral("b.bmp");
    lines << QStringLiteral("missing.bmp") << QStringLiteral("c.bmp;last");
    writeKsn(QStringLiteral("long.KSN"), lines);
    open(QStringLiteral("Long"));
    frmTrain& t = pressF2();
    ASSERT_EQ(t.totalWidth(), 10 * 120 + 80);
    t.resize(500, 57);
    EXPECT_EQ(t.HScroll1->maximum(), 1280 - 500);
    EXPECT_EQ(t.HScroll1->pageStep(), 78);
    EXPECT_EQ(t.HScroll1->singleStep(), 28);  // 28.5 to the even neighbour

    auto expectSlotsAt = [&](int value) {
        for (size_t i = 0; i < t.imgCar.size(); ++i)
            EXPECT_EQ(t.imgCar[i]->x(), t.baseLeft(int(i)) - value) << "slot " << i << " at value " << value;
    };
    for (int value : {0, 1, 333, 780}) {
        t.HScroll1->setValue(value);
        expectSlotsAt(value);
    }
    // At the maximum the last car ends at the right edge.
    QLabel* last = t.imgCar.back();
    EXPECT_EQ(last->geometry().right() + 1, t.width());

    // While the thumb is dragged the strip moves with it, before any value is committed.
    t.HScroll1->setTracking(false);
    t.HScroll1->setSliderDown(true);
    t.HScroll1->setSliderPosition(200);
    EXPECT_EQ(t.HScroll1->value(), 780);
    expectSlotsAt(200);
    t.HScroll1->setSliderDown(false);
    t.HScroll1->setTracking(true);

    // A wider window lowers the maximum below the value: the strip moves back with it.
    t.HScroll1->setValue(780);
    t.resize(1000, 57);
    EXPECT_EQ(t.HScroll1->maximum(), 280);
    EXPECT_EQ(t.HScroll1->value(), 280);
    expectSlotsAt(280);
    EXPECT_EQ(t.totalWidth(), 1280);
}

TEST_F(ViewersTest, TheViewShowsWhatKsnRenderDraws) {
    open();
    frmTrain& t = pressF2();
    const auto strip = buildTrainStrip(window->editor().rows(), state->DefaultFolder, state->fso);
    ASSERT_TRUE(strip);
    const QImage drawn = renderTrainStrip(*strip);
    const QImage shown = t.grab().toImage();
    // Above the scroll bar every car pixel of the picture is on the screen at the same place.
    int compared = 0;
    for (int y = 0; y < t.HScroll1->y(); ++y)
        for (int x = 0; x < std::min(drawn.width(), shown.width()); ++x)
            if (qAlpha(drawn.pixel(x, y)) == 255) {
                ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, drawn.pixel(x, y) & 0xFFFFFF) << x << "," << y;
                ++compared;
            }
    EXPECT_EQ(compared, 300 * 30);
}

TEST_F(ViewersTest, EachRunReplacesTheViewWithANewSnapshot) {
    open();
    QPointer<frmTrain> first = &pressF2();
    selectRow(2);
    window->mnuEditCut_Click();
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Express ( 30dot )"));
    EXPECT_EQ(first->imgCar.size(), 6u);  // the snapshot keeps the cut car

    frmTrain& second = pressF2();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(second.imgCar.size(), 5u);
    EXPECT_EQ(second.imgCar[2]->toolTip(), QStringLiteral("1 : b : "));
    int views = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) views += qobject_cast<frmTrain*>(w) != nullptr;
    EXPECT_EQ(views, 1);
}

TEST_F(ViewersTest, NoCarLineOpensNothingAndNoCarFoundLeavesAnEmptyStrip) {
    writeKsn(QStringLiteral("empty.KSN"), {"Empty", "horn.wav"});
    writeKsn(QStringLiteral("ghost.KSN"), {"Ghost", "horn.wav", "x.bmp", "y.bmp"});
    open(QStringLiteral("Empty"));
    ASSERT_EQ(window->editor().rows().size(), 2);
    window->mnuViewTrain_Click();
    EXPECT_TRUE(window->trainView.isNull());
    EXPECT_TRUE(modal.messages.empty());

    window->cmbTrain->setCurrentIndex(window->cmbTrain->findText(QStringLiteral("Ghost")));
    window->mnuFileQuickLoad_Click();
    frmTrain& t = pressF2();
    EXPECT_EQ(t.windowTitle(), QStringLiteral("Ghost ( 0dot )"));
    EXPECT_EQ(t.height(), scrollBarHeight());
    EXPECT_EQ(t.HScroll1->maximum(), 1);
}

TEST_F(ViewersTest, TheCarViewShowsTheSelectedCarAndShrinksToTheNextOne) {
    open();
    // Nothing selected: the first car.
    selectRow(-1);
    window->mnuViewCar_Click();
    QPointer<frmCar> c = window->carView;
    ASSERT_TRUE(c && c->isVisible());
    EXPECT_EQ(c->parentWidget(), nullptr);
    EXPECT_EQ(c->windowTitle(), QStringLiteral("1 : D:\\KSN\\a.bmp ( 40dot )"));
    EXPECT_EQ(c->imgCar->toolTip(), QStringLiteral("front"));
    EXPECT_EQ(c->size(), QSize(100, 40));
    EXPECT_EQ(pixelAt(*c, {50, 20}), kRed);

    // A 120 x 40 car, then an 80 x 30 car: the same window, its client area the picture.
    const struct {
        int row;
        const char* caption;
        QSize size;
        QRgb colour;
    } cases[] = {
        {3, "2 : D:\\KSN\\b.bmp ( 40dot )", {120, 40}, kGreen},
        {5, "4 : D:\\KSN\\c.bmp ( 30dot )", {80, 30}, kBlue},
        {0, "1 : D:\\KSN\\a.bmp ( 40dot )", {100, 40}, kRed},  // the title row: the first car
    };
    for (const auto& k : cases) {
        c->move(700, 700);  // wherever the user put it, it comes back below the main window
        selectRow(k.row);
        window->mnuViewCar_Click();
        ASSERT_EQ(window->carView, c) << k.row;
        EXPECT_EQ(c->windowTitle(), QString::fromUtf8(k.caption));
        EXPECT_EQ(c->size(), k.size);
        EXPECT_EQ(c->imgCar->geometry(), QRect(QPoint(0, 0), k.size));
        EXPECT_EQ(pixelAt(*c, {k.size.width() - 1, k.size.height() - 1}), k.colour);
        const QRect main = window->frameGeometry();
        EXPECT_EQ(c->frameGeometry().topLeft(), QPoint(main.left(), main.top() + main.height()));
    }

    // Closed by the user, it is made anew by the next run.
    c->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(c.isNull());
    window->mnuViewCar_Click();
    EXPECT_TRUE(window->carView && window->carView->isVisible());
}

TEST_F(ViewersTest, AMissingCarIsReportedAndTheCarViewIsLeftAsItWas) {
    open();
    selectRow(3);
    window->mnuViewCar_Click();
    ASSERT_TRUE(window->carView);
    selectRow(4);
    window->mnuViewCar_Click();
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("車両が見つかりません。\r\nFile= D:\\KSN\\missing.bmp"));
    EXPECT_EQ(modal.messages[0].title, QStringLiteral("KSN File Editer 32"));
    EXPECT_EQ(modal.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(window->carView->windowTitle(), QStringLiteral("2 : D:\\KSN\\b.bmp ( 40dot )"));
    EXPECT_EQ(window->carView->size(), QSize(120, 40));
}

TEST_F(ViewersTest, ADoubleClickOnACarOpensItsView) {
    open();
    const QPoint at = window->lstCars->visualItemRect(window->lstCars->item(5)).center();
    QTest::mouseClick(window->lstCars->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(window->lstCars->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(window->carView);
    EXPECT_EQ(window->carView->windowTitle(), QStringLiteral("4 : D:\\KSN\\c.bmp ( 30dot )"));
}

TEST_F(ViewersTest, BrokenCarFilesLeaveEmptyPlacesAndTheViewsGoOn) {
    QByteArray text = "not a picture";
    text.resize(54, ' ');
    text.replace(18, 8, QByteArray::fromHex("3200000014000000"));  // 50 x 20
    drive.write(QStringLiteral("KSN/text.bmp"), text);
    drive.write(QStringLiteral("KSN/down.bmp"), makeBmp(70, -20));
    writeKsn(QStringLiteral("bad.KSN"), {"Bad", "horn.wav", "text.bmp;t", "down.bmp;d", "c.bmp"});
    open(QStringLiteral("Bad"));
    frmTrain& t = pressF2();
    EXPECT_EQ(t.imgCar[2]->geometry(), QRect(0, 0, 50, 20));
    EXPECT_TRUE(t.imgCar[2]->pixmap().isNull());
    EXPECT_EQ(t.imgCar[3]->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(t.imgCar[4]->geometry(), QRect(50, 0, 80, 30));
    EXPECT_EQ(t.windowTitle(), QStringLiteral("Bad ( 30dot )"));

    selectRow(3);
    window->mnuViewCar_Click();
    ASSERT_TRUE(window->carView);
    EXPECT_EQ(window->carView->windowTitle(), QStringLiteral("2 : D:\\KSN\\down.bmp ( -20dot )"));
    EXPECT_FALSE(window->carView->imgCar->isVisible());
    selectRow(2);
    window->mnuViewCar_Click();
    EXPECT_EQ(window->carView->size(), QSize(50, 20));
    EXPECT_TRUE(window->carView->imgCar->isVisible());
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(ViewersTest, FilesDraggedOverTheViewersAreOfferedACopyAndDroppedToNoEffect) {
    open();
    frmTrain& t = pressF2();
    window->mnuViewCar_Click();
    ASSERT_TRUE(window->carView);
    const QStringList before = window->editor().rows();

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(drive.host(QStringLiteral("KSN/express.KSN"))),
                   QUrl::fromLocalFile(drive.host(QStringLiteral("KSN/b.bmp")))});
    QMimeData text;
    text.setText(QStringLiteral("b.bmp"));
    for (QWidget* viewer : {static_cast<QWidget*>(&t), static_cast<QWidget*>(window->carView.data())}) {
        const QString name = viewer->objectName();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(viewer, &enter);
        EXPECT_TRUE(enter.isAccepted()) << name.toStdString();
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << name.toStdString();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(viewer, &drop);
        EXPECT_TRUE(drop.isAccepted()) << name.toStdString();

        QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(viewer, &other);
        EXPECT_FALSE(other.isAccepted()) << name.toStdString();
        QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(viewer, &moveOnly);
        EXPECT_FALSE(moveOnly.isAccepted()) << name.toStdString();
    }
    EXPECT_EQ(window->editor().rows(), before);
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(ViewersTest, ClosingTheMainWindowClosesBothViewers) {
    open();
    QPointer<frmTrain> t = &pressF2();
    window->mnuViewCar_Click();
    QPointer<frmCar> c = window->carView;
    ASSERT_TRUE(t && c);
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(t.isNull());
    EXPECT_TRUE(c.isNull());
}

}  // namespace
}  // namespace ksn
