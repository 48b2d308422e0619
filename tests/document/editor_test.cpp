// The document commands of the main window run on the Editor without a window.
#include "fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <tuple>

namespace ksn {
namespace {

using namespace Qt::StringLiterals;
using test::ksnBytes;
using EditorTest = test::EditorFixture;

TEST_F(EditorTest, LoadListsTheFormationUpToItsEndOrTheLimitAndAMissingFileKeepsIt) {
    ASSERT_TRUE(load({"特急", "horn.wav;汽笛", "C:\\Trains\\car1.bmp;front", "c2.bmp", "", "lost.bmp"}));
    EXPECT_EQ(editor.rows(), (QStringList{"特急", "horn.wav;汽笛", "car1.bmp;front", "c2.bmp"}));
    EXPECT_EQ(editor.document().CurrentFilePath(), u"D:\\KSN\\t.KSN"_s);
    editor.document().setCurrentFilePath(u"missing.KSN"_s);
    EXPECT_FALSE(editor.LoadCurrentFile());
    EXPECT_EQ(std::pair(modal.messages.at(0).text, editor.document().caption()),
              std::pair(u"File= D:\\KSN\\missing.KSN"_s, u"t.KSN - KSNED32"_s));
    // A shorter file replaces all of it; an empty sound line does not end the formation.
    ASSERT_TRUE(load({"One", "", "c.bmp"}));
    EXPECT_EQ(editor.rows(), (QStringList{"One", "", "c.bmp"}));
    // 103 lines fill the table; a 104th is dropped with one warning.
    QStringList lines{"T", "s.wav"};
    for (int i = 3; i <= 104; ++i) lines << u"car%1.bmp"_s.arg(i);
    modal.clear();
    ASSERT_TRUE(load(lines));
    EXPECT_EQ(editor.rows(), lines.first(kMaxFormationLines));
    EXPECT_EQ(modal.messageTexts(),
              QStringList{u"編成両数がMAXを越えました。残りは無視されます。\r\nline=103\r\ncar103.bmp"_s});
}

// The rows of each mode are the format cases' (cases_test.cpp); the document keeps the lines as read.
TEST_F(EditorTest, SavingInAModeLeavesTheDocumentAndANewFormationHasItsTitle) {
    ASSERT_TRUE(load({"Express;A", "", "C:\\Trains\\EC\\car1.bmp;front"}));
    editor.setSaveMode(SaveMode::FileOnly);
    editor.RefreshCarList();
    ASSERT_TRUE(editor.WriteCurrentFile());
    EXPECT_EQ(ksn(u"t.KSN"_s), ksnBytes({"Express;A", " ", "car1.bmp;front"}));
    EXPECT_EQ(editor.document().FormationLines()[2], u"C:\\Trains\\EC\\car1.bmp;front"_s);
    editor.NewFormation();
    editor.document().setCurrentFilePath(u"D:\\KSN\\new.KSN"_s);
    ASSERT_TRUE(editor.WriteCurrentFile());
    EXPECT_EQ(ksn(u"new.KSN"_s), ksnBytes({"新生した編成", " "}));
}

TEST_F(EditorTest, DeleteAndInsertShiftTheCarsAndStopAt103Rows) {
    ASSERT_TRUE(load({"T", "s.wav", "c1.bmp", "c2.bmp", "c3.bmp"}));
    editor.selectRow(3);
    editor.DeleteLine(3);
    EXPECT_EQ(editor.msgPanel(), u"1 / 2両"_s);  // the car above is selected
    editor.DeleteLine(1);                        // title and sound stay
    editor.InsertLine(1, u"never.bmp"_s);
    editor.InsertLine(3, u"a.bmp\r\nb.bmp"_s);  // a pasted text is one line, whole
    EXPECT_EQ(editor.rows(), (QStringList{"T", "s.wav", "c1.bmp", "a.bmp\r\nb.bmp", "c3.bmp"}));
    while (editor.rows().size() < kMaxFormationLines) editor.InsertLine(2, u"fill.bmp"_s);
    modal.clear();
    const auto before = editor.document().FormationLines();
    editor.InsertLine(2, u"one too many.bmp"_s);
    editor.DropFile(u"D:\\x\\nor this.bmp"_s);
    EXPECT_EQ(modal.messageTexts(), QStringList(2, u"車両数が既にMAXを越えているので新たな車両は追加出来ません。"_s));
    EXPECT_EQ(editor.document().FormationLines(), before);
}

TEST_F(EditorTest, HeightCheckNamesCarsWhoseHeightDiffersFromTheFirst) {
    for (auto [name, h] : {std::pair{"a40.bmp", 40}, {"b38.bmp", 38}, {"c40.bmp", 40}, {"td.bmp", -40}})
        drive.write(u"KSN/"_s + QLatin1String(name), test::makeBmp(120, h));
    state.fso.setCurrentDirectory(state.DefaultFolder);  // where bare car names are looked for
    ASSERT_TRUE(load({"T", " ", "a40.bmp;front", "c40.bmp", "b38.bmp", "td.bmp", "gone.bmp"}));
    EXPECT_EQ(modal.messageTexts(),
              QStringList{u"異なる規格のファイルが混在しています。\r\n先頭車両と高さが異なるのは次の通りです。\r\n"
                          "b38.bmp Line=3\r\ntd.bmp Line=4\r\ngone.bmp Line=5\r\n"_s});
    modal.clear();
    ASSERT_TRUE(load({"T", " ", "b38.bmp"}));
    EXPECT_TRUE(modal.messages.empty());
}

TEST_F(EditorTest, DroppedBitmapsGoAfterTheSelectionOrFirstInAFormationWithoutCars) {
    const struct {
        QStringList lines;
        int select;
        QStringList expected;
    } cases[] = {
        {{}, -1, {"", "", "D:\\n.BMP"}},  // the editor as started: nothing loaded
        {{"T", "s.wav", "a.bmp"}, -1, {"T", "s.wav", "a.bmp", "D:\\n.BMP"}},
        {{"T", "s.wav", "a.bmp"}, 0, {"T", "s.wav", "a.bmp"}},  // the title selected: nothing
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.lines.isEmpty() || load(c.lines));
        editor.selectRow(c.select);
        editor.DropFile(u"D:\\n.BMP"_s);
        const auto end = std::find(editor.document().FormationLines().begin() + 2,
                                   editor.document().FormationLines().end(), QString());
        EXPECT_EQ(QStringList(editor.document().FormationLines().begin(), end), c.expected)
            << c.select << c.lines.join(u',').toStdString();
    }
}

TEST_F(EditorTest, ArgumentsAreTakenWholeAndAnExistingHostFileGetsItsWindowsForm) {
    drive.write(u"KSN/my train.KSN"_s, ksnBytes({"T"}));
    EXPECT_EQ(formationArgument({drive.host(u"KSN/my"_s), u"train.KSN"_s}, state.fso), u"D:\\KSN\\my train.KSN"_s);
    EXPECT_EQ(formationArgument({u"\"C:\\x y.KSN\""_s}, state.fso), u"\"C:\\x y.KSN\""_s);  // no such file: as written
}

// "/e" chooses English only as a switch: a host path that holds it (/home/eri, …/ebooks/) is a file.
TEST_F(EditorTest, SlashEInAHostPathIsNoLanguageSwitch) {
    drive.write(u"x/ebooks/a.KSN"_s, ksnBytes({"T"}));
    QTemporaryDir elsewhere;  // under no drive
    QFile outside(elsewhere.path() + u"/ebooks.KSN"_s);
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    const QString book = drive.host(u"x/ebooks/a.KSN"_s);
    const struct {
        QStringList args;
        qint32 base;
    } cases[] = {
        {{u"/e"_s}, National::kEnglish},
        {{book}, National::kJapanese},
        {{drive.host(u"x/ebooks/none.KSN"_s)}, National::kEnglish},  // no such file: as written
        {{book, u"/E"_s}, National::kEnglish},
        {{outside.fileName()}, National::kJapanese},
    };
    for (const auto& c : cases) {
        National national;
        national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        national.setArguments(windowsArguments(c.args, state.fso));
        national.InitNational();
        EXPECT_EQ(national.NationalBase(), c.base) << c.args.join(u' ').toStdString();
    }
}

// An answer replaces the line; Cancel (an empty answer) keeps it unless the next question says delete.
TEST_F(EditorTest, ABatchRunAnsweredNoWritesNothing) {
    const QByteArray before = ksnBytes({"", "s.wav", "C:\\x\\a.bmp"});  // a rewrite would shorten the path
    drive.write(u"KSN/c.KSN"_s, before);
    modal.answers = {MsgAnswer::No};
    bool stopShown = false;
    editor.PathChange(u"D:\\KSN"_s, [&](bool shown) { stopShown = stopShown || shown; });
    EXPECT_EQ(std::tuple(stopShown, modal.messages.size(), ksn(u"c.KSN"_s)),
              std::tuple(false, 1u, before));  // asked only
}

// The folder box and the settings file keep a drive's root as "D:" (the scan drops its "\"). That is
// the root, wherever the drive's current folder happens to be.
TEST_F(EditorTest, ADriveRootAsDefaultFolderIsTheRootNotTheDrivesCurrentFolder) {
    drive.write(u"root.KSN"_s, ksnBytes({"Root", " ", "C:\\x\\car1.bmp"}));
    drive.write(u"KSN/sub.KSN"_s, ksnBytes({"Sub", " ", "C:\\x\\car2.bmp"}));
    const QByteArray subBefore = ksn(u"sub.KSN"_s);
    state.fso.setCurrentDirectory(u"D:\\KSN"_s);
    QString folder = u"D:\\"_s;
    editor.ScanFolder(folder);
    state.DefaultFolder = folder;
    editor.document().setCurrentFilePath(u"nothere.KSN"_s);
    editor.LoadCurrentFile();
    editor.document().setCurrentFilePath(u"root.KSN"_s);
    ASSERT_TRUE(editor.LoadCurrentFile());
    editor.setSaveMode(SaveMode::DefaultFolder);
    editor.RefreshCarList();
    const QString listed = editor.rows().value(2);
    state.fso.setCurrentDirectory(u"D:\\KSN"_s);
    const RewriteResult r = editor.RewriteFolder(folder);
    const struct {
        const char* what;
        QVariant got, expected;
    } checks[] = {
        {"folder as stored", folder, u"D:"_s},
        {"formation list", editor.trainItems(), QStringList{u"Root"_s}},
        {"current folder after the scan", state.fso.currentDirectory(), u"D:\\"_s},
        {"not found", modal.messages.at(0).text, u"File= D:\\nothere.KSN"_s},
        {"default-folder mode", listed, u"D:\\car1.bmp"_s},
        {"rewritten", r.changed, QStringList{u"root.KSN"_s}},
        {"rewritten bytes", drive.read(u"root.KSN"_s), ksnBytes({"Root", " ", "D:\\car1.bmp"})},
        {"the sub-folder untouched", ksn(u"sub.KSN"_s), subBefore},
    };
    for (const auto& c : checks) EXPECT_EQ(c.got, c.expected) << c.what;
}

// Characters with two codes read back as themselves: saved with Windows' preferred code, nothing
// to warn about. Bytes that do not decode would be lost: warned, and the batch leaves the file.
TEST_F(EditorTest, OnlyBytesThatDoNotDecodeAreWarnedAbout) {
    const QByteArray rest = cp932::encode(u" 急ぎ"_s) + "\r\n \r\n";
    const QByteArray twins = "\xEE\xE0\xED\x40" + rest;  // 髙纊 急ぎ
    const QByteArray bad("T\x81\xFF\r\n \r\n");
    drive.write(u"KSN/twins.KSN"_s, twins);
    drive.write(u"KSN/bad.KSN"_s, bad);
    QString folder = state.DefaultFolder;
    const RewriteResult r = editor.RewriteFolder(folder);
    // Both messages name bad.KSN; nothing is said about twins.KSN.
    EXPECT_EQ(modal.messageTexts(),
              (QStringList{u"Shift-JIS として読めないバイトがあります。\r\nこのまま保存すると、その部分は"
                           "別の文字に置き換わります。\r\nFile= D:\\KSN\\bad.KSN"_s,
                           u"Shift-JIS として読めないバイトがあるため、このファイルは書き換えませんでした。"
                           "\r\nFile= D:\\KSN\\bad.KSN"_s}));
    EXPECT_EQ(std::pair(r.changed, r.failed), std::pair(QStringList{u"twins.KSN"_s}, QStringList{u"bad.KSN"_s}));
    EXPECT_EQ(ksn(u"twins.KSN"_s), "\xFB\xFC\xFA\x5C" + rest);  // Windows' preferred codes
    EXPECT_EQ(ksn(u"bad.KSN"_s), bad);
    modal.clear();
    editor.document().setCurrentFilePath(u"twins.KSN"_s);
    ASSERT_TRUE(editor.LoadCurrentFile());
    EXPECT_EQ(std::pair(editor.rows().value(0), modal.messages.size()), std::pair(u"髙纊 急ぎ"_s, size_t(0)));
}

}  // namespace
}  // namespace ksn
