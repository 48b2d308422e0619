// The desktop's default application for a file type, read from a desktop laid out in a
// temporary folder.
#include "xdgassoc.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace ksn::xdg {
namespace {

class XdgTest : public ::testing::Test {
protected:
    XdgTest() {
        dirs.configHome = path("config");
        dirs.configDirs = {path("etc")};
        dirs.dataHome = path("home");
        dirs.dataDirs = {path("usr"), path("usr2")};
        program("bin/viewer");
        program("bin/other");
    }

    QString path(const QString& relative) const { return root.filePath(relative); }
    void write(const QString& relative, const QByteArray& text) const {
        const QString p = path(relative);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void program(const QString& relative) const {
        write(relative, "#!/bin/sh\n");
        QFile::setPermissions(path(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void app(const QString& relative, const QByteArray& mime, const QByteArray& extra = {}) const {
        write(relative, "[Desktop Entry]\nType=Application\nName=App\nExec=" + path("bin/viewer").toUtf8() +
                            " %u\nMimeType=" + mime + "\n" + extra);
    }

    QTemporaryDir root_;
    QDir root{root_.path()};
    Dirs dirs;
};

TEST_F(XdgTest, DefaultApplicationsComeFirstInListOrder) {
    app("usr/applications/viewer.desktop", "text/plain;");
    app("usr/applications/other.desktop", "text/html;");
    write("etc/mimeapps.list", "[Default Applications]\ntext/html=viewer.desktop\n");
    // The user's own list comes first; an id that is not installed is passed over.
    write("config/mimeapps.list", "[Default Applications]\ntext/html=missing.desktop;other.desktop;\n");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr/applications/other.desktop"));

    // A desktop's own list comes before the general one in the same folder.
    write("config/kde-mimeapps.list", "[Default Applications]\ntext/html=viewer.desktop\n");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr/applications/other.desktop"));
    dirs.desktops = {QStringLiteral("kde")};
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr/applications/viewer.desktop"));
}

TEST_F(XdgTest, WithoutADefaultAnApplicationThatTakesTheTypeIsUsed) {
    app("usr/applications/b.desktop", "text/html;");
    app("usr/applications/a.desktop", "image/png;");
    app("usr2/applications/c.desktop", "text/html;");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr/applications/b.desktop"));

    // Added associations come before the scan; removed ones are never taken from it.
    write("config/mimeapps.list", "[Added Associations]\ntext/html=c.desktop;\n[Removed Associations]\ntext/html=b.desktop;\n");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr2/applications/c.desktop"));
    write("config/mimeapps.list", "[Removed Associations]\ntext/html=b.desktop;\n");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr2/applications/c.desktop"));

    // An entry of a folder earlier in the list hides one of the same id later.
    app("home/applications/c.desktop", "image/png;");
    write("config/mimeapps.list", "[Removed Associations]\ntext/html=b.desktop;\n");
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), QString());
    EXPECT_EQ(defaultApplication(QStringLiteral("video/mp4"), dirs), QString());
}

TEST_F(XdgTest, HiddenEntriesAndSubfolderIdsAreResolved) {
    app("usr/applications/gone.desktop", "text/html;", "Hidden=true\n");
    app("usr/applications/kde4/viewer.desktop", "text/html;");
    write("config/mimeapps.list", "[Default Applications]\ntext/html=gone.desktop;kde4-viewer.desktop\n");
    EXPECT_EQ(desktopFile(QStringLiteral("gone.desktop"), dirs), QString());
    EXPECT_EQ(desktopFile(QStringLiteral("kde4-viewer.desktop"), dirs), path("usr/applications/kde4/viewer.desktop"));
    EXPECT_EQ(defaultApplication(QStringLiteral("text/html"), dirs), path("usr/applications/kde4/viewer.desktop"));
    EXPECT_EQ(desktopFile(QStringLiteral("../x.desktop"), dirs), QString());
}

TEST(XdgExec, WordsResolveEscapesAndQuotes) {
    const struct {
        const char* exec;
        QStringList words;
    } cases[] = {{"chromium %U", {"chromium", "%U"}},
                 {"\"/opt/my app/bin\" --new %u", {"/opt/my app/bin", "--new", "%u"}},
                 {"foo\\sbar", {"foo", "bar"}},  // \s is a blank, and blanks part words
                 {"\"a\\sb\" c", {"a b", "c"}},
                 {"\"say \\\\\"hi\\\\\"\"", {"say \"hi\""}},
                 {"  spaced   out  ", {"spaced", "out"}},
                 {"", {}}};
    for (const auto& c : cases) EXPECT_EQ(execWords(QString::fromUtf8(c.exec)), c.words) << c.exec;
}

TEST_F(XdgTest, DesktopProgramIsTheExecutableOfTheExecLine) {
    app("usr/applications/abs.desktop", "text/html;");
    EXPECT_EQ(desktopProgram(path("usr/applications/abs.desktop")), path("bin/viewer"));

    write("usr/applications/onpath.desktop", "[Desktop Entry]\nExec=other --x %f\n");
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", path("bin").toLocal8Bit());
    EXPECT_EQ(desktopProgram(path("usr/applications/onpath.desktop")), path("bin/other"));
    qputenv("PATH", savedPath);

    write("usr/applications/missing.desktop", "[Desktop Entry]\nExec=/no/such/program %f\n");
    EXPECT_EQ(desktopProgram(path("usr/applications/missing.desktop")), QString());
    write("usr/applications/noexec.desktop", "[Desktop Entry]\nName=x\n");
    EXPECT_EQ(desktopProgram(path("usr/applications/noexec.desktop")), QString());
}

}  // namespace
}  // namespace ksn::xdg
