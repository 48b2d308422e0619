// The utility class's number and time routines at their edges: 32-bit wrap, 16-bit overflow,
// halves to even.
#include "mylib.h"

#include <gtest/gtest.h>

#include <climits>

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Numbers, HexAndLittleEndianBytes) {
    const struct {
        qint32 value;
        int digits;
        const char* hex;
    } hex[] = {{255, 4, "00FF"}, {4660, 2, "34"}, {-1, 10, "00FFFFFFFF"}, {INT_MIN, 8, "80000000"}, {0xABC, -2, ""}};
    for (const auto& c : hex) EXPECT_EQ(MyLibClass::FHex(c.value, c.digits), q(c.hex)) << c.value << " " << c.digits;
    EXPECT_EQ(MyLibClass::GetStringToLong(255, 255, 255, 255), -1);
    EXPECT_EQ(MyLibClass::GetStringToLong(0, 0, 0, 128), INT_MIN);
    EXPECT_EQ(MyLibClass::GetStringToLong(0x78, 0x56, 0x34, 0x12), 0x12345678);
}

TEST(Numbers, SetParamFillsSlotsAndDropsTheRest) {
    const struct {
        const char* text;
        int slotCount;
        QStringList filled;
        qint32 last;
    } cases[] = {{"a,b,c", 2, {"a", "b"}, 1}, {"x", 2, {"x", ""}, 0}, {" a , b", 2, {" a ", " b"}, 1}, {",,", 3, {"", "", ""}, 2}};
    for (const auto& c : cases) {
        QStringList param(c.slotCount, QStringLiteral("old"));
        EXPECT_EQ(MyLibClass::SetParam(q(c.text), param), c.last) << c.text;
        EXPECT_EQ(param, c.filled) << c.text;
    }
    QStringList none;
    EXPECT_THROW(MyLibClass::SetParam(q("a"), none), std::out_of_range);
}

TEST(Numbers, TimesOverflowWhereA16BitCountWould) {
    EXPECT_EQ(MyLibClass::FormatTime(3723004), q("01:02:03.004"));
    EXPECT_EQ(MyLibClass::FormatTime(1966079999), q("546:07:59.999"));
    EXPECT_THROW(MyLibClass::FormatTime(1966080000), OverflowError);  // 32768 minutes
    const std::pair<double, const char*> spoken[] = {{90061, "1日1時間1分1秒"}, {0.5, ""}, {1.5, "2秒"}, {2.5, "2秒"}};
    for (const auto& [seconds, text] : spoken) EXPECT_EQ(MyLibClass::GetFormatTimeString(seconds), q(text)) << seconds;
    EXPECT_EQ(MyLibClass::GetFormatTimeString_ms(3723.25f), q("1時間2分3秒250ミリ秒"));
    EXPECT_THROW(MyLibClass::GetFormatTimeString_ms(32768.0f), OverflowError);
    qint32 top = INT_MAX, bottom = INT_MIN;
    EXPECT_THROW(MyLibClass::inc(top), OverflowError);
    EXPECT_EQ(top, INT_MAX);
    EXPECT_THROW(MyLibClass::dec(bottom), OverflowError);
}

}  // namespace
}  // namespace ksn
