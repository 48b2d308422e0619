// The drive map against Wine itself: a real prefix made by wineboot, drives added as Wine's own
// dosdevices links, and every conversion compared with what winepath (Wine's own translation) gives.
//
// Making the prefix takes seconds and each winepath run up to a few, so the prefix is made once for
// the program and winepath is handed every path of a table in one run. Without a working Wine the
// tests fail: they are the only check that what the editor writes is what Wine reads.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "testkit/envguard.h"

namespace ksn {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

// The result of one program run: its output lines, or why it could not run.
struct WineRun {
    QStringList lines;
    QString error;
};

class WineDrives : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid()) {
            setUpError_ = "cannot create a temporary folder";
            return;
        }
        base_ = QFileInfo(dir_->path()).canonicalFilePath();
        prefix_ = base_ + "/prefix";
        const WineRun boot = run("wineboot", {"-i"}, 180000);
        if (!boot.error.isEmpty() || !QFileInfo(prefix_ + "/dosdevices").isDir()) {
            setUpError_ = "Wine could not make a prefix (Debian's wine and wine64 are needed): " + boot.error;
            return;
        }
        // C: holds the formation folder K:, which holds the car folder mapped twice (L: through a
        // relative link as Wine writes them, N: through an absolute one); J: is a folder outside the
        // prefix with a Japanese name. Names with a 0x5C second byte in Shift-JIS: ソ 表 十 能.
        for (const char* f : {"prefix/drive_c/Trains/Express.KSN", "prefix/drive_c/Trains/nested/Cars/car1.bmp",
                              "prefix/drive_c/Trains/表示/ソフト.bmp", "prefix/drive_c/Trains/ａｂｃ/十能.bmp",
                              "prefix/drive_c/Trains/multi/Abc.txt", "prefix/drive_c/Trains/multi/ABC.txt",
                              "host/編成/ソフト/表.bmp"}) {
            const QString path = host(f);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)) setUpError_ = "cannot write " + path;
        }
        const char* links[][2] = {{"../drive_c/Trains", "prefix/dosdevices/k:"},
                                  {"../drive_c/Trains/nested", "prefix/dosdevices/l:"},
                                  {"@prefix/drive_c/Trains/nested", "prefix/dosdevices/n:"},
                                  {"@host/編成", "prefix/dosdevices/j:"},
                                  // Host links, not drives: one to a drive's root, one into a drive's folder.
                                  {"@prefix/drive_c/Trains", "host/trains-link"},
                                  {"@prefix/drive_c/Trains/nested/Cars", "host/cars-link"}};
        for (const auto& [target, link] : links) {
            const QString t = target[0] == '@' ? host(target + 1) : q(target);
            if (!QFile::link(t, host(link))) setUpError_ = "cannot link " + host(link);
        }
    }

    static void TearDownTestSuite() {
        if (!prefix_.isEmpty()) run("wineserver", {"-k"}, 30000);  // the server outlives winepath a while
        dir_.reset();
    }

    void SetUp() override { ASSERT_TRUE(setUpError_.isEmpty()) << setUpError_.toStdString(); }

    // A host path below the temporary folder.
    static QString host(const char* relative) { return *relative ? base_ + u'/' + q(relative) : base_; }

    // Runs a Wine program on the prefix, headless, in a UTF-8 locale: Wine's Unix code page follows
    // the locale, and with any other the Japanese names would not come through.
    static WineRun run(const QString& program, const QStringList& args, int timeoutMs = 120000) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("WINEPREFIX", prefix_);
        env.insert("WINEDEBUG", "-all");
        env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=");  // no offer to install Mono or Gecko
        env.insert("LANG", "C.UTF-8");
        env.insert("LC_ALL", "C.UTF-8");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        WineRun r;
        if (!p.waitForStarted()) {
            r.error = program + " cannot run: " + p.errorString();
            return r;
        }
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
            r.error = program + " took longer than " + QString::number(timeoutMs / 1000) + " s";
            return r;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            r.error = program + " failed: " + QString::fromUtf8(p.readAllStandardError());
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
        if (r.lines.last().isEmpty()) r.lines.removeLast();
        return r;
    }

    // winepath with one option and many paths: one output line per path.
    static QStringList winepath(const char* option, const QStringList& paths) {
        const WineRun r = run("winepath", QStringList{q(option)} + paths);
        EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(r.lines.size(), paths.size()) << r.lines.join(u'\n').toStdString();
        QStringList lines = r.lines;
        while (lines.size() < paths.size()) lines << "(no answer)";
        return lines;
    }

    // The file system as the editor makes it from this prefix alone.
    static FileSystem detected() {
        const test::EnvGuard env{"KSNED_DRIVES", "WINEPREFIX"};
        qunsetenv("KSNED_DRIVES");
        qputenv("WINEPREFIX", QFile::encodeName(prefix_));
        return FileSystem(DriveMap::detect(), "C:\\");
    }

    // A host path as the file it names: the longest existing head with links resolved, then the rest
    // as written. winepath -u answers through the prefix's dosdevices links; the editor through their
    // targets.
    static QString resolved(const QString& path) {
        QString head = QDir::cleanPath(path);
        QString tail;
        while (true) {
            const QString canon = QFileInfo(head).canonicalFilePath();
            if (!canon.isEmpty()) return canon + tail;
            const qsizetype slash = head.lastIndexOf(u'/');
            if (slash <= 0) return path;
            tail = head.mid(slash) + tail;
            head = head.left(slash);
        }
    }

    // winepath -u gives a path on a drive Wine does not have as a path through its missing
    // dosdevices link; such a path names nothing.
    static QString wineFile(const QString& unixPath) {
        const QString dosdevices = prefix_ + "/dosdevices/";
        if (unixPath.startsWith(dosdevices)) {
            const QString link = dosdevices + unixPath.mid(dosdevices.size()).section(u'/', 0, 0);
            if (!QFileInfo(link).isSymLink()) return "none";
        }
        return resolved(unixPath);
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString base_, prefix_, setUpError_;
};

