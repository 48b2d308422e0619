#include "cp932.h"
#include "editor.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;
using test::ScriptedModal;
using test::TempDrive;

// One editor on a temporary drive D:, the default folder D:\KSN.
class EditorTest : public ::testing::Test {
protected:
    EditorTest()
        : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("ksned32"))),
          editor(state, modal) {
        drive.mkdir(QStringLiteral("KSN"));
        state.DefaultFolder = QStringLiteral("D:\\KSN");
    }

    void writeKsn(const QString& name, const QStringList& lines) { drive.write(QStringLiteral("KSN/") + name, ksnBytes(lines)); }
    QByteArray readKsn(const QString& name) const { return drive.read(QStringLiteral("KSN/") + name); }
    bool load(const QString& name) {
        state.CurrentFilePath = name;
        return editor.LoadCurrentFile();
    }

    TempDrive drive;
    ScriptedModal modal;
    Ksned state;
    Editor editor;
};

TEST_F(EditorTest, LoadResolvesABareNameAgainstTheDefaultFolderAndSetsTheCaption) {
    writeKsn(QStringLiteral("Express.KSN"), {QStringLiteral("特急"), QStringLiteral("horn.wav;汽笛"),
                                             QStringLiteral("C:\\Trains\\car1.bmp;front")});
    ASSERT_TRUE(load(QStringLiteral("Express.KSN")));
    EXPECT_EQ(state.CurrentFilePath, QStringLiteral("D:\\KSN\\Express.KSN"));
    EXPECT_EQ(editor.caption(), QStringLiteral("Express.KSN - KSNED32"));
    EXPECT_EQ(editor.rows(), (QStringList{QStringLiteral("特急"), QStringLiteral("horn.wav;汽笛"), QStringLiteral("car1.bmp;front")}));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(EditorTest, LoadOfAMissingFileSaysSoAndKeepsTheDocument) {
    writeKsn(QStringLiteral("a.KSN"), {QStringLiteral("A"), QStringLiteral(" "), QStringLiteral("x.bmp")});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    EXPECT_FALSE(load(QStringLiteral("missing.KSN")));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("File= D:\\KSN\\missing.KSN"));
    EXPECT_EQ(modal.messages[0].title, QStringLiteral("Not found"));
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(editor.rows().value(0), QStringLiteral("A"));
    EXPECT_EQ(editor.caption(), QStringLiteral("a.KSN - KSNED32"));
}

TEST_F(EditorTest, LoadReplacesEverythingOfTheFormerFormation) {
    QStringList ten{QStringLiteral("Ten"), QStringLiteral("s.wav")};
    for (int i = 0; i < 10; ++i) ten << QStringLiteral("car%1.bmp").arg(i);
    writeKsn(QStringLiteral("ten.KSN"), ten);
    writeKsn(QStringLiteral("one.KSN"), {QStringLiteral("One")});
    ASSERT_TRUE(load(QStringLiteral("ten.KSN")));
    ASSERT_TRUE(load(QStringLiteral("one.KSN")));
    EXPECT_EQ(editor.rows(), (QStringList{QStringLiteral("One"), QString()}));
}

TEST_F(EditorTest, AnEmptyLineEndsTheFormationButAnEmptySoundLineDoesNot) {
    writeKsn(QStringLiteral("a.KSN"), {QStringLiteral("T"), QString(), QStringLiteral("car1.bmp"), QString(), QStringLiteral("lost.bmp")});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    EXPECT_EQ(editor.rows(), (QStringList{QStringLiteral("T"), QString(), QStringLiteral("car1.bmp")}));
    writeKsn(QStringLiteral("b.KSN"), {QStringLiteral("T"), QStringLiteral("snd.wav"), QString(), QStringLiteral("car1.bmp")});
    ASSERT_TRUE(load(QStringLiteral("b.KSN")));
    EXPECT_EQ(editor.rows().size(), 2);
}

TEST_F(EditorTest, OverLimitFileKeeps103LinesAndWarnsOnce) {
    for (int total : {103, 104}) {
        QStringList lines{QStringLiteral("T"), QStringLiteral("s.wav")};
        for (int i = 3; i <= total; ++i) lines << QStringLiteral("car%1.bmp").arg(i);
        writeKsn(QStringLiteral("big.KSN"), lines);
        modal.clear();
        ASSERT_TRUE(load(QStringLiteral("big.KSN")));
        EXPECT_EQ(editor.rows().size(), 103) << total;
        if (total == 103) {
            EXPECT_TRUE(modal.messages.empty());
        } else {
            ASSERT_EQ(modal.messages.size(), 1u);
            EXPECT_EQ(modal.messages[0].text, QStringLiteral("編成両数がMAXを越えました。残りは無視されます。\r\nline=103\r\ncar103.bmp"));
            EXPECT_EQ(modal.messages[0].title, kAppTitle);
            EXPECT_EQ(modal.messages[0].icon, MsgIcon::None);
        }
    }
}

