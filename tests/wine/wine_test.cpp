// The drive map against Wine itself: a real prefix made by wineboot, drives added as Wine's own
// dosdevices links, and every conversion compared with what winepath (Wine's own translation) gives.
// Without a working Wine the test fails: it is the only check that what the editor writes is what
// Wine reads. Making the prefix takes seconds and each winepath run up to a few, so one prefix
// serves both directions and winepath is handed every path of a table in one run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <string>

#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

// Runs a program to its end: its output lines, or on failure why.
QStringList run(const QString& program, const QStringList& args, QString* error, int timeoutMs = 120000) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0) {
        *error = program + " failed: " + p.errorString() + ' ' + QString::fromUtf8(p.readAllStandardError());
        p.kill();
        p.waitForFinished();
    }
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    if (text.endsWith(u'\n')) text.chop(1);
    return text.split(u'\n');
}

// The file a host path names, links resolved: winepath -u answers through the prefix's dosdevices
// links, the editor through their targets. Every path compared names an existing file, so an empty
// answer (no such file) never matches.
std::string file(const QString& path) { return QFileInfo(path).canonicalFilePath().toStdString(); }

TEST(Wine, DrivesConvertBothWaysAsWineDoes) {
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString base = QFileInfo(dir.path()).canonicalFilePath(), prefix = base + "/prefix";
    const auto host = [&](const char* relative) { return base + u'/' + q(relative); };
    // Wine headless on this prefix, in a UTF-8 locale: Wine's Unix code page follows the locale, and
    // with any other the Japanese names would not come through. No offer to install Mono or Gecko.
    for (const char* gone : {"DISPLAY", "WAYLAND_DISPLAY", "KSNED_DRIVES"}) qunsetenv(gone);
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    for (const QString& v :
         q("WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=C.UTF-8 LC_ALL=C.UTF-8").split(u' '))
        qputenv(v.section(u'=', 0, 0).toUtf8().constData(), v.section(u'=', 1).toUtf8());
    QString error;
    const auto stopServer = qScopeGuard([&] { run("wineserver", {"-k"}, &error); });  // it outlives winepath
    run("wineboot", {"-i"}, &error, 180000);
    ASSERT_TRUE(error.isEmpty() && QFileInfo(prefix + "/dosdevices").isDir())
        << "Wine could not make a prefix (Debian's wine and wine64 are needed): " << error.toStdString();
    // C: holds the formation folder K:, which holds the car folder mapped twice (L: through a
    // relative link as Wine writes them, N: through an absolute one); J: is a folder outside the
    // prefix with a Japanese name. Names with a 0x5C second byte in Shift-JIS: ソ 表.
    for (const char* f : {"prefix/drive_c/Trains/Express.KSN", "prefix/drive_c/Trains/nested/Cars/car1.bmp",
                          "host/編成/ソフト/表.bmp"}) {
        QDir().mkpath(QFileInfo(host(f)).absolutePath());
        ASSERT_TRUE(QFile(host(f)).open(QIODevice::WriteOnly)) << f;
    }
    const char* links[][2] = {{"../drive_c/Trains", "prefix/dosdevices/k:"},
                              {"../drive_c/Trains/nested", "prefix/dosdevices/l:"},
                              {"@prefix/drive_c/Trains/nested", "prefix/dosdevices/n:"},
                              {"@host/編成", "prefix/dosdevices/j:"},
                              {"@prefix/drive_c/Trains/nested/Cars", "host/cars-link"}};  // no drive
    for (const auto& [target, link] : links)
        ASSERT_TRUE(QFile::link(target[0] == '@' ? host(target + 1) : q(target), host(link))) << link;
    const FileSystem fs(DriveMap::detect(), "C:\\");  // from the prefix alone
    const auto winepath = [&](const char* option, const QStringList& paths) {
        QString why;
        QStringList lines = run("winepath", QStringList{q(option)} + paths, &why);
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
        EXPECT_EQ(lines.size(), paths.size()) << lines.join(u'\n').toStdString();
        return lines;
    };

    // Host files and folders take the Windows form winepath -w gives: the deepest drive root holding
    // them, the lowest letter when two drives share a root.
    const QString z = "Z:" + QString(base).replace(u'/', u'\\');
    const struct {
        const char* host;
        QString ours, wine;  // wine empty: the same as ours
    } rows[] = {
        {"prefix/drive_c/Trains/Express.KSN", "K:\\Express.KSN", {}},  // a drive inside C:'s folder
        // A drive inside K:'s folder, L: before N: on the same root.
        {"prefix/drive_c/Trains/nested/Cars/car1.bmp", "L:\\Cars\\car1.bmp", {}},
        {"host/編成/ソフト/表.bmp", q("J:\\ソフト\\表.bmp"), {}},
        {"host", z + "\\host", {}},
        {"prefix/dosdevices/k:/Express.KSN", "K:\\Express.KSN", {}},
        // Wine takes the deepest drive root along the path as written, so a host link into a drive's
        // folder stays on Z:; the editor resolves the link first and names the file on its drive.
        // Both name the same file (checked below), and a drive letter is what a formation should keep.
        {"host/cars-link/car1.bmp", "L:\\Cars\\car1.bmp", z + "\\host\\cars-link\\car1.bmp"},
    };
    QStringList hosts, ours;
    for (const auto& r : rows) {
        hosts << host(r.host);
        ASSERT_TRUE(QFileInfo::exists(hosts.back())) << r.host;
        QString why;
        ours << fs.toWindows(hosts.back(), &why).value_or("refused: " + why);
    }
    const QStringList wine = winepath("-w", hosts);
    const QStringList back = winepath("-u", ours);  // Wine finds each at the very file it came from
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        EXPECT_EQ(ours[i].toStdString(), rows[i].ours.toStdString()) << hosts[i].toStdString();
        EXPECT_EQ(wine.value(i).toStdString(), (rows[i].wine.isEmpty() ? rows[i].ours : rows[i].wine).toStdString());
        EXPECT_EQ(file(back.value(i)), file(hosts[i])) << ours[i].toStdString();
    }

    // Windows paths find the host file winepath -u finds: existing components matched without regard
    // to case.
    const char* paths[][2] = {
        {"k:\\EXPRESS.ksn", "prefix/drive_c/Trains/Express.KSN"},
        {"K:\\nested\\cars\\CAR1.BMP", "prefix/drive_c/Trains/nested/Cars/car1.bmp"},  // K:'s folder holds L:
        {"N:\\Cars", "prefix/drive_c/Trains/nested/Cars"},
        {"j:\\ソフト\\表.BMP", "host/編成/ソフト/表.bmp"},
        {"K:\\..\\..\\nested", "prefix/drive_c/Trains/nested"},      // ".." stops at the root
        {"K:\\Express.KSN. ", "prefix/drive_c/Trains/Express.KSN"},  // trailing dots and blanks go
    };
    // Left out: several names differing only in case, none spelt as asked (Wine takes the first the
    // folder lists, in no fixed order; Windows cannot hold them), and network paths, which the editor
    // never maps (Wine turns \\srv\share into //srv/share).
    QStringList windows;
    for (const auto& r : paths) windows << q(r[0]);
    const QStringList found = winepath("-u", windows);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const std::string expected = file(host(paths[i][1]));
        ASSERT_FALSE(expected.empty()) << paths[i][1];
        EXPECT_EQ(file(fs.toHost(windows[i]).value_or("none")), expected) << paths[i][0];
        EXPECT_EQ(file(found.value(i)), expected) << paths[i][0];
    }
}

}  // namespace
}  // namespace ksn
