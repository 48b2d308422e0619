#include "cp932.h"
#include "itemreader.h"
#include "ksnclass.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <vector>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::ScriptedModal;
using test::TempDrive;

// Only the two size fields: sizes whose pixels would not fit in memory.
QByteArray bmpHeader(std::int32_t width, std::int32_t height) {
    QByteArray b(26, '\0');
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = char((std::uint32_t(width) >> (8 * i)) & 0xFF);
        b[22 + i] = char((std::uint32_t(height) >> (8 * i)) & 0xFF);
    }
    return b;
}

QStringList allItems(const QByteArray& bytes) {
    ItemReader r(bytes);
    QStringList items;
    while (!r.atEnd()) items << r.readItem();
    return items;
}

TEST(ItemReaderTest, CutsItemsAtCommasAndLineEndsAndKeepsQuotedCommas) {
    const struct {
        QByteArray bytes;
        QStringList items;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a,b\r\nc", {"a", "b", "c"}},
        {"   a ;x ,  b", {"a ;x ", "b"}},
        {"\tt", {"\tt"}},
        {"\"x,y;z\",w", {"x,y;z", "w"}},
        {"\"x\" junk,w", {"x", "w"}},
        {"\"open, to the end\r\nnext", {"open, to the end", "next"}},
        {"a\r\n\r\n  \r\nb", {"a", "", "", "b"}},
        {"a,", {"a", ""}},
        {"a\rb\nc", {"a", "b\nc"}},
        {cp932::encode(QStringLiteral("ソ,表\r\n十")), {"ソ", "表", "十"}},
    };
    for (const auto& c : cases) EXPECT_EQ(allItems(c.bytes), c.items) << c.bytes.toStdString();

    ItemReader r("last");
    r.readItem();
    try {
        r.readItem();
        FAIL() << "read past the end";
    } catch (const InputPastEndError& e) {
        EXPECT_EQ(e.number(), 62);
    }
}

// A model on drive D:, current directory D:\, formations and images in D:\KSN.
class KsnClassTest : public ::testing::Test {
protected:
    KsnClassTest() : fs(drive.driveMap(), QStringLiteral("D:\\")), lib(fs, QString()), train(fs, lib, modal) {
        image(QStringLiteral("a40.bmp"), makeBmp(120, 40));
        image(QStringLiteral("b40.bmp"), makeBmp(100, 40));
        image(QStringLiteral("bellows.bmp"), makeBmp(12, 40));
    }

    void image(const QString& name, const QByteArray& bytes) { drive.write(QStringLiteral("KSN/") + name, bytes); }
    bool load(const QStringList& lines) {
        drive.write(QStringLiteral("KSN/t.KSN"), ksnBytes(lines));
        train.setTrainFileName(QStringLiteral("D:\\KSN\\t.KSN"));
        return train.LoadKsn();
    }
    std::vector<int> carIndices() const {
        std::vector<int> v;
        for (int i = 0; i < train.CarCount(); ++i) v.push_back(train.CarIndex(i));
        return v;
    }
    QStringList records() {
        QStringList r;
        for (int i = 0; i < train.Cars().Count(); ++i) {
            int k = i;
            r << train.Cars().CarKind(k) + u'|' + train.Cars().CarFileName(k) + u'|' + train.Cars().CarComment(k);
        }
        return r;
    }

    TempDrive drive;
    FileSystem fs;
    MyLibClass lib;
    ScriptedModal modal;
    KSNClass train;
};

TEST_F(KsnClassTest, KindsFollowTheRatioInSinglePrecision) {
    const struct {
        QByteArray bytes;
        int kind;
    } cases[] = {
        {makeBmp(24, 50), 0},  {makeBmp(25, 50), 1},   {makeBmp(350, 50), 1}, {makeBmp(351, 50), 2},
        {makeBmp(320, -40), 0},  // top-down: negative height
        {bmpHeader(49999999, 100000000), 1},  // 0.49999999 rounds to 0.5
        {bmpHeader(70000001, 10000000), 1},   // 7.0000001 rounds to 7
        {bmpHeader(70000100, 10000000), 2},
    };
    for (const auto& c : cases) {
        image(QStringLiteral("k.bmp"), c.bytes);
        EXPECT_EQ(train.CheckKindFromImage(QStringLiteral("D:\\KSN\\k.bmp")), c.kind) << c.bytes.mid(18, 8).toHex().data();
    }
    image(QStringLiteral("flat.bmp"), makeBmp(120, 0));
    for (const QString& zero : {QStringLiteral("D:\\KSN\\flat.bmp"), QStringLiteral("D:\\KSN\\missing.bmp")})
        EXPECT_THROW(train.CheckKindFromImage(zero), DivisionByZeroError);
}