TEST_F(EditorTest, SavingWritesTheRowsInTheModeAndAnEmptySoundAsASpace) {
    writeKsn(QStringLiteral("a.KSN"), {QStringLiteral("Express;A"), QString(), QStringLiteral("C:\\Trains\\EC\\car1.bmp;front"),
                                       QStringLiteral("sub\\car2.bmp")});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    const struct {
        SaveMode mode;
        bool comments;
        QStringList expected;
    } cases[] = {
        {SaveMode::FileOnly, true, {"Express;A", " ", "car1.bmp;front", "car2.bmp"}},
        {SaveMode::AsInFile, false, {"Express;A", " ", "C:\\Trains\\EC\\car1.bmp", "sub\\car2.bmp"}},
        {SaveMode::NonDrive, true, {"Express;A", " ", "\\Trains\\EC\\car1.bmp;front", "\\sub\\car2.bmp"}},
        {SaveMode::DefaultFolder, true, {"Express;A", " ", "D:\\KSN\\car1.bmp;front", "D:\\KSN\\car2.bmp"}},
    };
    for (const auto& c : cases) {
        editor.setSaveMode(c.mode);
        editor.setCommentsOn(c.comments);
        editor.RefreshCarList();
        ASSERT_TRUE(editor.WriteCurrentFile());
        EXPECT_EQ(readKsn(QStringLiteral("a.KSN")), ksnBytes(c.expected)) << int(c.mode);
    }
}

TEST_F(EditorTest, TogglingCommentsTwiceRestoresTheListAndNeverTouchesTheDocument) {
    writeKsn(QStringLiteral("a.KSN"), {QStringLiteral("T"), QStringLiteral("h.wav;horn"), QStringLiteral("c.bmp;front")});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    const QStringList before = editor.rows();
    editor.toggleComments();
    EXPECT_EQ(editor.rows(), (QStringList{QStringLiteral("T"), QStringLiteral("h.wav"), QStringLiteral("c.bmp")}));
    EXPECT_EQ(state.FormationLines[2], QStringLiteral("c.bmp;front"));
    editor.toggleComments();
    EXPECT_EQ(editor.rows(), before);
}

TEST_F(EditorTest, NewThenSaveWritesTheTitleAndASpace) {
    editor.NewFormation();
    EXPECT_EQ(editor.rows(), (QStringList{QStringLiteral("新生した編成"), QString()}));
    EXPECT_TRUE(state.CurrentFilePath.isEmpty());
    state.CurrentFilePath = QStringLiteral("D:\\KSN\\KSNED.KSN");
    ASSERT_TRUE(editor.WriteCurrentFile());
    EXPECT_EQ(readKsn(QStringLiteral("KSNED.KSN")), cp932::encode(QStringLiteral("新生した編成")) + "\r\n \r\n");
}

TEST_F(EditorTest, DeleteLineMovesLinesUpAndSelectsTheCarAbove) {
    writeKsn(QStringLiteral("a.KSN"), {"T", "s.wav", "c1.bmp", "c2.bmp", "c3.bmp", "c4.bmp"});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    editor.DeleteLine(4);
    EXPECT_EQ(editor.rows(), (QStringList{"T", "s.wav", "c1.bmp", "c2.bmp", "c4.bmp"}));
    EXPECT_EQ(editor.selectedRow(), 3);
    EXPECT_EQ(editor.msgPanel(), QStringLiteral("2 / 3両"));
    editor.DeleteLine(2);
    EXPECT_EQ(editor.rows(), (QStringList{"T", "s.wav", "c2.bmp", "c4.bmp"}));
    EXPECT_EQ(editor.selectedRow(), -1);
    editor.DeleteLine(1);  // the sound line stays
    editor.DeleteLine(0);
    EXPECT_EQ(editor.rows().size(), 4);
}

