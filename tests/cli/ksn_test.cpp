// The command line as a user runs it: the real program, its output, its exit status.
#include "cp932.h"
#include "tempdrive.h"

#include <gtest/gtest.h>


namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::TempDrive;

using KsnRun = test::ProgramRun;

class KsnTest : public ::testing::Test {
protected:
    KsnTest() {
        drive.write(QStringLiteral("KSN/cars/a40.bmp"), makeBmp(120, 40));
        drive.write(QStringLiteral("KSN/cars/b38.bmp"), makeBmp(120, 38));
        drive.write(QStringLiteral("KSN/express.KSN"),
                    ksnBytes({"特急 ソニック", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\A40.BMP;先頭", "cars\\b38.bmp",
                              "\\\\server\\share\\x.bmp"}));
        drive.write(QStringLiteral("KSN/local.KSN"), ksnBytes({"Local", " ", "D:\\KSN\\cars\\a40.bmp"}));
    }

    KsnRun ksn(const QStringList& args) {
        const KsnRun r = test::runProgram(QStringLiteral(KSN_EXE), drive, args);
        return r;
    }

    TempDrive drive;
};

TEST_F(KsnTest, ShowListsTheCarListInEachMode) {
    const QString file = drive.host(QStringLiteral("KSN/express.KSN"));
    const struct {
        QStringList options;
        const char* expected;
    } cases[] = {
        {{}, "特急 ソニック\nhorn.wav;汽笛\nA40.BMP;先頭\nb38.bmp\nx.bmp\n"},
        {{"--mode", "as-in-file", "--comments", "off"},
         "特急 ソニック\nD:\\KSN\\horn.wav\nD:\\KSN\\cars\\A40.BMP\ncars\\b38.bmp\n\\\\server\\share\\x.bmp\n"},
        // Relative paths resolve against the default folder, as after the editor's folder scan.
        {{"--mode", "no-drive", "--default-folder", drive.host(QStringLiteral("KSN"))},
         "特急 ソニック\n\\KSN\\horn.wav;汽笛\n\\KSN\\cars\\A40.BMP;先頭\n\\KSN\\cars\\b38.bmp\n\\x.bmp\n"},
        {{"--mode", "default-folder", "--default-folder", drive.host(QStringLiteral("KSN/cars"))},
         "特急 ソニック\nD:\\KSN\\cars\\horn.wav;汽笛\nD:\\KSN\\cars\\A40.BMP;先頭\nD:\\KSN\\cars\\b38.bmp\nD:\\KSN\\cars\\x.bmp\n"},
    };
    for (const auto& c : cases) {
        const KsnRun r = ksn(QStringList{"show", file} + c.options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.expected)) << c.options.join(' ').toStdString();
    }
}

TEST_F(KsnTest, ListPrintsFileNamesAndTitles) {
    const KsnRun r = ksn({"list", drive.host(QStringLiteral("KSN"))});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("express.KSN\t特急 ソニック\nlocal.KSN\tLocal\n"));
}

TEST_F(KsnTest, CheckReportsCarsOfAnotherHeightWithExitOne) {
    const QString express = drive.host(QStringLiteral("KSN/express.KSN"));
    const QString local = drive.host(QStringLiteral("KSN/local.KSN"));
    const KsnRun r = ksn({"check", "--default-folder", drive.host(QStringLiteral("KSN")), express, local});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, express + QStringLiteral(":2: cars\\b38.bmp: height 38, first car 40\n") + express +
                         QStringLiteral(":3: \\\\server\\share\\x.bmp: height 0, first car 40\n"));
    EXPECT_EQ(ksn({"check", local}).exitCode, 0);
}

TEST_F(KsnTest, RewriteChangesTheFolderAndDryRunOnlyNamesTheFiles) {
    const QString dir = drive.host(QStringLiteral("KSN"));
    const QByteArray before = drive.read(QStringLiteral("KSN/express.KSN"));
    KsnRun r = ksn({"rewrite", dir, "--dry-run"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("express.KSN\nlocal.KSN\n"));
    EXPECT_EQ(drive.read(QStringLiteral("KSN/express.KSN")), before);

    r = ksn({"rewrite", dir, "--comments", "off"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("2 of 2 files rewritten (2 changed)\n"))) << r.out.toStdString();
    EXPECT_EQ(drive.read(QStringLiteral("KSN/express.KSN")), ksnBytes({"特急 ソニック", "horn.wav", "A40.BMP", "b38.bmp", "x.bmp"}));
    // The height check's message went to stderr, as the editor would have shown it.
    EXPECT_TRUE(r.err.contains(QStringLiteral("異なる規格のファイルが混在しています。")));
}

TEST_F(KsnTest, BadUsageAndMissingFilesExitTwo) {
    const struct {
        QStringList args;
        const char* errContains;
    } cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"show", "nowhere.KSN"}, "no such file"},
        {{"list", "no-such-folder"}, "no such folder"},
        {{"show", "x", "--mode", "sideways"}, "unknown save mode"},
        {{"show", "x", "--comments", "maybe"}, "on or off"},
        {{"list", "--drive", "C=/tmp"}, "C=/tmp"},
        {{"show", "/etc/hostname"}, "/etc/hostname"},  // under no drive of the map
    };
    for (const auto& c : cases) {
        const KsnRun r = ksn(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errContains))) << r.err.toStdString();
    }
}

TEST_F(KsnTest, DriveOptionReplacesTheDetectedMap) {
    const KsnRun r = ksn({"--drive", QStringLiteral("Q:=") + drive.host(QStringLiteral("KSN")), "show", "--mode", "no-drive",
                       drive.host(QStringLiteral("KSN/local.KSN"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // D: is no longer mapped: the path stays on D:, and the file itself is now Q:\local.KSN.
    EXPECT_EQ(r.out, QStringLiteral("Local\n \n\\KSN\\cars\\a40.bmp\n"));
}

}  // namespace
}  // namespace ksn
