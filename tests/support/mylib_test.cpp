#include "mylib.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <climits>

#include "filesystem.h"
#include "linereader.h"
#include "tempdrive.h"

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

struct SplitCase {
    const char* line;
    const char* before;  // F_STR(line, ";")
    const char* after;   // B_STR(line, ";")
    const char* path;    // DelComment(line)
};

class LineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplit, CutsAtTheFirstSemicolon) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(MyLibClass::F_STR(q(c.line), q(";")), q(c.before));
    EXPECT_EQ(MyLibClass::B_STR(q(c.line), q(";")), q(c.after));
    EXPECT_EQ(MyLibClass::DelComment(q(c.line)), q(c.path));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineSplit,
    ::testing::Values(SplitCase{"", "", "", ""}, SplitCase{"car1.bmp", "car1.bmp", "", "car1.bmp"},
                      SplitCase{"car1.bmp;", "car1.bmp", "", "car1.bmp"},
                      SplitCase{"car1.bmp;a;b", "car1.bmp", "a;b", "car1.bmp"},
                      SplitCase{";front", "", "front", ""}, SplitCase{";", "", "", ""},
                      // Only U+0020 is trimmed, and only by DelComment; comments are kept exactly.
                      SplitCase{"  car1.bmp  ;  red  ", "  car1.bmp  ", "  red  ", "car1.bmp"},
                      SplitCase{"\tcar\u3000.bmp ;x", "\tcar\u3000.bmp ", "x", "\tcar\u3000.bmp"},
                      SplitCase{"表\\ソ.bmp;能", "表\\ソ.bmp", "能", "表\\ソ.bmp"}));

TEST(MyLib, FileSkipLoadStopsAfterTheEqualLine) {
    const QByteArray bytes = ksnBytes({q("[Train]"), q("Title "), q("Title"), q("next")});
    int events = 0;
    const auto count = [&events] { ++events; };

    LineReader found(bytes);
    EXPECT_TRUE(MyLibClass::FileSkipLoad(q("Title"), found, count));
    EXPECT_EQ(events, 3);  // events ran before each line read
    EXPECT_EQ(found.readLine(), q("next"));

    events = 0;
    LineReader missing(bytes);
    EXPECT_FALSE(MyLibClass::FileSkipLoad(q("title"), missing, count));
    EXPECT_EQ(events, 4);
    EXPECT_TRUE(missing.atEnd());

    LineReader empty(QByteArray{});
    EXPECT_FALSE(MyLibClass::FileSkipLoad(QString(), empty, nullptr));
}

// Car images on drive D:, the current directory D:\Cars.
class BmpTest : public ::testing::Test {
  protected:
    BmpTest() : fs(drive.driveMap(), q("D:\\")), lib(fs, drive.host(q("KSNED32.exe"))) {
        drive.write(q("Cars/car1.bmp"), makeBmp(320, 40));
        drive.write(q("Cars/topdown.bmp"), makeBmp(320, -40));
        drive.write(q("表示/ソ.BMP"), makeBmp(12, 34));
        QByteArray odd(26, '\0');  // no "BM", extreme values: only the two fields are read
        odd.replace(18, 8, QByteArray("\xFF\xFF\xFF\xFF\x00\x00\x00\x80", 8));
        drive.write(q("Cars/odd.bmp"), odd);
        drive.write(q("Cars/short22.bmp"), makeBmp(7, 9).left(22));
        drive.write(q("Cars/short25.bmp"), makeBmp(7, 9).left(25));
        drive.write(q("Cars/empty.bmp"), QByteArray());
        drive.mkdir(q("Cars/folder.bmp"));
        EXPECT_TRUE(fs.setCurrentDirectory(q("D:\\Cars")));
    }

    TempDrive drive;
    FileSystem fs;
    MyLibClass lib;
};

TEST_F(BmpTest, ReadsWidthAndHeightFromTheHeader) {
    const struct {
        const char* path;
        std::int32_t width, height;
    } cases[] = {{"D:\\Cars\\car1.bmp", 320, 40},
                 {"d:/cars/CAR1.BMP", 320, 40},
                 {"car1.bmp", 320, 40},  // against the current directory
                 {"..\\表示\\ソ.bmp", 12, 34},
                 {"topdown.bmp", 320, -40},
                 {"odd.bmp", -1, INT_MIN},
                 {"short22.bmp", 7, 0},
                 {"short25.bmp", 7, 0},  // too short for the height
                 {"empty.bmp", 0, 0},
                 {"folder.bmp", 0, 0},
                 {"missing.bmp", 0, 0},
                 {"E:\\car1.bmp", 0, 0},
                 {"", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(lib.GetBMPWidth(q(c.path)), c.width) << c.path;
        EXPECT_EQ(lib.GetBMPHeight(q(c.path)), c.height) << c.path;
    }
    EXPECT_FALSE(QFileInfo::exists(drive.host(q("Cars/missing.bmp"))));
}

}  // namespace
}  // namespace ksn
