// The utility class's text, number and time routines, each against its worked examples.
#include "mylib.h"

#include "filesystem.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>

#include <climits>

namespace ksn {
namespace {

using test::ScriptedModal;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Utilities, FHexKeepsTheLastDigitsAndPads) {
    const struct {
        qint32 value;
        int digits;
        const char* hex;
    } cases[] = {{255, 4, "00FF"},       {4660, 2, "34"},    {-1, 4, "FFFF"},         {0, 0, ""},
                 {0, 3, "000"},          {10, 1, "A"},       {-1, 10, "00FFFFFFFF"},  {INT_MIN, 8, "80000000"},
                 {0x12345678, 8, "12345678"}, {0xABC, -2, ""}};
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::FHex(c.value, c.digits), q(c.hex)) << c.value << " " << c.digits;
}

TEST(Utilities, RightAlignmentPadsButNeverCuts) {
    const struct {
        const char* text;
        int width;
        const char* result;
    } cases[] = {{"abc", 5, "  abc"}, {"abc", 4, " abc"}, {"abc", 3, "abc"}, {"abcdef", 3, "abcdef"},
                 {"", 2, "  "},       {"編成", 4, "  編成"}, {"x", -5, "x"}};
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::RightAlignmentStrings(q(c.text), c.width), q(c.result)) << c.text;
}

TEST(Utilities, SetParamFillsSlotsAndDropsTheRest) {
    const struct {
        const char* text;
        int slotCount;
        QStringList filled;
        qint32 last;
    } cases[] = {{"a,b,c", 2, {"a", "b"}, 1},
                 {"x", 2, {"x", ""}, 0},
                 {"a,", 2, {"a", ""}, 1},
                 {"a,b,c", 3, {"a", "b", "c"}, 2},
                 {"a,b,c", 5, {"a", "b", "c", "", ""}, 2},
                 {" a , b", 2, {" a ", " b"}, 1},
                 {"", 1, {""}, 0},
                 {",,", 1, {""}, 0},
                 {",,", 3, {"", "", ""}, 2}};
    for (const auto& c : cases) {
        QStringList param(c.slotCount, QStringLiteral("old"));
        EXPECT_EQ(MyLibClass::SetParam(q(c.text), param), c.last) << c.text;
        EXPECT_EQ(param, c.filled) << c.text;
    }
    QStringList none;
    EXPECT_THROW(MyLibClass::SetParam(q("a"), none), std::out_of_range);
}

TEST(Utilities, GetStringToLongAssemblesLittleEndianTwosComplement) {
    const struct {
        int b1, b2, b3, b4;
        qint32 value;
    } cases[] = {{255, 255, 255, 255, -1},        {0, 0, 0, 128, INT_MIN},        {1, 0, 0, 0, 1},
                 {0, 1, 0, 0, 256},               {0x78, 0x56, 0x34, 0x12, 0x12345678},
                 {255, 255, 255, 127, INT_MAX},   {0, 0, 0, 0, 0},                {254, 255, 255, 255, -2}};
    for (const auto& c : cases)
        EXPECT_EQ(MyLibClass::GetStringToLong(c.b1, c.b2, c.b3, c.b4), c.value) << c.b1 << "," << c.b2 << "," << c.b3 << "," << c.b4;
}

TEST(Utilities, FormatTimeSplitsMilliseconds) {
    const struct {
        qint32 ms;
        const char* text;
    } cases[] = {{3723004, "01:02:03.004"}, {0, "00:00:00.000"},       {999, "00:00:00.999"},
                 {60000, "00:01:00.000"},   {359999999, "99:59:59.999"}, {360000000, "100:00:00.000"},
                 {1966079999, "546:07:59.999"}};
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::FormatTime(c.ms), q(c.text)) << c.ms;
    // 32768 minutes no longer fit the 16-bit minute count.
    EXPECT_THROW(MyLibClass::FormatTime(1966080000), OverflowError);
    EXPECT_THROW(MyLibClass::FormatTime(INT_MAX), OverflowError);
}

