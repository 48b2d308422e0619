// The document commands of the main window run on the Editor without a window.
#include "fixture.h"

namespace ksn {
namespace {

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

// What the model-based test leaves out: an insert above the first car, a drop at the limit.
TEST_F(EditorTest, InsertStopsAtTheTitleAndSoundAndAt103Rows) {
    ASSERT_TRUE(load({"T", "s.wav", "c1.bmp"}));
    editor.InsertLine(1, u"never.bmp"_s);
    while (editor.rows().size() < kMaxFormationLines) editor.InsertLine(2, u"fill.bmp"_s);
    const auto before = editor.document().FormationLines();
    modal.clear();
    editor.DropFile(u"D:\\x\\nor this.bmp"_s);
    EXPECT_EQ(modal.messageTexts(), QStringList{u"車両数が既にMAXを越えているので新たな車両は追加出来ません。"_s});
    EXPECT_EQ(editor.document().FormationLines(), before);
    EXPECT_EQ(editor.rows().mid(0, 3), (QStringList{"T", "s.wav", "fill.bmp"}));
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
    drive.special(u"KSN/pipe.KSN"_s);  // there, though no file: refused by the load for what it is
    EXPECT_EQ(formationArgument({drive.host(u"KSN/pipe.KSN"_s)}, state.fso), u"D:\\KSN\\pipe.KSN"_s);
}

// "/e" chooses English only as a switch: a host path that holds it (/home/eri, …/ebooks/) is a file.
TEST_F(EditorTest, SlashEInAHostPathIsNoLanguageSwitch) {
    drive.write(u"x/ebooks/a.KSN"_s, ksnBytes({"T"}));
    const QString book = drive.host(u"x/ebooks/a.KSN"_s);
    QTemporaryDir elsewhere;  // under no drive
    QFile outside(elsewhere.path() + u"/ebooks.KSN"_s);
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    const std::pair<QStringList, qint32> cases[] = {{{outside.fileName()}, National::kJapanese},

                                                    {{book}, National::kJapanese},
                                                    {{book + u"x"_s}, National::kEnglish},  // no such file
                                                    {{book, u"/E"_s}, National::kEnglish}};
    for (const auto& [args, base] : cases) {
        National national;
        national.setSystemLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        national.setArguments(windowsArguments(args, state.fso));
        national.InitNational();
        EXPECT_EQ(national.NationalBase(), base) << args.join(u' ').toStdString();
    }
}

TEST_F(EditorTest, ABatchRunAnsweredNoWritesNothing) {
    const QByteArray before = ksnBytes({"", "s.wav", "C:\\x\\a.bmp"});  // a rewrite would shorten the path
    drive.write(u"KSN/c.KSN"_s, before);
    modal.answers = {MsgAnswer::No};
    bool stopShown = false;
    editor.PathChange(u"D:\\KSN"_s, [&](bool shown) { stopShown = stopShown || shown; });
    EXPECT_EQ(std::tuple(stopShown, modal.messages.size(), ksn(u"c.KSN"_s)),
              std::tuple(false, 1u, before));  // asked only
}

TEST_F(EditorTest, AHostFolderTypedIntoTheFolderBoxIsKeptInItsWindowsForm) {
    drive.write(u"KSN/a.KSN"_s, ksnBytes({"A", " "}));
    editor.folderTextChanged(drive.host(u"KSN"_s));
    EXPECT_EQ(std::pair(state.DefaultFolder, editor.trainItems()), std::pair(u"D:\\KSN"_s, QStringList{u"A"_s}));
}

// A drive's root kept as "D:" (the scan drops its "\") is the root, wherever the drive's current folder is.
TEST_F(EditorTest, ADriveRootAsDefaultFolderIsTheRootNotTheDrivesCurrentFolder) {
    drive.write(u"root.KSN"_s, ksnBytes({"Root", " ", "C:\\x\\car1.bmp"}));
    drive.write(u"KSN/sub.KSN"_s, ksnBytes({"Sub", " ", "C:\\x\\car2.bmp"}));
    const QByteArray subBefore = ksn(u"sub.KSN"_s);
    state.fso.setCurrentDirectory(u"D:\\KSN"_s);
    QString folder = u"D:\\"_s;
    editor.ScanFolder(folder);
    EXPECT_EQ(std::tuple(folder, editor.trainItems(), state.fso.currentDirectory()),
              std::tuple(u"D:"_s, QStringList{u"Root"_s}, u"D:\\"_s));
    state.DefaultFolder = folder;
    editor.document().setCurrentFilePath(u"root.KSN"_s);
    ASSERT_TRUE(editor.LoadCurrentFile());
    editor.setSaveMode(SaveMode::DefaultFolder);
    editor.RefreshCarList();
    EXPECT_EQ(editor.rows().value(2), u"D:\\car1.bmp"_s);
    state.fso.setCurrentDirectory(u"D:\\KSN"_s);
    EXPECT_EQ(editor.RewriteFolder(folder).changed, QStringList{u"root.KSN"_s});
    EXPECT_EQ(std::pair(drive.read(u"root.KSN"_s), ksn(u"sub.KSN"_s)),
              std::pair(ksnBytes({"Root", " ", "D:\\car1.bmp"}), subBefore));
}

// Characters with two codes are saved with Windows' preferred one, unwarned; undecodable bytes are warned about.
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
