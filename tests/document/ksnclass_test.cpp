// The formation as the screensaver reads it: kinds, the distinct images and the limits.
#include "document/ksnclass.h"
#include "fixture.h"

namespace ksn {
namespace {

// A model on drive D:, current directory D:\, formations and images in D:\KSN.
class KsnClassTest : public test::EditorFixture {
protected:
    KsnClassTest() {
        for (auto [name, w, h] : {std::tuple{"a40", 120, 40}, {"b40", 100, 40}, {"bellows", 12, 40}, {"flat", 120, 0}})
            drive.write(u"KSN/"_s + QLatin1String(name) + u".bmp"_s, makeBmp(w, h));
    }
    bool load(const QStringList& lines) {
        drive.write(u"KSN/t.KSN"_s, test::ksnBytes(lines));
        train.setTrainFileName(u"D:\\KSN\\t.KSN"_s);
        return train.LoadKsn();
    }
    std::vector<int> carIndices() const {
        std::vector<int> v;
        for (int i = 0; i < train.CarCount(); ++i) v.push_back(train.CarIndex(i));
        return v;
    }
    KSNClass train{state.fso, modal};
};

TEST_F(KsnClassTest, KindsFollowTheRatioInSinglePrecision) {
    const std::pair<QByteArray, int> cases[] = {
        {makeBmp(24, 50), 0},
        {makeBmp(25, 50), 1},
        {makeBmp(350, 50), 1},
        {makeBmp(351, 50), 2},
        {makeBmp(320, -40), 0},                     // top-down: the header's negative height, a negative ratio
        {test::sized("", 49999999, 100000000), 1},  // 0.49999999 rounds to 0.5
        {test::sized("", 70000001, 10000000), 1},   // 7.0000001 rounds to 7
    };
    for (const auto& [bytes, kind] : cases) {
        drive.write(u"KSN/k.bmp"_s, bytes);
        EXPECT_EQ(train.CheckKindFromImage(u"D:\\KSN\\k.bmp"_s), kind) << bytes.mid(18, 8).toHex().data();
    }
    EXPECT_THROW(train.CheckKindFromImage(u"D:\\KSN\\missing.bmp"_s), DivisionByZeroError);  // no height at all
}

TEST_F(KsnClassTest, ItemsAreCutAtCommasCountedAsLinesAndImagesStoredOnce) {
    drive.write(u"KSN/car,1.bmp"_s, makeBmp(120, 40));
    drive.write(u"cars/c.bmp"_s, makeBmp(120, 40));
    // The title's comma moves every item one on: "horn.wav" is read as the first car, at "line" 3.
    ASSERT_TRUE(load({"特急,つばさ", "horn.wav", "a40.bmp ;  front  ", "\"car,1.bmp;a, b\"", "b40.bmp,gone.bmp",
                      "cars\\c.bmp", "bellows.bmp", "a40.bmp ;again", ""}));
    EXPECT_EQ(train.TrainComment() + u'|' + train.TrainSoundFileName(), u"特急|つばさ"_s);
    // Comments trimmed, paths not; bare names in the formation's folder, others in the current directory.
    QStringList records;
    for (int i = 0; i < train.Cars().Count(); ++i)
        records << train.Cars().CarKind(i) + u'|' + train.Cars().CarFileName(i) + u'|' + train.Cars().CarComment(i);
    EXPECT_EQ(records, (QStringList{"1|D:\\KSN\\a40.bmp |front", "1|D:\\KSN\\car,1.bmp|a, b", "1|D:\\KSN\\b40.bmp|",
                                    "1|cars\\c.bmp|", "0|D:\\KSN\\bellows.bmp|"}));
    EXPECT_EQ(carIndices(), (std::vector<int>{0, 1, 2, 3, 4, 0}));
    const QString head = u"\r\nKSN= D:\\KSN\\t.KSN\r\nLine= "_s;  // the empty last line is a car too
    EXPECT_EQ(modal.messageTexts(), (QStringList{head + "3\r\nCAR= D:\\KSN\\horn.wav",
                                                 head + "7\r\nCAR= D:\\KSN\\gone.bmp", head + "11\r\nCAR= "}));
}

TEST_F(KsnClassTest, AFormationThatEndsEarlyIsReportedAsTheReaderFails) {
    drive.write(u"KSN/t.KSN"_s, "title only\r\n");
    train.setTrainFileName(u"D:\\KSN\\t.KSN"_s);
    EXPECT_FALSE(train.LoadKsn());
    EXPECT_EQ(modal.messageTexts(), QStringList{u"Err.Number= 62Description= Input past end of fileLastDllError= 0"_s});
}

TEST_F(KsnClassTest, TheCarLoopLetsItsLimitErrorsThroughAndRefreshStartsAgain) {
    QStringList cars{"T", "S"};
    for (int i = 0; i < KSNClass::kMaxCars; ++i) cars << u"a40.bmp"_s;
    ASSERT_TRUE(load(cars));
    train.Refresh();
    EXPECT_EQ(train.CarIndex(0), -1);
    EXPECT_THROW(load(cars + QStringList{"b40.bmp"}), OutOfRangeError);  // the 102nd car
    EXPECT_EQ(train.CarCount(), KSNClass::kMaxCars);
    train.Refresh();
    EXPECT_THROW(load({"T", "S", "b40.bmp", "flat.bmp", "a40.bmp"}), DivisionByZeroError);
    EXPECT_EQ(carIndices(), std::vector<int>{1});  // the collection outlives Refresh
    EXPECT_THROW(train.CarIndex(KSNClass::kMaxCars), OutOfRangeError);
}

TEST(CarsClassTest, HoldsAtMost1001Images) {
    CarsClass cars;
    for (int i = 0; i < CarsClass::kMaxRecords; ++i) ASSERT_EQ(cars.Add(QString::number(i), i % 3, "c"), i);
    EXPECT_EQ(cars.Add(u"7"_s, 0, "other"), 7);  // known names still resolve when full
    EXPECT_THROW(cars.Add(u"new"_s, 1, ""), OutOfRangeError);
}

}  // namespace
}  // namespace ksn