TEST(Utilities, GetFormatTimeStringNamesTheNonZeroParts) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{90061, "1日1時間1分1秒"}, {3600, "1時間"}, {0, ""},        {59, "59秒"},    {60, "1分"},
                 {86400, "1日"},           {3661, "1時間1分1秒"}, {0.5, ""}, {1.5, "2秒"},   {2.5, "2秒"},
                 {172859.4, "2日59秒"}};
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::GetFormatTimeString(c.seconds), q(c.text)) << c.seconds;
}

TEST(Utilities, GetFormatTimeStringMsAddsTheFraction) {
    const struct {
        float seconds;
        const char* text;
    } cases[] = {{3723.0f, "1時間2分3秒"}, {3723.25f, "1時間2分3秒250ミリ秒"}, {0.0f, ""},
                 {0.5f, "500ミリ秒"},        {0.005f, ""},  // a fraction of a hundredth or less is left out
                 {32767.0f, "9時間6分7秒"}};
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::GetFormatTimeString_ms(c.seconds), q(c.text)) << c.seconds;
    EXPECT_THROW(MyLibClass::GetFormatTimeString_ms(32768.0f), OverflowError);
}

TEST(Utilities, IncAndDecStopAtThe32BitRange) {
    qint32 v = 41;
    MyLibClass::inc(v);
    EXPECT_EQ(v, 42);
    MyLibClass::dec(v);
    MyLibClass::dec(v);
    EXPECT_EQ(v, 40);
    qint32 top = INT_MAX;
    EXPECT_THROW(MyLibClass::inc(top), OverflowError);
    EXPECT_EQ(top, INT_MAX);
    qint32 bottom = INT_MIN;
    EXPECT_THROW(MyLibClass::dec(bottom), OverflowError);
}

TEST(Utilities, FormatTextBreaksAfterTheCharacterThatCrossesSixtyBlanks) {
    // A blank is 1 wide, "w" 2, anything else 1: the limit is 60.
    const auto width = [](const QString& ch) { return ch == u"w" ? 2.0 : 1.0; };
    const QString crlf = QStringLiteral("\r\n");
    const struct {
        QString in, out;
    } cases[] = {
        {QString(60, u'a'), QString(60, u'a')},                                       // exactly the limit
        {QString(61, u'a'), QString(61, u'a') + crlf},                                // one past: break after it
        {QString(70, u'w'), QString(31, u'w') + crlf + QString(31, u'w') + crlf + QString(8, u'w')},
        {QString(50, u'a') + crlf + QString(50, u'a'), QString(50, u'a') + crlf + QString(50, u'a')},  // CR restarts
        {QString(), QString()},
    };
    for (const auto& c : cases) EXPECT_EQ(MyLibClass::FormatText(c.in, width), c.out) << c.in.size();
    // A character outside the basic plane is one character, never cut by the break.
    const QString emoji = QString::fromUcs4(U"\U0001F683");
    QString in;
    for (int i = 0; i < 61; ++i) in += emoji;
    EXPECT_EQ(MyLibClass::FormatText(in, width), in + crlf);
}

TEST(Utilities, GetRandomStaysWithinBoundsAndReachesBoth) {
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        const qint32 r = MyLibClass::GetRandom(1, 3);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 3);
        low = low || r == 1;
        high = high || r == 3;
    }
    EXPECT_TRUE(low);
    EXPECT_TRUE(high);
    EXPECT_EQ(MyLibClass::GetRandom(7, 7), 7);
}

TEST(Utilities, Wait1msWaitsForTheTicksOrTheStopFlag) {
    ScriptedModal modal;
    bool stop = false;
    QElapsedTimer clock;
    clock.start();
    MyLibClass::Wait1ms(30, modal, stop);
    EXPECT_GE(clock.elapsed(), 30);
    EXPECT_GE(modal.processEventsCalls, 2);  // events ran before the first check and while waiting

    // Wait1ms(0) returns on the first tick change.
    modal.clear();
    clock.restart();
    MyLibClass::Wait1ms(0, modal, stop);
    EXPECT_LT(clock.elapsed(), 50);

    // A Stop press ends a long wait at once.
    modal.clear();
    modal.onProcessEvents = [&stop](int call) {
        if (call == 3) stop = true;
    };
    clock.restart();
    MyLibClass::Wait1ms(30000, modal, stop);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(modal.processEventsCalls, 3);
}