TEST_F(EditorTest, InsertLinePutsTheCarBeforeTheIndexAndStopsAt103Rows) {
    writeKsn(QStringLiteral("a.KSN"), {"T", "s.wav", "c1.bmp", "c2.bmp"});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    editor.InsertLine(3, QStringLiteral("new.bmp;x"));
    EXPECT_EQ(editor.rows(), (QStringList{"T", "s.wav", "c1.bmp", "new.bmp;x", "c2.bmp"}));
    editor.InsertLine(1, QStringLiteral("never.bmp"));
    EXPECT_EQ(editor.rows().size(), 5);
    // A text of two lines is one document line.
    editor.InsertLine(2, QStringLiteral("a.bmp\r\nb.bmp"));
    EXPECT_EQ(state.FormationLines[2], QStringLiteral("a.bmp\r\nb.bmp"));

    while (editor.rows().size() < 103) editor.InsertLine(2, QStringLiteral("fill.bmp"));
    modal.clear();
    const auto before = state.FormationLines;
    editor.InsertLine(2, QStringLiteral("one too many.bmp"));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("車両数が既にMAXを越えているので新たな車両は追加出来ません。"));
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(state.FormationLines, before);
    EXPECT_TRUE(state.FormationLines[103].isEmpty());
}

TEST_F(EditorTest, SelectionStatusCountsCars) {
    writeKsn(QStringLiteral("a.KSN"), {"T", "s.wav", "c1.bmp", "c2.bmp", "c3.bmp", "c4.bmp", "c5.bmp"});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    const struct {
        int row;
        const char* msg;
    } cases[] = {{0, "5両"}, {1, "5両"}, {4, "3 / 5両"}, {2, "1 / 5両"}, {-1, "-2 / 5両"}};
    for (const auto& c : cases) {
        editor.selectRow(c.row);
        EXPECT_EQ(editor.msgPanel(), QString::fromUtf8(c.msg)) << c.row;
    }
}

TEST_F(EditorTest, HeightCheckReportsCarsOfAnotherHeight) {
    for (auto [name, h] : {std::pair{"a40.bmp", 40}, {"b38.bmp", 38}, {"c40.bmp", 40}, {"td.bmp", -40}})
        drive.write(QStringLiteral("KSN/") + name, makeBmp(120, h));
    // Bare car names resolve against the current directory, which is the default folder here.
    state.fso.setCurrentDirectory(state.DefaultFolder);
    writeKsn(QStringLiteral("a.KSN"), {"T", " ", "a40.bmp;front", "c40.bmp", "b38.bmp", "c40.bmp", "td.bmp", "gone.bmp"});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text,
              QStringLiteral("異なる規格のファイルが混在しています。\r\n先頭車両と高さが異なるのは次の通りです。\r\n"
                             "b38.bmp Line=3\r\ntd.bmp Line=5\r\ngone.bmp Line=6\r\n"));
    EXPECT_EQ(modal.messages[0].icon, MsgIcon::Exclamation);

    modal.clear();
    writeKsn(QStringLiteral("one.KSN"), {"T", " ", "b38.bmp"});
    ASSERT_TRUE(load(QStringLiteral("one.KSN")));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(EditorTest, ScanListsTitlesInCaseInsensitiveNameOrderAndStripsOneBackslash) {
    writeKsn(QStringLiteral("b.KSN"), {"特急ソ", "x"});
    writeKsn(QStringLiteral("A.ksn"), {"Alpha"});
    writeKsn(QStringLiteral("c.KSN"), {""});
    drive.mkdir(QStringLiteral("KSN/folder.KSN"));
    drive.write(QStringLiteral("KSN/.hidden.KSN"), "hidden\r\n");
    drive.write(QStringLiteral("KSN/note.txt"), "n\r\n");
    QString folder = QStringLiteral("D:\\KSN\\");
    editor.ScanFolder(folder);
    EXPECT_EQ(folder, QStringLiteral("D:\\KSN"));
    EXPECT_EQ(editor.trainItems(), (QStringList{"Alpha", "特急ソ", ""}));
    EXPECT_EQ(state.FormationFileNames[0], QStringLiteral("A.ksn"));
    EXPECT_EQ(state.FormationFileNames[2], QStringLiteral("c.KSN"));
    EXPECT_EQ(editor.trainIndex(), 0);
    EXPECT_EQ(editor.trainToolTip(), QStringLiteral("A.ksn"));
    EXPECT_EQ(state.fso.currentDirectory(), QStringLiteral("D:\\KSN"));

    // A folder without formation files leaves the list as it was.
    drive.mkdir(QStringLiteral("empty"));
    QString empty = QStringLiteral("D:\\empty");
    editor.ScanFolder(empty);
    EXPECT_EQ(editor.trainItems().size(), 3);
    EXPECT_EQ(state.fso.currentDirectory(), QStringLiteral("D:\\KSN"));
}

