// The editing commands of the main window, run on the Editor without a window.
#include "editor.h"
#include "scripted_modal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

namespace ksn {
namespace {

using test::ksnBytes;
using test::ScriptedModal;
using test::TempDrive;

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32"))), editor(state, modal) {
        state.DefaultFolder = QStringLiteral("D:\\KSN");
    }
    void load(const QStringList& lines) {
        drive.write(QStringLiteral("KSN/t.KSN"), ksnBytes(lines));
        state.CurrentFilePath = QStringLiteral("t.KSN");
        ASSERT_TRUE(editor.LoadCurrentFile());
    }
    QStringList doc() const {
        QStringList out;
        for (const QString& l : state.FormationLines) {
            if (l.isEmpty() && out.size() >= 2) break;
            out << l;
        }
        return out;
    }

    TempDrive drive;
    ScriptedModal modal;
    Ksned state;
    Editor editor;
};

TEST_F(CommandsTest, DroppedBitmapsArePlacedAfterTheSelectionOrFirstInAnEmptyFormation) {
    const QString bmp = QStringLiteral("D:\\x\\new.BMP");
    struct Case {
        const char* name;
        QStringList lines;  // empty: nothing loaded
        int select;
        QStringList expected;
    };
    const Case cases[] = {
        {"nothing loaded", {}, -1, {"", "", "D:\\x\\new.BMP"}},
        {"no car, title selected", {"T", "s.wav"}, 0, {"T", "s.wav", "D:\\x\\new.BMP"}},
        {"no car, nothing selected", {"T", "s.wav"}, -1, {"T", "s.wav", "D:\\x\\new.BMP"}},
        {"sound selected", {"T", "s.wav", "a.bmp"}, 1, {"T", "s.wav", "D:\\x\\new.BMP", "a.bmp"}},
        {"nothing selected goes last", {"T", "s.wav", "a.bmp", "b.bmp"}, -1, {"T", "s.wav", "a.bmp", "b.bmp", "D:\\x\\new.BMP"}},
        {"title selected inserts nothing", {"T", "s.wav", "a.bmp"}, 0, {"T", "s.wav", "a.bmp"}},
    };
    for (const Case& c : cases) {
        // A fresh editor is as right after start-up: an empty car list.
        state.FormationLines.fill(QString());
        state.CurrentFilePath.clear();
        Editor fresh(state, modal);
        if (!c.lines.isEmpty()) {
            drive.write(QStringLiteral("KSN/t.KSN"), ksnBytes(c.lines));
            state.CurrentFilePath = QStringLiteral("t.KSN");
            ASSERT_TRUE(fresh.LoadCurrentFile());
        }
        fresh.selectRow(c.select);
        fresh.DropFile(bmp);
        EXPECT_EQ(doc(), c.expected) << c.name;
        EXPECT_EQ(state.CurrentFilePath.isEmpty(), c.lines.isEmpty()) << c.name;
    }
}

TEST_F(CommandsTest, DroppedSoundAndFormationAndUnknownFiles) {
    load({"T", "old.wav;train horn", "a.bmp"});
    editor.DropFile(QStringLiteral("D:\\s\\new.wav"));
    EXPECT_EQ(state.FormationLines[1], QStringLiteral("D:\\s\\new.wav"));
    editor.DropFile(QStringLiteral("D:\\notes\\readme.txt"));
    editor.DropFile(QStringLiteral("D:\\notes\\noext"));
    EXPECT_EQ(modal.messageTexts(),
              (QStringList{QStringLiteral("対応していない拡張子のファイルがドラッグ＆ドロップされました。File=D:\\notes\\readme.txt"),
                           QStringLiteral("対応していない拡張子のファイルがドラッグ＆ドロップされました。File=D:\\notes\\noext")}));
    drive.write(QStringLiteral("KSN/other.ksn"), ksnBytes({"Other", " "}));
    editor.DropFile(QStringLiteral("D:\\KSN\\other.ksn"));
    EXPECT_EQ(editor.rows().value(0), QStringLiteral("Other"));
}

