// Faults that must lose nothing: a save that cannot complete leaves the old file byte for byte, and
// the user is told where the program lives to tell.
#include "cp932.h"
#include "editor.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ksn {
namespace {

using test::ksnBytes;
using test::ScriptedModal;
using test::TempDrive;

class FaultTest : public ::testing::Test {
protected:
    FaultTest() : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32"))), editor(state, modal) {
        state.DefaultFolder = QStringLiteral("D:\\KSN");
        drive.write(QStringLiteral("KSN/a.KSN"), original);
        state.CurrentFilePath = QStringLiteral("a.KSN");
        EXPECT_TRUE(editor.LoadCurrentFile());
        editor.setSaveMode(SaveMode::FileOnly);
        editor.RefreshCarList();  // the next write changes every path
    }
    // Files of the folder other than the formation itself: a failed save leaves no temporary file.
    QStringList strays() const {
        QStringList names = QDir(drive.host(QStringLiteral("KSN"))).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("a.KSN"));
        return names;
    }

    const QByteArray original = ksnBytes({"特急", "C:\\snd\\horn.wav;汽笛", "C:\\cars\\car1.bmp;front", "C:\\cars\\car2.bmp"});
    TempDrive drive;
    ScriptedModal modal;
    Ksned state;
    Editor editor;
};

TEST_F(FaultTest, ReadOnlyFileOrFolderKeepsTheOldBytesAndSaysWhy) {
    const QString file = drive.host(QStringLiteral("KSN/a.KSN"));
    const QString folder = drive.host(QStringLiteral("KSN"));
    const auto rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const struct {
        const char* name;
        QString path;
        QFileDevice::Permissions perms;
        QFileDevice::Permissions restore;
        const char* reason;
    } cases[] = {
        {"read-only file", file, QFileDevice::ReadOwner, QFileDevice::ReadOwner | QFileDevice::WriteOwner, "読み取り専用"},
        {"read-only folder", folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner, rw, "書き込みできないフォルダ"},
    };
    for (const auto& c : cases) {
        QFile::setPermissions(c.path, c.perms);
        QString error;
        EXPECT_FALSE(editor.WriteCurrentFile(&error)) << c.name;
        QFile::setPermissions(c.path, c.restore);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("File= D:\\KSN\\a.KSN"))) << c.name;
        EXPECT_EQ(drive.read(QStringLiteral("KSN/a.KSN")), original) << c.name;
        EXPECT_TRUE(strays().isEmpty()) << c.name;
    }
}

TEST_F(FaultTest, ReadOnlyFileInABatchIsReportedAndTheRunGoesOn) {
    drive.write(QStringLiteral("KSN/b.KSN"), original);
    QFile::setPermissions(drive.host(QStringLiteral("KSN/a.KSN")), QFileDevice::ReadOwner);
    QString folder = state.DefaultFolder;
    const RewriteResult r = editor.RewriteFolder(folder);
    QFile::setPermissions(drive.host(QStringLiteral("KSN/a.KSN")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(r.failed, QStringList{QStringLiteral("a.KSN")});
    EXPECT_EQ(drive.read(QStringLiteral("KSN/a.KSN")), original);
    EXPECT_EQ(drive.read(QStringLiteral("KSN/b.KSN")), ksnBytes({"特急", "horn.wav;汽笛", "car1.bmp;front", "car2.bmp"}));
    ASSERT_FALSE(modal.messages.empty());
    EXPECT_TRUE(modal.messages.back().text.contains(QStringLiteral("File= D:\\KSN\\a.KSN")));
}

TEST_F(FaultTest, AWriteThatHitsTheFileSizeLimitLeavesTheOldFile) {
    // A child process with a file-size limit below the new file's size: the write fails as on a
    // full disk. The child reports through its exit status what the save told it.
    QStringList lines{"特急", " "};
    for (int i = 0; i < 100; ++i) lines << QStringLiteral("C:\\a\\long\\folder\\name\\car%1.bmp;comment").arg(i);
    editor.NewFormation();
    for (int i = 0; i < 100; ++i) editor.InsertLine(2, lines[i + 2]);
    state.CurrentFilePath = QStringLiteral("D:\\KSN\\a.KSN");
    editor.setSaveMode(SaveMode::AsInFile);
    editor.RefreshCarList();

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a failing write, not a killed process
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool ok = editor.WriteCurrentFile(&error);
        _exit(ok ? 1 : (error.contains(QStringLiteral("File= D:\\KSN\\a.KSN")) ? 0 : 2));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success; 2: its message named no file";
    EXPECT_EQ(drive.read(QStringLiteral("KSN/a.KSN")), original);
    EXPECT_TRUE(strays().isEmpty()) << strays().join(' ').toStdString();
}

}  // namespace
}  // namespace ksn