// Environment variables set for one test and put back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(const QList<QByteArray>& names) {
        for (const QByteArray& n : names) saved_.append({n, qgetenv(n.constData()), qEnvironmentVariableIsSet(n.constData())});
    }
    ~EnvGuard() {
        for (const auto& s : saved_) {
            if (s.set) qputenv(s.name.constData(), s.value);
            else qunsetenv(s.name.constData());
        }
    }

private:
    struct Saved {
        QByteArray name, value;
        bool set;
    };
    QList<Saved> saved_;
};

TEST(Utilities, TempDirReadsTmpThenTempInWindowsForm) {
    TempDrive drive(u'T');
    drive.mkdir(QStringLiteral("tmp"));
    FileSystem fs(drive.driveMap(), QStringLiteral("T:\\"));
    MyLibClass lib(fs, QString());
    EnvGuard guard({"TMP", "TEMP", "TMPDIR"});
    const QByteArray host = drive.host(QStringLiteral("tmp")).toLocal8Bit();
    const struct {
        const char *tmp, *temp, *tmpdir;
        QString dir;
    } cases[] = {{"C:\\Temp", "D:\\Other", nullptr, QStringLiteral("C:\\Temp")},
                 {nullptr, "D:\\Other", nullptr, QStringLiteral("D:\\Other")},
                 {"", "D:\\Other", nullptr, QStringLiteral("D:\\Other")},
                 {host.constData(), nullptr, nullptr, QStringLiteral("T:\\tmp")},
                 {nullptr, nullptr, host.constData(), QStringLiteral("T:\\tmp")},
                 {"/no/drive/here", nullptr, nullptr, QStringLiteral("/no/drive/here")},
                 {nullptr, nullptr, nullptr, QString()}};
    for (const auto& c : cases) {
        const std::pair<const char*, const char*> vars[] = {{"TMP", c.tmp}, {"TEMP", c.temp}, {"TMPDIR", c.tmpdir}};
        for (const auto& [name, value] : vars) {
            if (value) qputenv(name, value);
            else qunsetenv(name);
        }
        EXPECT_EQ(lib.GetTempDir(), c.dir);
        EXPECT_EQ(lib.GetTempDrive(), c.dir.left(2));
        EXPECT_EQ(MyLibClass::GET_ENV(QStringLiteral("TMP")), c.tmp ? q(c.tmp) : QString());
    }
}

class SystemTest : public ::testing::Test {
protected:
    SystemTest() : fs(drive.driveMap(), QStringLiteral("D:\\")), lib(fs, QString()) {}
    TempDrive drive;
    FileSystem fs;
    MyLibClass lib;
    ScriptedModal modal;
};

TEST_F(SystemTest, InsertFileAppendsEachLineWithCrLf) {
    drive.write(QStringLiteral("src.txt"), QByteArray("a\r\n\x95\x5c\rc"));  // 表 holds a 0x5C byte
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("X\r\n");
    EXPECT_TRUE(lib.InsertFile(QStringLiteral("D:\\src.txt"), out, modal));
    EXPECT_EQ(out.data(), QByteArray("X\r\na\r\n\x95\x5c\r\nc\r\n"));
    EXPECT_EQ(modal.processEventsCalls, 3);  // once before each line

    EXPECT_FALSE(lib.InsertFile(QStringLiteral("D:\\missing.txt"), out, modal));
    EXPECT_EQ(out.data(), QByteArray("X\r\na\r\n\x95\x5c\r\nc\r\n"));
}

#ifdef Q_OS_LINUX
TEST_F(SystemTest, ExistApiLooksTheFunctionUpInTheLibrary) {
    const struct {
        const char *function, *library;
        bool exists;
    } cases[] = {{"cos", "libm.so.6", true},
                 {"no_such_function_here", "libm.so.6", false},
                 {"cos", "libno_such_library.so", false},
                 {"GetTickCount", "kernel32.dll", false},
                 {"cos", "Q:\\libm.so.6", false}};  // an unmapped drive
    for (const auto& c : cases) EXPECT_EQ(lib.ExistAPI(q(c.function), q(c.library)), c.exists) << c.function << " " << c.library;
}
#endif

}  // namespace
}  // namespace ksn
