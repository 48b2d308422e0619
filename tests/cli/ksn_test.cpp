// The command line as a user runs it: the real program, its output, its exit status, its files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <random>
#include <vector>

#include "tempdrive.h"

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;

QString q(const char* s) { return QString::fromUtf8(s); }

// Drive D:, the program started in D:\ (relative paths start there) with D: as its only drive.
class Ksn : public ::testing::Test {
protected:
    test::ProgramRun ksn(const QStringList& args) const { return test::runProgram(q(KSN_EXE), drive, args); }
    QString file(const char* relative) const { return drive.host(q(relative)); }
    // Runs and checks the exit code; gives stdout.
    QString expect(int exitCode, const QStringList& args) const {
        const test::ProgramRun r = ksn(args);
        EXPECT_EQ(r.exitCode, exitCode) << args.join(u' ').toStdString() << "\n" << r.err.toStdString();
        return r.out;
    }
    void write(const std::vector<std::pair<const char*, QByteArray>>& files) const {
        for (const auto& [name, bytes] : files) drive.write(q(name), bytes);
    }

    test::TempDrive drive;
};

class Formations : public Ksn {
protected:
    Formations() {
        write({{"KSN/cars/a40.bmp", makeBmp(120, 40)}, {"KSN/cars/b38.bmp", makeBmp(120, 38)},
               {"KSN/express.KSN", ksnBytes({"特急 ソニック", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\A40.BMP;先頭",
                                             "cars\\b38.bmp", "\\\\server\\share\\x.bmp"})},
               {"KSN/local.KSN", ksnBytes({"Local", " ", "D:\\KSN\\cars\\a40.bmp"})}});
    }
};

TEST_F(Formations, ShowListsTheCarsInEachSaveMode) {
    const struct {
        const char* file;
        QStringList options;
        const char* out;
    } cases[] = {
        {"KSN/express.KSN", {}, "特急 ソニック\nhorn.wav;汽笛\nA40.BMP;先頭\nb38.bmp\nx.bmp\n"},
        {"KSN/express.KSN", {"--mode", "as-in-file", "--comments", "off"},
         "特急 ソニック\nD:\\KSN\\horn.wav\nD:\\KSN\\cars\\A40.BMP\ncars\\b38.bmp\n\\\\server\\share\\x.bmp\n"},
        // Relative paths resolve against the default folder, as after the editor's folder scan.
        {"KSN/express.KSN", {"--mode", "no-drive", "--default-folder", file("KSN")},
         "特急 ソニック\n\\KSN\\horn.wav;汽笛\n\\KSN\\cars\\A40.BMP;先頭\n\\KSN\\cars\\b38.bmp\n\\x.bmp\n"},
        // D: is no longer mapped: the paths stay on D:, and the file itself is now Q:\local.KSN.
        {"KSN/local.KSN", {"--drive", "Q:=" + file("KSN"), "--mode", "no-drive"}, "Local\n \n\\KSN\\cars\\a40.bmp\n"}};
    for (const auto& c : cases)
        EXPECT_EQ(expect(0, QStringList{"show", file(c.file)} + c.options), q(c.out));
    EXPECT_EQ(expect(0, {"list", file("KSN")}), q("express.KSN\t特急 ソニック\nlocal.KSN\tLocal\n"));
}

TEST_F(Formations, CheckReportsCarsOfAnotherHeightWithExitOne) {
    const QString express = file("KSN/express.KSN");
    EXPECT_EQ(expect(1, {"check", "--default-folder", file("KSN"), express, file("KSN/local.KSN")}),
              express + q(":2: cars\\b38.bmp: height 38, first car 40\n") + express +
                  q(":3: \\\\server\\share\\x.bmp: height 0, first car 40\n"));
    expect(0, {"check", file("KSN/local.KSN")});
}

