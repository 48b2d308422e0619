// The drive map against winepath on a real prefix: the only check that what the editor writes is
// what Wine reads, so without a working Wine the test fails.

#include <QProcess>
#include <QScopeGuard>
#include <string>
#include "testkit/common.h"

#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"

namespace ksn {
namespace {

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

// The file a host path names, links resolved (winepath answers through dosdevices); empty for none.
std::string file(const QString& path) { return QFileInfo(path).canonicalFilePath().toStdString(); }

TEST(Wine, DrivesConvertBothWaysAsWineDoes) {
    const QTemporaryDir dir;
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
    // K: inside C:'s folder (the deepest root wins); L: and N: on one root (the lowest letter wins), by a
    // relative link as Wine writes them and an absolute one; J: outside the prefix, names with 0x5C bytes.
    const char* rows[][2] = {{"prefix/drive_c/Trains/Express.KSN", "K:\\Express.KSN"},
                             {"prefix/drive_c/Trains/nested/Cars/car1.bmp", "L:\\Cars\\car1.bmp"},
                             {"host/編成/ソフト/表.bmp", "J:\\ソフト\\表.bmp"}};
    QStringList hosts, ours;
    for (const auto& r : rows) {
        hosts << host(r[0]);
        QDir().mkpath(QFileInfo(hosts.back()).absolutePath());
        ASSERT_TRUE(QFile(hosts.back()).open(QIODevice::WriteOnly)) << r[0];
    }
    const char* links[][2] = {{"../drive_c/Trains", "prefix/dosdevices/k:"},
                              {"../drive_c/Trains/nested", "prefix/dosdevices/l:"},
                              {"@prefix/drive_c/Trains/nested", "prefix/dosdevices/n:"},
                              {"@host/編成", "prefix/dosdevices/j:"}};
    for (const auto& [target, link] : links)
        ASSERT_TRUE(QFile::link(target[0] == '@' ? host(target + 1) : q(target), host(link))) << link;
    const FileSystem fs(DriveMap::detect(), "C:\\");  // from the prefix alone
    const auto winepath = [&](const char* option, const QStringList& paths) {
        return run("winepath", QStringList{q(option)} + paths, &error);
    };

    for (const QString& h : hosts) ours << fs.toWindows(h).value_or("refused");
    const QStringList wine = winepath("-w", hosts), back = winepath("-u", ours);
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        EXPECT_EQ(ours[i].toStdString(), rows[i][1]);
        EXPECT_EQ(wine.value(i).toStdString(), rows[i][1]);
        EXPECT_EQ(file(back.value(i)), file(hosts[i])) << rows[i][1];
    }

    // Windows paths find the host file winepath -u finds, components matched without regard to case.
    const char* paths[][2] = {
        {"k:\\EXPRESS.ksn", "prefix/drive_c/Trains/Express.KSN"},
        {"N:\\Cars", "prefix/drive_c/Trains/nested/Cars"},
        {"j:\\ソフト\\表.BMP", "host/編成/ソフト/表.bmp"},
        {"K:\\..\\..\\nested", "prefix/drive_c/Trains/nested"},      // ".." stops at the root
        {"K:\\Express.KSN. ", "prefix/drive_c/Trains/Express.KSN"},  // trailing dots and blanks go
    };
    // Left out: names differing only in case, none spelt as asked (Wine takes any), and network paths.
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
