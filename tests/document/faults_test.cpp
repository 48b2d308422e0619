// A save that cannot complete leaves the old file byte for byte, no temporary file, and names the file.
#include "fixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace ksn {
namespace {

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

// A write that fails half-way (a full disk) leaves the old file; the batch names the file and goes on.
TEST_F(FaultTest, AWriteThatHitsTheFileSizeLimitLeavesTheOldFile) {
    QStringList big{u"Big"_s, u" "_s};
    for (int i = 2; i < 102; ++i) {
        editor.document().setLine(i, u"C:\\a\\long\\folder\\car%1.bmp"_s.arg(i));
        big << editor.document().FormationLines()[i];
    }
    drive.write(u"KSN/batch/big.KSN"_s, test::ksnBytes(big));  // still over the limit in file-name form
    drive.write(u"KSN/batch/small.KSN"_s, test::ksnBytes({"T", "C:\\s\\h.wav"}));
    editor.setSaveMode(SaveMode::AsInFile);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a failing write, not a killed process
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error, folder = u"D:\\KSN\\batch"_s;
        const bool ok = editor.WriteCurrentFile(&error);
        editor.setSaveMode(SaveMode::FileOnly);
        const RewriteResult batch = editor.RewriteFolder(folder);
        const bool batchOk = batch.failed == QStringList{u"big.KSN"_s} &&
                             batch.changed == QStringList{u"small.KSN"_s} &&
                             modal.messageTexts().join(u'\n').contains(u"File= D:\\KSN\\batch\\big.KSN"_s);
        _exit(ok ? 1 : !error.contains(kNamed) ? 2 : batchOk ? 0 : 3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success; 2: its message named no file; 3: the batch "
                                         "did not name the file or did not go on";
    EXPECT_EQ(std::pair(ksn(u"a.KSN"_s), files()), std::pair(original, QStringList{u"a.KSN"_s}));
    EXPECT_EQ(std::pair(ksn(u"batch/big.KSN"_s), ksn(u"batch/small.KSN"_s)),
              std::pair(test::ksnBytes(big), test::ksnBytes({"T", "h.wav"})));
    EXPECT_EQ(QDir(drive.host(u"KSN/batch"_s)).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"big.KSN"_s, u"small.KSN"_s}));
}

}  // namespace
}  // namespace ksn
