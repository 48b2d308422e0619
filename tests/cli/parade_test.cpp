// ksn parade as a user runs it: the real program, its output, its exit status.
#include "tempdrive.h"

#include <gtest/gtest.h>


namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::TempDrive;

using ParadeRun = test::ProgramRun;

// Drive D: with the formations in D:\KSN; the program runs in D:\, so relative paths start there.
class ParadeTest : public ::testing::Test {
protected:
    ParadeTest() {
        drive.write(QStringLiteral("KSN/a40.bmp"), makeBmp(120, 40));
        drive.write(QStringLiteral("KSN/bellows.bmp"), makeBmp(12, 40));
        drive.write(QStringLiteral("KSN/flat.bmp"), makeBmp(120, 0));
        drive.write(QStringLiteral("cars/b40.bmp"), makeBmp(100, 40));
        drive.write(QStringLiteral("KSN/p.KSN"), ksnBytes({"特急 つばさ", "horn.wav;汽笛", "a40.bmp;先頭", "bellows.bmp",
                                                          "cars\\b40.bmp", "gone.bmp", "a40.bmp;again"}));
        drive.write(QStringLiteral("KSN/empty.KSN"), ksnBytes({"T", "S"}));
        drive.write(QStringLiteral("KSN/flat.KSN"), ksnBytes({"T", "S", "a40.bmp", "flat.bmp"}));
        QStringList many{"T", "S"};
        for (int i = 0; i < 102; ++i) many << QStringLiteral("a40.bmp");
        drive.write(QStringLiteral("KSN/many.KSN"), ksnBytes(many));
    }

    ParadeRun ksn(const QStringList& args) {
        const ParadeRun r = test::runProgram(QStringLiteral(KSN_EXE), drive, args);
        return r;
    }
    QString file(const char* name) const { return drive.host(QStringLiteral("KSN/") + QString::fromUtf8(name)); }

    TempDrive drive;
};

TEST_F(ParadeTest, PrintsTheTrainAsTheScreensaverReadsIt) {
    const char* head = "特急 つばさ\nhorn.wav;汽笛\n";
    const char* carMessage = "KSN= D:\\KSN\\p.KSN\nLine= 6\nCAR= D:\\KSN\\gone.bmp\n";
    const struct {
        QStringList options;
        const char* out;
        const char* err;
    } cases[] = {
        {{}, "4\n0\t1\tD:\\KSN\\a40.bmp\t先頭\n1\t0\tD:\\KSN\\bellows.bmp\t\n2\t1\tcars\\b40.bmp\t\n0 1 2 0\n", carMessage},
        {{"--no-bellows"}, "3\n0\t1\tD:\\KSN\\a40.bmp\t先頭\n1\t1\tcars\\b40.bmp\t\n0 1 0\n", carMessage},
        {{"--quiet"}, "4\n0\t1\tD:\\KSN\\a40.bmp\t先頭\n1\t0\tD:\\KSN\\bellows.bmp\t\n2\t1\tcars\\b40.bmp\t\n0 1 2 0\n", ""},
    };
    for (const auto& c : cases) {
        const ParadeRun r = ksn(QStringList{"parade", file("p.KSN")} + c.options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(head) + QString::fromUtf8(c.out)) << c.options.join(' ').toStdString();
        // The message of the missing car comes last, after its title line.
        const QString err = QString::fromUtf8(c.err);
        EXPECT_TRUE(err.isEmpty() ? r.err.isEmpty() : r.err.endsWith(err)) << r.err.toStdString();
    }
    EXPECT_EQ(ksn({"parade", file("empty.KSN")}).out, QStringLiteral("T\nS\n0\n\n"));
}

TEST_F(ParadeTest, FailuresExitTwoWithTheReasonOnStderr) {
    const struct {
        QStringList args;
        const char* errContains;
    } cases[] = {
        {{"parade", file("many.KSN")}, "Subscript out of range"},
        {{"parade", file("flat.KSN"), "--quiet"}, "Division by zero"},
        {{"parade", file("none.KSN")}, "KSN= D:\\KSN\\none.KSN"},
        {{"parade"}, "parade takes one FILE"},
        {{"show", file("p.KSN"), "--no-bellows"}, "belong to parade"},
    };
    for (const auto& c : cases) {
        const ParadeRun r = ksn(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errContains))) << r.err.toStdString();
    }
    const ParadeRun quiet = ksn({"parade", file("none.KSN"), "--quiet"});
    EXPECT_EQ(quiet.exitCode, 2);
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.toStdString();
}

}  // namespace
}  // namespace ksn
