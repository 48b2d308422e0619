#include "drivemap.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

namespace ksn {
namespace {

struct ParseCase {
    const char* text;
    const char* parsed;  // toString() of the map; nullptr: refused
};

class ParseDrives : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDrives, ReadsLettersAndRootsOrRefusesTheEntry) {
    const ParseCase& c = GetParam();
    QString error;
    const auto m = DriveMap::parse(QString::fromUtf8(c.text), &error);
    if (!c.parsed) {
        EXPECT_FALSE(m.has_value());
        // The message names the entry at fault so that the user can find it.
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.text).split(u';').last())) << error.toStdString();
        return;
    }
    ASSERT_TRUE(m.has_value()) << error.toStdString();
    EXPECT_EQ(m->toString(), QString::fromUtf8(c.parsed));
    EXPECT_FALSE(m->isIdentity());
    // What toString writes, parse reads back unchanged.
    EXPECT_EQ(DriveMap::parse(m->toString())->drives(), m->drives());
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseDrives,
                         ::testing::Values(ParseCase{"C:=/srv/c;D:=/mnt/d", "C:=/srv/c;D:=/mnt/d"},
                                           ParseCase{" d:=/mnt/d ; c:=/srv/c ;", "C:=/srv/c;D:=/mnt/d"},
                                           ParseCase{"C:=/a;c:=/b", "C:=/b"}, ParseCase{"Z:=/", "Z:=/"},
                                           ParseCase{"", ""}, ParseCase{"C:=/srv/c;D=/mnt/d", nullptr},
                                           ParseCase{"C:/srv/c", nullptr}, ParseCase{"C:=", nullptr},
                                           ParseCase{"1:=/x", nullptr}, ParseCase{"CD:=/x", nullptr}));

// A Wine prefix laid out as Wine makes it: dosdevices/c: -> ../drive_c, z: -> /.
class WinePrefix : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        prefix = QDir(dir.path()).canonicalPath();
        ASSERT_TRUE(QDir(prefix).mkpath(QStringLiteral("dosdevices")));
        ASSERT_TRUE(QDir(prefix).mkpath(QStringLiteral("drive_c")));
    }
    void link(const QString& target, const QString& name) const {
        ASSERT_TRUE(QFile::link(target, prefix + QStringLiteral("/dosdevices/") + name));
    }

    QTemporaryDir dir;
    QString prefix;
};

TEST_F(WinePrefix, DosDeviceLinksNameTheDriveRoots) {
    link(QStringLiteral("../drive_c"), QStringLiteral("c:"));
    link(QStringLiteral("/"), QStringLiteral("z:"));
    link(QStringLiteral("/dev/null"), QStringLiteral("c::"));          // the raw device, no drive
    link(QStringLiteral("/nonexistent/cdrom"), QStringLiteral("e:"));  // a drive whose media is absent
    const DriveMap m = DriveMap::fromWinePrefix(prefix);
    EXPECT_EQ(m.root(u'C'), prefix + QStringLiteral("/drive_c"));
    EXPECT_EQ(m.root(u'Z'), QStringLiteral("/"));
    EXPECT_EQ(m.root(u'E'), QStringLiteral("/nonexistent/cdrom"));
    EXPECT_EQ(m.drives().size(), 3u);
}

// Puts the variables detect() reads back as they were before the test.
struct EnvGuard {
    const char* names[3] = {"KSNED_DRIVES", "WINEPREFIX", "HOME"};
    std::optional<QByteArray> saved[3];
    EnvGuard() {
        for (int i = 0; i < 3; ++i)
            if (qEnvironmentVariableIsSet(names[i])) saved[i] = qgetenv(names[i]);
    }
    ~EnvGuard() {
        for (int i = 0; i < 3; ++i) saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
    }
};

TEST_F(WinePrefix, DetectPrefersTheDrivesVariableThenThePrefixThenHomeWine) {
    link(QStringLiteral("../drive_c"), QStringLiteral("c:"));
    const EnvGuard env;
    qputenv("KSNED_DRIVES", "C:=/srv/c;D:=/mnt/d");
    qputenv("WINEPREFIX", prefix.toUtf8());
    EXPECT_EQ(DriveMap::detect().toString(), QStringLiteral("C:=/srv/c;D:=/mnt/d"));

    // A malformed or blank variable does not hide the prefix.
    qputenv("KSNED_DRIVES", "C=/srv/c");
    EXPECT_EQ(DriveMap::detect().root(u'C'), prefix + QStringLiteral("/drive_c"));
    qputenv("KSNED_DRIVES", "  ");
    EXPECT_EQ(DriveMap::detect().root(u'C'), prefix + QStringLiteral("/drive_c"));

    // Without WINEPREFIX the prefix is ~/.wine.
    qunsetenv("KSNED_DRIVES");
    qunsetenv("WINEPREFIX");
    QTemporaryDir home;
    ASSERT_TRUE(QFile::rename(prefix, home.path() + QStringLiteral("/.wine")));
    qputenv("HOME", home.path().toUtf8());
    EXPECT_EQ(DriveMap::detect().root(u'C'), QDir::cleanPath(home.path() + QStringLiteral("/.wine/drive_c")));
    qputenv("HOME", (home.path() + QStringLiteral("/nowhere")).toUtf8());
    EXPECT_EQ(DriveMap::detect().toString(), QStringLiteral("Z:=/"));
}

}  // namespace
}  // namespace ksn
