// A save that cannot complete leaves the old file byte for byte, no temporary file, and names the file.
#include "fixture.h"

#include <QDir>
#include <QFile>
#include <tuple>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace ksn {
namespace {

using namespace Qt::StringLiterals;

const QString kNamed = u"File= D:\\KSN\\a.KSN"_s;
constexpr auto kWritable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

class FaultTest : public test::EditorFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadBytes(original, u"a.KSN"_s));
    }  // listed by file name: a save changes every path
    // a.KSN alone: no temporary file left behind.
    QStringList files() const { return QDir(drive.host(u"KSN"_s)).entryList(QDir::Files | QDir::Hidden); }
    const QByteArray original =
        test::ksnBytes({"特急", "C:\\snd\\horn.wav;汽笛", "C:\\cars\\car1.bmp;front", "C:\\cars\\car2.bmp"});
};

TEST_F(FaultTest, ReadOnlyFileOrFolderKeepsTheOldBytesAndSaysWhy) {
    // Read-only is the owner's write bit, so this holds for root too.
    const std::tuple<QString, QFileDevice::Permissions, const char*> cases[] = {
        {u"KSN/a.KSN"_s, QFileDevice::ReadOwner, "読み取り専用"},
        {u"KSN"_s, QFileDevice::ReadOwner | QFileDevice::ExeOwner, "書き込みできないフォルダ"},
    };
    for (const auto& [path, perms, reason] : cases) {
        QFile::setPermissions(drive.host(path), perms);
        QString error;
        const bool saved = editor.WriteCurrentFile(&error);
        QFile::setPermissions(drive.host(path), kWritable);
        EXPECT_TRUE(!saved && error.contains(QString::fromUtf8(reason)) && error.contains(kNamed))
            << error.toStdString();
        EXPECT_EQ(std::pair(ksn(u"a.KSN"_s), files()), std::pair(original, QStringList{u"a.KSN"_s})) << reason;
    }
}

TEST_F(FaultTest, ReadOnlyFileInABatchIsReportedAndTheRunGoesOn) {
    drive.write(u"KSN/b.KSN"_s, original);
    QFile::setPermissions(drive.host(u"KSN/a.KSN"_s), QFileDevice::ReadOwner);
    QString folder = state.DefaultFolder;
    const RewriteResult r = editor.RewriteFolder(folder);
    QFile::setPermissions(drive.host(u"KSN/a.KSN"_s), kWritable);
    EXPECT_EQ(r.failed, QStringList{u"a.KSN"_s});
    EXPECT_EQ(ksn(u"a.KSN"_s), original);
    EXPECT_EQ(ksn(u"b.KSN"_s), test::ksnBytes({"特急", "horn.wav;汽笛", "car1.bmp;front", "car2.bmp"}));
    EXPECT_TRUE(modal.messageTexts().join(u'\n').contains(kNamed));
}

TEST_F(FaultTest, AWriteThatHitsTheFileSizeLimitLeavesTheOldFile) {
    // The new file outgrows a limit the old one is within: the write fails as on a full disk.
    for (int i = 2; i < 102; ++i) editor.document().setLine(i, u"C:\\a\\long\\folder\\car%1.bmp"_s.arg(i));
    editor.setSaveMode(SaveMode::AsInFile);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a failing write, not a killed process
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool ok = editor.WriteCurrentFile(&error);
        _exit(ok ? 1 : (error.contains(kNamed) ? 0 : 2));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success; 2: its message named no file";
    EXPECT_EQ(std::pair(ksn(u"a.KSN"_s), files()), std::pair(original, QStringList{u"a.KSN"_s}));
}

}  // namespace
}  // namespace ksn
