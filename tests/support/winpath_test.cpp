#include "winpath.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>

// Failures show the text, not its UTF-16 code units.
[[maybe_unused]] static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace ksn::winpath {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(WinPath, NamesSplitThePathIntoItsParts) {
    const struct {
        const char *path, *drive, *file, *base, *ext;
    } cases[] = {{"C:\\Trains\\EC\\car1.bmp", "C:", "car1.bmp", "car1", "bmp"},
                 {"c:car1.BMP", "c:", "car1.BMP", "car1", "BMP"},
                 {"C:", "C:", "", "", ""},
                 {"\\\\server\\share", "\\\\server\\share", "", "", ""},
                 {"\\\\server\\share\\x.y.wav", "\\\\server\\share", "x.y.wav", "x.y", "wav"},
                 {"\\Trains\\a.d\\car1", "", "car1", "car1", ""},
                 {"EC/car1.bmp", "", "car1.bmp", "car1", "bmp"},
                 {"1:\\x.bmp", "", "x.bmp", "x", "bmp"},
                 // 0x5C is the second byte of 表 and ソ: only the decoded "\" separates.
                 {"C:\\表\\ソ.bmp", "C:", "ソ.bmp", "ソ", "bmp"}};
    for (const auto& c : cases) {
        const QString p = q(c.path);
        EXPECT_EQ(driveName(p), q(c.drive)) << c.path;
        EXPECT_EQ(fileName(p), q(c.file)) << c.path;
        EXPECT_EQ(baseName(p), q(c.base)) << c.path;
        EXPECT_EQ(extensionName(p), q(c.ext)) << c.path;
    }
}

TEST(WinPath, BuildPathPutsExactlyOneSeparatorBetween) {
    const struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {{"C:\\trains", "car1.bmp", "C:\\trains\\car1.bmp"},
                 {"C:\\trains\\", "car1.bmp", "C:\\trains\\car1.bmp"},
                 {"C:\\trains\\", "\\car1.bmp", "C:\\trains\\car1.bmp"},
                 {"C:\\trains", "\\car1.bmp", "C:\\trains\\car1.bmp"},
                 {"C:/trains/", "car1.bmp", "C:/trains/car1.bmp"},
                 {"C:", "car1.bmp", "C:car1.bmp"},
                 {"", "car1.bmp", "car1.bmp"},
                 {"\\\\srv\\sh", "a.bmp", "\\\\srv\\sh\\a.bmp"},
                 {"C:\\表", "ソ.bmp", "C:\\表\\ソ.bmp"}};
    for (const auto& c : cases)
        EXPECT_EQ(buildPath(q(c.folder), q(c.name)), q(c.joined)) << c.folder << " + " << c.name;
}

TEST(WinPath, BareFileNameHasNoFolderAndAnExtension) {
    for (const char* bare : {"car1.bmp", "x.y.wav", "ソ.bmp"}) EXPECT_TRUE(isBareFileName(q(bare))) << bare;
    for (const char* other : {"car1", "EC\\car1.bmp", "EC/car1.bmp", "D:\\cars\\car1.bmp", "C:car1.bmp", ""})
        EXPECT_FALSE(isBareFileName(q(other))) << other;
}

struct AbsCase {
    const char* path;
    const char* current;
    const char* absolute;
};

class Absolute : public ::testing::TestWithParam<AbsCase> {};

TEST_P(Absolute, ResolvesAgainstTheCurrentDirectory) {
    EXPECT_EQ(absolutePath(q(GetParam().path), q(GetParam().current)), q(GetParam().absolute));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Absolute,
    ::testing::Values(
        AbsCase{"car1.bmp", "C:\\Trains", "C:\\Trains\\car1.bmp"}, AbsCase{"", "C:\\Trains", "C:\\Trains"},
        AbsCase{"EC\\..\\.\\car1.bmp", "C:\\Trains", "C:\\Trains\\car1.bmp"},
        AbsCase{"..\\..\\..\\x", "C:\\a", "C:\\x"}, AbsCase{"\\x\\y", "D:\\Trains", "D:\\x\\y"},
        AbsCase{"/", "D:\\Trains", "D:\\"}, AbsCase{"C:/Trains//EC/", "D:\\", "C:\\Trains\\EC"},
        AbsCase{"C:\\", "D:\\w", "C:\\"}, AbsCase{"C:\\..", "D:\\w", "C:\\"},
        // A drive without a separator is relative to that drive's current directory.
        AbsCase{"C:", "C:\\w", "C:\\w"}, AbsCase{"c:x", "C:\\w", "c:\\w\\x"},
        AbsCase{"E:x", "C:\\w", "E:\\x"},
        // Single periods go from every component, dots and blanks from the end of the last one.
        AbsCase{"C:\\a\\b.\\c", "D:\\", "C:\\a\\b\\c"}, AbsCase{"C:\\a\\b..\\c", "D:\\", "C:\\a\\b..\\c"},
        AbsCase{"C:\\a\\car1.bmp. . ", "D:\\", "C:\\a\\car1.bmp"},
        AbsCase{"C:\\a\\b \\. ", "D:\\", "C:\\a\\b"},
        AbsCase{"\\\\srv\\sh\\a\\..\\b", "C:\\", "\\\\srv\\sh\\b"},
        AbsCase{"//srv/sh/a", "C:\\", "\\\\srv\\sh\\a"}, AbsCase{"\\\\srv\\sh", "C:\\", "\\\\srv\\sh"},
        // A network root keeps its separator as "C:\" does.
        AbsCase{"\\\\srv\\sh\\", "C:\\", "\\\\srv\\sh\\"},
        AbsCase{"\\\\srv\\sh\\a\\..", "C:\\", "\\\\srv\\sh\\"},
        AbsCase{"..", "\\\\srv\\sh\\d", "\\\\srv\\sh\\"}, AbsCase{"x", "\\\\srv\\sh\\d", "\\\\srv\\sh\\d\\x"},
        AbsCase{"\\x", "\\\\srv\\sh\\d", "\\\\srv\\sh\\x"},
        AbsCase{"表\\ソ.bmp", "C:\\能", "C:\\能\\表\\ソ.bmp"}));

// Every combination of awkward components under every kind of prefix: the absolute form is a fixed
// point, does not depend on the current directory any more, starts with its drive part, and keeps
// no "/", no "." or ".." component, and no trailing "\" except after a root.
TEST(WinPath, AbsoluteFormIsAFixedPointStartingWithItsDrive) {
    const QStringList prefixes{q(""),        q("\\"), q("C:"), q("C:\\"), q("d:"), q("\\\\srv\\sh\\"),
                               q("//srv/sh")};
    const QStringList parts{q("a"),    q("."),  q(".."),  q("b."),  q("c.."), q(" d "),
                            q("e. ."), q("表"), q("..."), q(". ."), q("f .")};
    const QStringList currents{q("C:\\cur\\dir"), q("\\\\host\\vol\\sub")};
    for (const QString& cur : currents)
        for (const QString& pre : prefixes)
            for (const QString& x : parts)
                for (const QString& y : parts)
                    for (const QString& z : parts) {
                        const QString in = pre + x + u'\\' + y + u'/' + z;
                        const QString a = absolutePath(in, cur);
                        SCOPED_TRACE(qPrintable(in + QStringLiteral(" -> ") + a));
                        ASSERT_EQ(absolutePath(a, cur), a);
                        ASSERT_EQ(absolutePath(a, q("Q:\\elsewhere")), a);
                        ASSERT_FALSE(driveName(a).isEmpty());
                        ASSERT_TRUE(a.startsWith(driveName(a)));
                        ASSERT_FALSE(a.contains(u'/'));
                        const QStringList comps = componentsAfterRoot(a);
                        ASSERT_FALSE(comps.contains(q(".")) || comps.contains(q("..")));
                        ASSERT_TRUE(!a.endsWith(u'\\') || a == rootOf(a));
                    }
}

}  // namespace
}  // namespace ksn::winpath