TEST_F(CommandsTest, DragMoveRewritesOnlyTheMovedCarsLineInTheListedForm) {
    load({"T", "s.wav", "C:\\a\\c1.bmp;one", "C:\\a\\c2.bmp", "C:\\a\\c3.bmp;three", "C:\\a\\c4.bmp"});
    editor.setCommentsOn(false);
    editor.RefreshCarList();
    editor.pressRow(5);
    EXPECT_TRUE(editor.releaseRow(3));
    EXPECT_EQ(doc(), (QStringList{"T", "s.wav", "C:\\a\\c1.bmp;one", "c4.bmp", "C:\\a\\c2.bmp", "C:\\a\\c3.bmp;three"}));
    // The comment of a car moved while comments are off is gone.
    editor.pressRow(2);
    EXPECT_TRUE(editor.releaseRow(4));
    EXPECT_EQ(doc().value(4), QStringLiteral("c1.bmp"));
    // Onto the sound or title row, from the title row, or onto itself: nothing.
    const QStringList before = doc();
    for (auto [from, to] : {std::pair{3, 1}, {3, 0}, {0, 3}, {3, 3}, {3, -1}}) {
        editor.pressRow(from);
        EXPECT_FALSE(editor.releaseRow(to)) << from << "->" << to;
    }
    EXPECT_EQ(doc(), before);
}

TEST_F(CommandsTest, CommentPromptNamesTheLineAndThePath) {
    load({"T", "h.wav", "C:\\Trains\\car1.bmp;front", "c2.bmp"});
    const struct {
        int select;
        const char* input;
        const char* prompt;
        int line;
        const char* result;
    } cases[] = {
        {2, "rear", "削除する場合はキャンセルを選択してください\r\n行 : 3\r\nFile= C:\\Trains\\car1.bmp", 2, "C:\\Trains\\car1.bmp;rear"},
        {-1, "horn", "削除する場合はキャンセルを選択してください\r\n行 : 2\r\nFile= h.wav", 1, "h.wav;horn"},
        {0, "x", "削除する場合はキャンセルを選択してください\r\n行 : 2\r\nFile= h.wav", 1, "h.wav;x"},
        {3, "", "削除する場合はキャンセルを選択してください\r\n行 : 4\r\nFile= c2.bmp", 3, "c2.bmp"},
    };
    for (const auto& c : cases) {
        editor.selectRow(c.select);
        modal.inputs.push_back(QString::fromUtf8(c.input));
        editor.EditComment();
        EXPECT_EQ(modal.prompts.back(), QString::fromUtf8(c.prompt));
        EXPECT_EQ(state.FormationLines[size_t(c.line)], QString::fromUtf8(c.result));
    }
}

TEST_F(CommandsTest, SaveAsProposesTheDefaultFolderAndCancelKeepsTheProposal) {
    editor.NewFormation();
    editor.SaveAs();  // cancelled
    EXPECT_EQ(state.CurrentFilePath, QStringLiteral("D:\\KSN\\KSNED.KSN"));
    editor.LoadChosen();  // cancelled too; the open dialog proposes the same name
    ASSERT_EQ(modal.fileRequests.size(), 2u);
    EXPECT_EQ(modal.fileRequests[1].fileName, QStringLiteral("D:\\KSN\\KSNED.KSN"));
    EXPECT_EQ(modal.fileRequests[1].title, QStringLiteral("ﾌｧｲﾙを指定して読み込み"));
    EXPECT_EQ(modal.fileRequests[1].filter, QStringLiteral("KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|"));
    EXPECT_FALSE(drive.read(QStringLiteral("KSN/KSNED.KSN")).size());
    // A save that fails says nothing and keeps nothing half-written.
    modal.files.push_back(QStringLiteral("Q:\\nowhere\\x.KSN"));
    editor.SaveAs();
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(CommandsTest, ArgumentsAreTakenWholeAndExistingHostFilesGetTheirWindowsForm) {
    drive.write(QStringLiteral("KSN/my train.KSN"), ksnBytes({"T"}));
    const FileSystem& fs = state.fso;
    EXPECT_EQ(formationArgument({}, fs), QString());
    EXPECT_EQ(formationArgument({QStringLiteral("/e")}, fs), QStringLiteral("/e"));
    EXPECT_EQ(formationArgument({drive.host(QStringLiteral("KSN/my")), QStringLiteral("train.KSN")}, fs),
              QStringLiteral("D:\\KSN\\my train.KSN"));
    EXPECT_EQ(formationArgument({QStringLiteral("\"C:\\x y.KSN\"")}, fs), QStringLiteral("\"C:\\x y.KSN\""));
}

}  // namespace
}  // namespace ksn