TEST_F(Formations, RewriteWritesTheFolderAndDryRunOnlyNamesTheFiles) {
    const QByteArray before = drive.read(q("KSN/express.KSN"));
    EXPECT_EQ(expect(0, {"rewrite", file("KSN"), "--dry-run"}), q("express.KSN\nlocal.KSN\n"));
    EXPECT_EQ(drive.read(q("KSN/express.KSN")), before);

    const test::ProgramRun r = ksn({"rewrite", file("KSN"), "--comments", "off"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(q("2 of 2 files rewritten (2 changed)\n"))) << r.out.toStdString();
    EXPECT_EQ(drive.read(q("KSN/express.KSN")), ksnBytes({"特急 ソニック", "horn.wav", "A40.BMP", "b38.bmp", "x.bmp"}));
    // The height check's message goes to stderr, as the editor would have shown it.
    EXPECT_TRUE(r.err.contains(q("異なる規格のファイルが混在しています。")));
}

TEST_F(Formations, BadUsageExitsTwoAndSaysWhy) {
    const struct {
        QStringList args;
        const char* err;
    } cases[] = {{{}, "no command"}, {{"frobnicate"}, "unknown command"}, {{"show", "nowhere.KSN"}, "no such file"},
                 {{"list", "no-such-folder"}, "no such folder"}, {{"show", "x", "--mode", "sideways"}, "unknown save mode"},
                 {{"list", "--drive", "C=/tmp"}, "C=/tmp"}, {{"show", "x", "--no-bellows"}, "belong to parade"},
                 {{"show", "/etc/hostname"}, "/etc/hostname"},  // under no drive of the map
                 {{"parade"}, "parade takes one FILE"}, {{"render", "x"}, "render takes one FILE and -o OUT"},
                 {{"show", "x", "-o", "y"}, "--output belongs to render"}};
    for (const auto& c : cases) {
        const test::ProgramRun r = ksn(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(q(c.err))) << r.err.toStdString();
    }
}

TEST_F(Ksn, ParadePrintsTheTrainAsTheScreensaverReadsIt) {
    write({{"KSN/a40.bmp", makeBmp(120, 40)}, {"KSN/bellows.bmp", makeBmp(12, 40)}, {"KSN/flat.bmp", makeBmp(120, 0)},
           {"cars/b40.bmp", makeBmp(100, 40)}, {"KSN/flat.KSN", ksnBytes({"T", "S", "a40.bmp", "flat.bmp"})},
           {"KSN/p.KSN", ksnBytes({"特急 つばさ", "horn.wav;汽笛", "a40.bmp;先頭", "bellows.bmp", "cars\\b40.bmp",
                                   "gone.bmp", "a40.bmp;again"})}});
    const QString head = q("特急 つばさ\nhorn.wav;汽笛\n");
    test::ProgramRun r = ksn({"parade", file("KSN/p.KSN")});
    EXPECT_EQ(r.out, head + q("4\n0\t1\tD:\\KSN\\a40.bmp\t先頭\n1\t0\tD:\\KSN\\bellows.bmp\t\n2\t1\tcars\\b40.bmp\t\n"
                              "0 1 2 0\n"));
    EXPECT_TRUE(r.err.endsWith(q("KSN= D:\\KSN\\p.KSN\nLine= 6\nCAR= D:\\KSN\\gone.bmp\n"))) << r.err.toStdString();
    r = ksn({"parade", file("KSN/p.KSN"), "--no-bellows", "--quiet"});
    EXPECT_EQ(r.out, head + q("3\n0\t1\tD:\\KSN\\a40.bmp\t先頭\n1\t1\tcars\\b40.bmp\t\n0 1 0\n"));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    // An error the screensaver stops at is told even when quiet; a missing file only when not.
    const struct {
        QStringList args;
        const char* err;
    } failures[] = {{{"parade", file("KSN/flat.KSN"), "--quiet"}, "Division by zero (Err.Number= 11)"},
                    {{"parade", file("KSN/none.KSN")}, "KSN= D:\\KSN\\none.KSN"},
                    {{"parade", file("KSN/none.KSN"), "--quiet"}, ""}};
    for (const auto& f : failures) {
        r = ksn(f.args);
        EXPECT_EQ(r.exitCode, 2) << f.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(*f.err ? r.err.contains(q(f.err)) : r.err.isEmpty()) << r.err.toStdString();
    }
}

TEST_F(Ksn, RenderDrawsTheStripOrWritesNothing) {
    constexpr QRgb kRed = 0xFFCC2200, kGreen = 0xFF22AA44, kBlue = 0xFF2244CC;
    write({{"KSN/a.bmp", makeBmp(100, 40, kRed & 0xFFFFFF)}, {"KSN/cars/b.bmp", makeBmp(120, 40, kGreen & 0xFFFFFF)},
           {"KSN/c.bmp", makeBmp(80, 30, kBlue & 0xFFFFFF)},
           {"KSN/express.KSN",
            ksnBytes({"Express", "horn.wav", "D:\\KSN\\a.bmp;front", "cars\\b.bmp", "missing.bmp", "c.bmp;rear"})},
           {"KSN/ghost.KSN", ksnBytes({"Ghost", "horn.wav", "x.bmp", "y.bmp"})}});
    // As in the file: the relative path finds the cars folder; the missing car closes up.
    expect(0, {"render", file("KSN/express.KSN"), "-o", file("out.png"), "--mode", "as-in-file", "--default-folder",
               file("KSN")});
    const QImage image(file("out.png"), "PNG");
    ASSERT_EQ(image.size(), QSize(300, 40));
    const std::pair<QPoint, QRgb> pixels[] = {{{99, 39}, kRed},  {{100, 0}, kGreen}, {{219, 39}, kGreen},
                                              {{220, 0}, kBlue}, {{299, 29}, kBlue}};
    for (const auto& [at, colour] : pixels) EXPECT_EQ(image.pixel(at), colour) << at.x() << "," << at.y();
    EXPECT_EQ(qAlpha(image.pixel(299, 30)), 0);  // below the shorter car

    const test::ProgramRun ghost = ksn({"render", file("KSN/ghost.KSN"), "--output", file("ghost.png")});
    EXPECT_EQ(ghost.exitCode, 2);
    EXPECT_TRUE(ghost.err.contains(q("no car file"))) << ghost.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("ghost.png")));
    expect(1, {"render", file("KSN/express.KSN"), "-o", file("no/such/dir/x.png"), "--default-folder", file("KSN")});
}

