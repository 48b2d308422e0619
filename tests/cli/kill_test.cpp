// A batch rewrite killed at any moment: every formation file is its old bytes or its new bytes,
// never a mix, never empty.
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <random>

namespace ksn {
namespace {

using test::ksnBytes;
using test::TempDrive;

TEST(KilledRewrite, LeavesEveryFileWholeOldOrNew) {
    constexpr int kFiles = 300;
    std::mt19937 rng(20261205);  // fixed: the same kill points on every run
    for (int round = 0; round < 6; ++round) {
        TempDrive drive;
        QByteArray oldBytes[kFiles];
        QByteArray newBytes[kFiles];
        for (int i = 0; i < kFiles; ++i) {
            QStringList lines{QStringLiteral("列車 %1").arg(i), "C:\\snd\\horn.wav;汽笛"};
            QStringList rewritten{lines[0], "horn.wav;汽笛"};
            for (int c = 0; c < 40; ++c) {
                lines << QStringLiteral("C:\\Trains\\folder%1\\car%2.bmp;comment %2").arg(i).arg(c);
                rewritten << QStringLiteral("car%1.bmp;comment %1").arg(c);
            }
            oldBytes[i] = ksnBytes(lines);
            newBytes[i] = ksnBytes(rewritten);
            drive.write(QStringLiteral("KSN/f%1.KSN").arg(i, 3, 10, QLatin1Char('0')), oldBytes[i]);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KSNED_DRIVES"), QStringLiteral("D:=") + drive.hostRoot());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KSN_EXE), {QStringLiteral("rewrite"), drive.host(QStringLiteral("KSN"))});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(20, 400)(rng));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();

        int rewritten = 0;
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray now = drive.read(QStringLiteral("KSN/f%1.KSN").arg(i, 3, 10, QLatin1Char('0')));
            ASSERT_TRUE(now == oldBytes[i] || now == newBytes[i]) << "round " << round << ", file " << i << ": " << now.size() << " bytes";
            rewritten += now == newBytes[i];
        }
        // Files are rewritten in name order: the rewritten ones are a prefix.
        for (int i = 0; i < rewritten; ++i)
            EXPECT_EQ(drive.read(QStringLiteral("KSN/f%1.KSN").arg(i, 3, 10, QLatin1Char('0'))), newBytes[i]) << round;
    }
}

}  // namespace
}  // namespace ksn