// Host files and folders take the Windows form winepath -w gives: the deepest drive root holding
// them, the lowest letter when two drives share a root.
TEST_F(WineDrives, HostPathsTakeWinesWindowsForm) {
    const QString z = "Z:" + QString(base_).replace(u'/', u'\\');
    struct Row {
        const char* host;
        QString ours;
        QString wine;  // empty: the same as ours
    };
    const Row rows[] = {
        {"prefix/drive_c/Trains/Express.KSN", "K:\\Express.KSN", {}},  // a drive inside C:'s folder
        // A drive inside K:'s folder, L: before N: on the same root.
        {"prefix/drive_c/Trains/nested/Cars/car1.bmp", "L:\\Cars\\car1.bmp", {}},
        {"prefix/drive_c/Trains/nested", "L:\\", {}},
        {"prefix/drive_c", "C:\\", {}},
        {"prefix/drive_c/Trains/表示/ソフト.bmp", q("K:\\表示\\ソフト.bmp"), {}},
        {"host/編成/ソフト/表.bmp", q("J:\\ソフト\\表.bmp"), {}},
        {"host/編成", "J:\\", {}},
        {"host", z + "\\host", {}},
        {"prefix/drive_c/Trains/missing/New.KSN", "K:\\missing\\New.KSN", {}},  // where a new file goes
        {"prefix/dosdevices/k:/Express.KSN", "K:\\Express.KSN", {}},
        {"host/trains-link/Express.KSN", "K:\\Express.KSN", {}},
        // Wine takes the deepest drive root along the path as written, so a host link into a drive's
        // folder stays on Z:; the editor resolves the link first and names the file on its drive.
        // Both name the same file (checked below), and a drive letter is what a formation should keep.
        {"host/cars-link/car1.bmp", "L:\\Cars\\car1.bmp", z + "\\host\\cars-link\\car1.bmp"},
        {"", z, {}},
        {"/", "Z:\\", {}},
    };
    const FileSystem fs = detected();
    QStringList hosts, ours;
    for (const Row& r : rows) {
        hosts << (r.host[0] == '/' ? q(r.host) : host(r.host));
        QString error;
        ours << fs.toWindows(hosts.back(), &error).value_or("refused: " + error);
    }
    const QStringList wine = winepath("-w", hosts);
    // Wine finds every one of our Windows paths at the very file it came from.
    const QStringList back = winepath("-u", ours);
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        const QString wineExpected = rows[i].wine.isEmpty() ? rows[i].ours : rows[i].wine;
        EXPECT_EQ(ours[i].toStdString(), rows[i].ours.toStdString()) << hosts[i].toStdString();
        EXPECT_EQ(wine[i].toStdString(), wineExpected.toStdString()) << hosts[i].toStdString();
        EXPECT_EQ(wineFile(back[i]).toStdString(), resolved(hosts[i]).toStdString()) << ours[i].toStdString();
    }
}