// A batch rewrite killed at any moment: every formation file is its old bytes or its new bytes,
// never a mix, never empty (saves run a few at a time, so which ones are done is not a prefix).
TEST(KilledRewrite, LeavesEveryFileWholeOldOrNew) {
    constexpr int kFiles = 300;
    std::mt19937 rng(20261205);  // fixed: the same kill points on every run
    for (int round = 0; round < 6; ++round) {
        test::TempDrive drive;
        QByteArray oldBytes[kFiles], newBytes[kFiles];
        const auto name = [](int i) { return QStringLiteral("KSN/f%1.KSN").arg(i, 3, 10, QLatin1Char('0')); };
        for (int i = 0; i < kFiles; ++i) {
            QStringList lines{QStringLiteral("列車 %1").arg(i), "C:\\snd\\horn.wav;汽笛"}, rewritten{lines[0], "horn.wav;汽笛"};
            for (int c = 0; c < 40; ++c) {
                lines << QStringLiteral("C:\\Trains\\folder%1\\car%2.bmp;comment %2").arg(i).arg(c);
                rewritten << QStringLiteral("car%1.bmp;comment %1").arg(c);
            }
            drive.write(name(i), oldBytes[i] = ksnBytes(lines));
            newBytes[i] = ksnBytes(rewritten);
        }
        QProcess p;
        p.setEnvironment(QProcess::systemEnvironment() << q("KSNED_DRIVES=D:=") + drive.hostRoot());
        p.start(q(KSN_EXE), {q("rewrite"), drive.host(q("KSN"))});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(20, 400)(rng));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray now = drive.read(name(i));
            ASSERT_TRUE(now == oldBytes[i] || now == newBytes[i]) << "round " << round << ", file " << i;
        }
    }
}

}  // namespace
}  // namespace ksn