TEST_F(EditorTest, ScanStopsAt1024FilesWithOneMessage) {
    for (int i = 0; i < 1030; ++i) drive.write(QStringLiteral("many/%1.KSN").arg(i, 4, 10, QLatin1Char('0')), "t\r\n");
    QString folder = QStringLiteral("D:\\many");
    editor.ScanFolder(folder);
    EXPECT_EQ(editor.trainItems().size(), 1024);
    EXPECT_EQ(state.FormationFileNames[1023], QStringLiteral("1023.KSN"));
    ASSERT_EQ(modal.messages.size(), 1u);
    EXPECT_EQ(modal.messages[0].text, QStringLiteral("ﾃﾞｨﾚｸﾄﾘに1024以上のファイルが存在します。以後のファイルは無視します"));
}

TEST_F(EditorTest, RewriteFolderRewritesEveryFileUntilStopped) {
    for (int i = 1; i <= 5; ++i)
        writeKsn(QStringLiteral("f%1.KSN").arg(i), {QStringLiteral("Title %1").arg(i), "C:\\snd\\h.wav;horn", "C:\\x\\car.bmp;c"});
    editor.setCommentsOn(false);
    // Stop pressed while the second file is being processed.
    modal.onProcessEvents = [&](int call) {
        if (call == 2) state.StopRequested = true;
    };
    QString folder = state.DefaultFolder;
    const RewriteResult r = editor.RewriteFolder(folder);
    EXPECT_EQ(r.found, 5);
    EXPECT_EQ(r.processed, 2);
    EXPECT_TRUE(r.stopped);
    for (int i = 1; i <= 5; ++i) {
        const QStringList expected = i <= 2 ? QStringList{QStringLiteral("Title %1").arg(i), "h.wav", "car.bmp"}
                                            : QStringList{QStringLiteral("Title %1").arg(i), "C:\\snd\\h.wav;horn", "C:\\x\\car.bmp;c"};
        EXPECT_EQ(readKsn(QStringLiteral("f%1.KSN").arg(i)), ksnBytes(expected)) << i;
    }
    EXPECT_EQ(editor.caption(), QString());
    EXPECT_EQ(state.CurrentFilePath, QStringLiteral("D:\\KSN\\f2.KSN"));
}

TEST_F(EditorTest, RewriteLeavesFilesItCannotReadFaithfullyAlone) {
    const QByteArray utf8 = QStringLiteral("あいう\r\nC:\\a\\h.wav\r\nC:\\a\\c.bmp\r\n").toUtf8();
    drive.write(QStringLiteral("KSN/utf8.KSN"), utf8);
    writeKsn(QStringLiteral("ok.KSN"), {"T", "C:\\a\\h.wav", "C:\\a\\c.bmp"});
    QString folder = state.DefaultFolder;
    RewriteOptions dry;
    dry.dryRun = true;
    EXPECT_EQ(editor.RewriteFolder(folder, dry).changed, QStringList{QStringLiteral("ok.KSN")});
    EXPECT_EQ(readKsn(QStringLiteral("ok.KSN")), ksnBytes({"T", "C:\\a\\h.wav", "C:\\a\\c.bmp"}));

    modal.clear();
    const RewriteResult r = editor.RewriteFolder(folder);
    EXPECT_EQ(readKsn(QStringLiteral("utf8.KSN")), utf8);
    EXPECT_EQ(readKsn(QStringLiteral("ok.KSN")), ksnBytes({"T", "h.wav", "c.bmp"}));
    EXPECT_EQ(r.failed, QStringList{QStringLiteral("utf8.KSN")});
    EXPECT_TRUE(modal.messageTexts().join(u'\n').contains(QStringLiteral("File= D:\\KSN\\utf8.KSN")));
}

TEST_F(EditorTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    writeKsn(QStringLiteral("a.KSN"), {"T", "s.wav", "C:\\x\\c.bmp"});
    ASSERT_TRUE(load(QStringLiteral("a.KSN")));
    QFile::setPermissions(drive.host(QStringLiteral("KSN/a.KSN")), QFileDevice::ReadOwner);
    QString error;
    EXPECT_FALSE(editor.WriteCurrentFile(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("File= D:\\KSN\\a.KSN"))) << error.toStdString();
    EXPECT_EQ(readKsn(QStringLiteral("a.KSN")), ksnBytes({"T", "s.wav", "C:\\x\\c.bmp"}));
    QFile::setPermissions(drive.host(QStringLiteral("KSN/a.KSN")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace
}  // namespace ksn