// Windows paths find the host file winepath -u finds: existing components matched without regard
// to case, missing ones kept as written.
TEST_F(WineDrives, WindowsPathsFindWhatWineFinds) {
    const char* rows[][2] = {
        {"k:\\EXPRESS.ksn", "prefix/drive_c/Trains/Express.KSN"},
        {"K:\\nested\\cars\\CAR1.BMP", "prefix/drive_c/Trains/nested/Cars/car1.bmp"},  // K:'s folder holds L:
        {"l:\\cars\\car1.bmp", "prefix/drive_c/Trains/nested/Cars/car1.bmp"},
        {"N:\\Cars", "prefix/drive_c/Trains/nested/Cars"},
        {"C:\\TRAINS\\Nested\\cars\\", "prefix/drive_c/Trains/nested/Cars"},
        {"K:\\Nested\\..\\表示\\ソフト.BMP", "prefix/drive_c/Trains/表示/ソフト.bmp"},
        {"K:/表示/./ソフト.bmp", "prefix/drive_c/Trains/表示/ソフト.bmp"},
        {"j:\\ソフト\\表.BMP", "host/編成/ソフト/表.bmp"},
        {"J:\\", "host/編成"},
        // Full-width letters have case too.
        {"K:\\ＡＢＣ\\十能.BMP", "prefix/drive_c/Trains/ａｂｃ/十能.bmp"},
        {"K:\\multi\\Abc.txt", "prefix/drive_c/Trains/multi/Abc.txt"},  // the exact spelling first
        {"K:\\..\\..\\Trains", "prefix/drive_c/Trains/Trains"},         // ".." stops at the root
        {"K:\\Express.KSN. ", "prefix/drive_c/Trains/Express.KSN"},     // trailing dots and blanks go
        {"k:\\NESTED\\Cars\\New.bmp", "prefix/drive_c/Trains/nested/Cars/New.bmp"},
        {"K:\\missing\\Sub\\x.KSN", "prefix/drive_c/Trains/missing/Sub/x.KSN"},
        {"K:\\Express.KSN\\x", "prefix/drive_c/Trains/Express.KSN/x"},
        {"Q:\\x", nullptr},  // a drive the prefix does not have
    };
    // Left out: several names differing only in case, none spelt as asked (Wine takes the first the
    // folder lists, in no fixed order; Windows cannot hold them), and network paths, which the editor
    // never maps (Wine turns \\srv\share into //srv/share).
    const FileSystem fs = detected();
    QStringList windows;
    for (const auto& r : rows) windows << q(r[0]);
    const QStringList wine = winepath("-u", windows);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const std::string expected = rows[i][1] ? resolved(host(rows[i][1])).toStdString() : "none";
        const auto ours = fs.toHost(windows[i]);
        EXPECT_EQ(ours ? resolved(*ours).toStdString() : "none", expected) << rows[i][0];
        EXPECT_EQ(wineFile(wine[i]).toStdString(), expected)
            << rows[i][0] << " (Wine: " << wine[i].toStdString() << ")";
    }
}

}  // namespace
}  // namespace ksn
