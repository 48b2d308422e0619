#include "cp932.h"
#include "filesystem.h"
#include "gini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ksn {
namespace {

using namespace Qt::StringLiterals;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A program folder and a user configuration folder of their own, so that no test sees the
// settings of the machine or of another test.
class IniSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(programDir_.isValid() && configHome_.isValid());
        savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
        hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
    }
    void TearDown() override {
        QFile::setPermissions(programDir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
        if (hadConfigHome_) qputenv("XDG_CONFIG_HOME", savedConfigHome_);
        else qunsetenv("XDG_CONFIG_HOME");
    }

    QString beside() const { return programDir_.filePath(u"KSNED32.ini"_s); }
    QString config() const { return configHome_.path() + u"/ksned32/KSNED32.ini"_s; }

    QTemporaryDir programDir_;
    QTemporaryDir configHome_;
    const FileSystem fs_{DriveMap(), u"C:\\"_s};
    const MyLibClass lib_{fs_, programDir_.filePath(u"KSNED32.exe"_s)};

private:
    QByteArray savedConfigHome_;
    bool hadConfigHome_ = false;
};

TEST_F(IniSettings, CandidatesAreBesideTheProgramThenTheConfigFolder) {
    EXPECT_EQ(iniCandidates(lib_), (QStringList{beside(), config()}));
}

TEST_F(IniSettings, FirstWriteCreatesTheFileBesideTheProgram) {
    EXPECT_EQ(ReadIni(lib_), QString());
    ASSERT_TRUE(WriteIni(lib_, u"D:\\KSN"_s));
    EXPECT_EQ(readAll(beside()), QByteArray("[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"));
    EXPECT_FALSE(QFileInfo::exists(config()));
    EXPECT_EQ(ReadIni(lib_), u"D:\\KSN"_s);
}

TEST_F(IniSettings, UpperCaseKeyIsReadAndReplacedInPlace) {
    writeAll(beside(), "[KSNED]\r\nKSN_FOLDER=D:\\KSN\r\n");
    EXPECT_EQ(ReadIni(lib_), u"D:\\KSN"_s);
    ASSERT_TRUE(WriteIni(lib_, QString::fromUtf8("E:\\表示")));
    EXPECT_EQ(readAll(beside()), "[KSNED]\r\nKSN_FOLDER=" + cp932::encode(QString::fromUtf8("E:\\表示")) + "\r\n");
}

TEST_F(IniSettings, LongValueIsReadAsItsFirst254Characters) {
    const QByteArray value(300, 'a');
    writeAll(beside(), "[KSNED]\r\nKSN_Folder=" + value + "\r\n");
    EXPECT_EQ(ReadIni(lib_), QString::fromLatin1(value.left(254)));
}

TEST_F(IniSettings, FileBesideTheProgramComesFirst) {
    writeAll(config(), "[KSNED]\r\nKSN_Folder=C:\\Config\r\n");
    EXPECT_EQ(ReadIni(lib_), u"C:\\Config"_s);
    // Even without the key, the file beside the program is the one read.
    writeAll(beside(), "[Other]\r\nx=1\r\n");
    EXPECT_EQ(ReadIni(lib_), QString());
}

TEST_F(IniSettings, ConfigFolderIsUsedWhenTheProgramFolderCannotHoldFiles) {
    // A program "folder" that is a plain file: nobody, not even root, can create a file in it.
    writeAll(programDir_.filePath(u"bin"_s), "not a folder");
    const MyLibClass lib(fs_, programDir_.filePath(u"bin/KSNED32.exe"_s));
    ASSERT_TRUE(WriteIni(lib, u"D:\\KSN"_s));
    EXPECT_EQ(readAll(config()), QByteArray("[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"));
    EXPECT_EQ(ReadIni(lib), u"D:\\KSN"_s);
}

TEST_F(IniSettings, ConfigFolderIsUsedWhenTheProgramFolderIsReadOnly) {
    ASSERT_TRUE(QFile::setPermissions(programDir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                               QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                               QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QString probe = programDir_.filePath(u"probe"_s);
    if (QFile f(probe); f.open(QIODevice::WriteOnly)) {
        f.remove();
        GTEST_SKIP() << "running with rights that ignore read-only folders";
    }
    ASSERT_TRUE(WriteIni(lib_, u"D:\\KSN"_s));
    EXPECT_FALSE(QFileInfo::exists(beside()));
    EXPECT_EQ(readAll(config()), QByteArray("[KSNED]\r\nKSN_Folder=D:\\KSN\r\n"));
    EXPECT_EQ(ReadIni(lib_), u"D:\\KSN"_s);
    ASSERT_TRUE(WriteIni(lib_, u"E:\\New"_s));
    EXPECT_EQ(ReadIni(lib_), u"E:\\New"_s);
}

}  // namespace
}  // namespace ksn
