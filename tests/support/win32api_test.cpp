// The operating-system services: results as the Windows functions of the same names give them.
#include "win32api.h"

#include "filesystem.h"
#include "scripted_shell.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <cerrno>

namespace ksn {
namespace {

using test::ScriptedShell;
using test::TempDrive;

class Win32ApiTest : public ::testing::Test {
protected:
    Win32ApiTest() : fs(drive.driveMap(), QStringLiteral("D:\\")), api(fs) {
        shell = std::make_shared<ScriptedShell>();
        api.setShell(shell);
        drive.write(QStringLiteral("help/index.htm"), "<html></html>");
    }
    TempDrive drive;
    FileSystem fs;
    Win32ApiClass api;
    std::shared_ptr<ScriptedShell> shell;
};

TEST_F(Win32ApiTest, FindExecutableGivesTheRegisteredProgram) {
    shell->program = QStringLiteral("/usr/bin/viewer");
    const struct {
        const char* what;
        QString file, directory;
        qint32 result;
    } cases[] = {
        {"a Windows path", QStringLiteral("D:\\help\\index.htm"), {}, Win32ApiClass::kFound},
        {"a host path", drive.host(QStringLiteral("help/index.htm")), {}, Win32ApiClass::kFound},
        {"relative to a Windows folder", QStringLiteral("index.htm"), QStringLiteral("D:\\help"), Win32ApiClass::kFound},
        {"relative to a host folder", QStringLiteral("help\\index.htm"), drive.hostRoot(), Win32ApiClass::kFound},
        {"relative to the current folder", QStringLiteral("help\\index.htm"), {}, Win32ApiClass::kFound},
        {"missing", QStringLiteral("D:\\help\\none.htm"), {}, Win32ApiClass::SE_ERR_FNF},
        {"a folder", QStringLiteral("D:\\help"), {}, Win32ApiClass::SE_ERR_FNF},
        {"an unmapped drive", QStringLiteral("Q:\\index.htm"), {}, Win32ApiClass::SE_ERR_FNF},
    };
    for (const auto& c : cases) {
        QString buffer(512, u' ');
        EXPECT_EQ(api.FindExecutable(c.file, c.directory, buffer), c.result) << c.what;
        if (c.result > 32) {
            EXPECT_EQ(buffer.left(buffer.indexOf(QChar(u'\0'))), QStringLiteral("/usr/bin/viewer")) << c.what;
            EXPECT_EQ(buffer.size(), 512) << c.what;  // the rest of the buffer is kept
            EXPECT_EQ(shell->asked.last(), drive.host(QStringLiteral("help/index.htm"))) << c.what;
        }
    }
    shell->program.clear();
    QString buffer(512, u' ');
    EXPECT_EQ(api.FindExecutable(QStringLiteral("D:\\help\\index.htm"), {}, buffer), Win32ApiClass::SE_ERR_NOASSOC);
    EXPECT_EQ(buffer, QString(512, u' '));
}

TEST_F(Win32ApiTest, GetTempFileNameFollowsTheWindowsNamingRule) {
    drive.mkdir(QStringLiteral("tmp"));
    QString name;
    // A number of the caller's: the name only, no file.
    EXPECT_EQ(api.GetTempFileName(QStringLiteral("D:\\tmp"), QStringLiteral("pfxLong"), 0x1A2B, name), 0x1A2Bu);
    EXPECT_EQ(name, QStringLiteral("D:\\tmp\\pfx1A2B.TMP"));
    EXPECT_FALSE(QFileInfo::exists(drive.host(QStringLiteral("tmp/pfx1A2B.TMP"))));
    EXPECT_EQ(api.GetTempFileName(QStringLiteral("D:\\tmp\\"), QStringLiteral("k"), 0x12345, name), 0x2345u);
    EXPECT_EQ(name, QStringLiteral("D:\\tmp\\k2345.TMP"));

    // Number 0: a free number is found and its empty file made, so the next call gets another.
    const QRegularExpression form(QStringLiteral("^D:\\\\tmp\\\\ksn([0-9A-F]{1,4})\\.TMP$"));
    QString first, second;
    const quint32 n1 = api.GetTempFileName(QStringLiteral("D:\\tmp"), QStringLiteral("ksn"), 0, first);
    const quint32 n2 = api.GetTempFileName(QStringLiteral("D:\\tmp"), QStringLiteral("ksn"), 0, second);
    ASSERT_NE(n1, 0u);
    ASSERT_NE(n2, 0u);
    EXPECT_NE(first, second);
    for (const auto& [n, path] : {std::pair{n1, first}, std::pair{n2, second}}) {
        const auto m = form.match(path);
        ASSERT_TRUE(m.hasMatch()) << path.toStdString();
        EXPECT_EQ(m.captured(1).toUInt(nullptr, 16), n);
        const QFileInfo file(*fs.toHost(path));
        EXPECT_TRUE(file.isFile());
        EXPECT_EQ(file.size(), 0);
    }
    // No folder to make the file in.
    EXPECT_EQ(api.GetTempFileName(QStringLiteral("D:\\none"), QStringLiteral("ksn"), 0, name), 0u);
}

TEST_F(Win32ApiTest, GetTickCountIsMonotonicMilliseconds) {
    const quint32 a = Win32ApiClass::GetTickCount();
    QThread::msleep(30);
    const quint32 b = Win32ApiClass::GetTickCount();
    EXPECT_GE(quint32(b - a), 25u);
    EXPECT_LT(quint32(b - a), 5000u);
}

#ifndef Q_OS_WIN
TEST(Win32Api, WindowsFoldersComeFromThePrefixDrive) {
    TempDrive c(u'C');
    c.mkdir(QStringLiteral("Windows/System32"));  // spelt as some prefixes have it
    TempDrive d(u'D');
    DriveMap both = c.driveMap();
    both.set(u'D', d.hostRoot());
    FileSystem fs(both, QStringLiteral("D:\\"));
    Win32ApiClass api(fs);
    EXPECT_EQ(api.GetWindowsDirectory(), QStringLiteral("C:\\windows"));
    EXPECT_EQ(api.GetSystemDirectory(), QStringLiteral("C:\\windows\\system32"));

    FileSystem plain(d.driveMap(), QStringLiteral("D:\\"));
    Win32ApiClass none(plain);
    EXPECT_EQ(none.GetWindowsDirectory(), QString());
    EXPECT_EQ(none.GetSystemDirectory(), QString());
}

TEST(Win32Api, TempPathIsTheHostTempFolderInWindowsForm) {
    TempDrive d(u'D');
    d.mkdir(QStringLiteral("t"));
    const QByteArray saved = qgetenv("TMPDIR");
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    qputenv("TMPDIR", d.host(QStringLiteral("t")).toLocal8Bit());
    FileSystem fs(d.driveMap(), QStringLiteral("D:\\"));
    EXPECT_EQ(Win32ApiClass(fs).GetTempPath(), QStringLiteral("D:\\t\\"));
    qputenv("TMPDIR", d.hostRoot().toLocal8Bit());
    EXPECT_EQ(Win32ApiClass(fs).GetTempPath(), QStringLiteral("D:\\"));
    qputenv("TMPDIR", QByteArray("/"));  // under no drive of this map
    EXPECT_EQ(Win32ApiClass(fs).GetTempPath(), QString());
    if (wasSet) qputenv("TMPDIR", saved);
    else qunsetenv("TMPDIR");
}

TEST(Win32Api, FormatMessageTellsWindowsCodesByTheHostsTexts) {
    TempDrive d;
    FileSystem fs(d.driveMap(), QStringLiteral("D:\\"));
    Win32ApiClass api(fs);
    const struct {
        qint32 windows;
        int host;
    } cases[] = {{2, ENOENT}, {3, ENOENT}, {5, EACCES}, {80, EEXIST}, {112, ENOSPC}, {145, ENOTEMPTY}};
    for (const auto& c : cases) {
        const QString text = api.FormatMessage(c.windows);
        EXPECT_FALSE(text.isEmpty()) << c.windows;
        EXPECT_EQ(text, qt_error_string(c.host)) << c.windows;
        EXPECT_FALSE(text.endsWith(u'\n')) << c.windows;
    }
    EXPECT_NE(api.FormatMessage(2), api.FormatMessage(5));
    EXPECT_EQ(api.FormatMessage(0x7FFF0000), QString());  // a code the system has no text for
}
#endif

}  // namespace
}  // namespace ksn