TEST_F(KsnClassTest, SharedImagesAreStoredOnceAndTheFirstCommentWins) {
    QStringList lines{"T", "S", "a40.bmp;first", "D:\\KSN\\a40.bmp", "b40.bmp"};
    for (int i = 0; i < 9; ++i) lines << QStringLiteral("a40.bmp;again");
    ASSERT_TRUE(load(lines));
    EXPECT_EQ(records(), (QStringList{"1|D:\\KSN\\a40.bmp|first", "1|D:\\KSN\\b40.bmp|"}));
    EXPECT_EQ(carIndices(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(modal.processEventsCalls, 13);  // before each car and before finding the end
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(KsnClassTest, BellowsAreLeftOutOnlyWhenAsked) {
    const QStringList lines{"T", "S", "a40.bmp", "bellows.bmp;ほろ", "b40.bmp"};
    train.setNoLoadCouplerBellows(true);
    ASSERT_TRUE(load(lines));
    EXPECT_EQ(carIndices(), (std::vector<int>{0, 1}));
    EXPECT_EQ(train.Cars().Count(), 2);

    KSNClass all(fs, lib, modal);
    all.setTrainFileName(QStringLiteral("D:\\KSN\\t.KSN"));
    ASSERT_TRUE(all.LoadKsn());
    EXPECT_EQ(all.CarCount(), 3);
    int k = 1;
    EXPECT_EQ(all.Cars().CarKind(k), QStringLiteral("0"));
    EXPECT_EQ(all.Cars().CarComment(k), QStringLiteral("ほろ"));
}

TEST_F(KsnClassTest, ItemsAreCutAtCommasAndCountedAsLines) {
    image(QStringLiteral("car,1.bmp"), makeBmp(120, 40));
    // The title's comma moves every item one on: "horn.wav" is read as the first car, at "line" 3.
    ASSERT_TRUE(load({"特急,つばさ", "horn.wav", "a40.bmp ;  front  ", "\"car,1.bmp;a, b\"", "b40.bmp,gone.bmp", ""}));
    EXPECT_EQ(train.TrainComment(), QStringLiteral("特急"));
    EXPECT_EQ(train.TrainSoundFileName(), QStringLiteral("つばさ"));
    // Comments are trimmed, paths are not; the empty last line is a car of its own.
    EXPECT_EQ(records(), (QStringList{"1|D:\\KSN\\a40.bmp |front", "1|D:\\KSN\\car,1.bmp|a, b", "1|D:\\KSN\\b40.bmp|"}));
    const QString head = QStringLiteral("\r\nKSN= D:\\KSN\\t.KSN\r\nLine= ");
    EXPECT_EQ(modal.messageTexts(), (QStringList{head + "3\r\nCAR= D:\\KSN\\horn.wav", head + "7\r\nCAR= D:\\KSN\\gone.bmp",
                                                 head + "8\r\nCAR= "}));
    EXPECT_EQ(modal.messages.at(0).icon, MsgIcon::Exclamation);
    EXPECT_EQ(modal.messages.at(0).title, kAppTitle);
}

TEST_F(KsnClassTest, BareNamesResolveAgainstTheFormationsFolderAndOthersAgainstTheCurrentOne) {
    drive.write(QStringLiteral("cars/c.bmp"), makeBmp(120, 40));
    ASSERT_TRUE(load({"T", "S", "cars\\c.bmp", "", "a40.bmp"}));
    EXPECT_EQ(records(), (QStringList{"1|cars\\c.bmp|", "1|D:\\KSN\\a40.bmp|"}));
    EXPECT_EQ(modal.messageTexts(), QStringList{"\r\nKSN= D:\\KSN\\t.KSN\r\nLine= 4\r\nCAR= "});
}

TEST_F(KsnClassTest, LoadFailuresAreReportedUnlessSilenced) {
    const QString critical = QStringLiteral("Err.Number= 62Description= Input past end of fileLastDllError= 0");
    const struct {
        QString file;
        QByteArray bytes;
        QString message;
        MsgIcon icon;
    } cases[] = {
        {"D:\\NONE\\t.KSN", {}, "\r\nFolder= D:\\NONE\\", MsgIcon::Exclamation},
        {"D:\\KSN\\none.KSN", {}, "\r\nKSN= D:\\KSN\\none.KSN", MsgIcon::Exclamation},
        {"D:\\KSN\\t.KSN", "", critical, MsgIcon::Critical},
        {"D:\\KSN\\t.KSN", "title only\r\n", critical, MsgIcon::Critical},
    };
    for (const bool silent : {false, true}) {
        for (const auto& c : cases) {
            modal.clear();
            drive.write(QStringLiteral("KSN/t.KSN"), c.bytes);
            KSNClass k(fs, lib, modal);
            k.setNoErrorMsg(silent);
            k.setTrainFileName(c.file);
            EXPECT_FALSE(k.LoadKsn()) << c.file.toStdString();
            if (silent) {
                EXPECT_TRUE(modal.messages.empty());
            } else {
                ASSERT_EQ(modal.messages.size(), 1u);
                EXPECT_EQ(modal.messages[0].text, c.message);
                EXPECT_EQ(modal.messages[0].icon, c.icon);
            }
        }
    }
}

TEST_F(KsnClassTest, RefreshClearsTheTrainButKeepsTheCollectionAndSwitches) {
    train.setNoErrorMsg(true);
    ASSERT_TRUE(load({"T", "S", "a40.bmp", "b40.bmp", "nothing.bmp"}));
    ASSERT_TRUE(train.LoadKsn());  // without Refresh the second reading appends
    EXPECT_EQ(carIndices(), (std::vector<int>{0, 1, 0, 1}));
    train.setLocoNum(2);
    train.Refresh();
    EXPECT_EQ(train.CarCount(), 0);
    EXPECT_EQ(train.CarIndex(0), -1);
    EXPECT_EQ(train.LocoNum(), 0);
    EXPECT_TRUE(train.TrainFileName().isEmpty() && train.TrainComment().isEmpty());
    EXPECT_TRUE(train.NoErrorMsg());
    ASSERT_TRUE(load({"U", "S", "bellows.bmp", "a40.bmp"}));
    EXPECT_EQ(carIndices(), (std::vector<int>{2, 0}));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(KsnClassTest, TheCarLoopLetsItsErrorsThrough) {
    image(QStringLiteral("flat.bmp"), makeBmp(120, 0));
    QStringList cars{"T", "S"};
    for (int i = 0; i < KSNClass::kMaxCars; ++i) cars << QStringLiteral("a40.bmp");
    EXPECT_TRUE(load(cars));
    train.Refresh();
    try {
        load(cars + QStringList{"b40.bmp"});
        FAIL() << "102 cars loaded";
    } catch (const OutOfRangeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_EQ(train.CarCount(), KSNClass::kMaxCars);
    train.Refresh();
    EXPECT_THROW(load({"T", "S", "a40.bmp", "flat.bmp", "b40.bmp"}), DivisionByZeroError);
    EXPECT_EQ(train.CarCount(), 1);
    EXPECT_THROW(train.CarIndex(KSNClass::kMaxCars), OutOfRangeError);
    EXPECT_THROW(train.CarIndex(-1), OutOfRangeError);
}

TEST(CarsClassTest, HoldsAtMost1001ImagesAndReadsAtTheCursor) {
    CarsClass cars;
    for (int i = 0; i < CarsClass::kMaxRecords; ++i) ASSERT_EQ(cars.Add(QString::number(i), i % 3, "c"), i);
    EXPECT_EQ(cars.Add(QStringLiteral("7"), 0, "other"), 7);  // known names still resolve when full
    EXPECT_THROW(cars.Add(QStringLiteral("new"), 1, ""), OutOfRangeError);
    EXPECT_EQ(cars.Count(), CarsClass::kMaxRecords);
    EXPECT_EQ(cars.Sarch(QStringLiteral("1000")), 1000);

    CarsClass two;
    two.Add(QStringLiteral("A.bmp"), 2, QStringLiteral("x"));
    EXPECT_EQ(two.Sarch(QStringLiteral("a.bmp")), -1);
    int index = 0;
    EXPECT_EQ(two.CarKind(index), QStringLiteral("2"));
    index = -5;  // a negative index reads at the cursor and gets it back
    EXPECT_EQ(two.CarFileName(index), QStringLiteral("A.bmp"));
    EXPECT_EQ(index, 0);
    index = 3;  // unused records read as empty
    EXPECT_EQ(two.CarKind(index), QStringLiteral("0"));
    EXPECT_TRUE(two.CarFileName().isEmpty() && two.CarComment().isEmpty());
    EXPECT_EQ(two.Index(), 3);
    two.setIndex(-1);
    EXPECT_TRUE(two.CarKind().isEmpty());
    two.setIndex(CarsClass::kMaxRecords);
    EXPECT_THROW(two.CarComment(), OutOfRangeError);
}

TEST_F(KsnClassTest, AFreshModelIsEmptyAndCannotWrite) {
    EXPECT_EQ(train.ClassDebugID().typeId(), QMetaType::Int);
    EXPECT_EQ(train.ClassDebugID().toInt(), 0);
    EXPECT_EQ(train.CarIndex(KSNClass::kMaxCars - 1), -1);
    EXPECT_FALSE(train.WriteKsn());
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("Non Support"));
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::None);
}

}  // namespace
}  // namespace ksn
