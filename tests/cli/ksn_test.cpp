// The command line as a user runs it: the real program, its output, its exit status, its files.

#include <QCryptographicHash>
#include <QDateTime>
#include <QUrl>

#include "testkit/tempdrive.h"

namespace ksn {
namespace {

// Drive D:, the program started in D:\ (relative paths start there) with D: as its only drive.
class Ksn : public ::testing::Test {
protected:
    Ksn() {
        for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
                 {"KSN/cars/a40.bmp", makeBmp(120, 40)},
                 {"KSN/cars/b38.bmp", makeBmp(120, 38)},
                 {"KSN/express.KSN", ksnBytes({"特急 ソニック", "D:\\KSN\\horn.wav;汽笛", "D:\\KSN\\cars\\A40.BMP;先頭",
                                               "cars\\b38.bmp", "\\\\server\\share\\x.bmp"})},
                 {"KSN/local.KSN", ksnBytes({"Local", " ", "D:\\KSN\\cars\\a40.bmp"})}})
            drive.write(q(name), bytes);
    }
    test::ProgramRun ksn(const QStringList& args) const { return test::runProgram(q(KSN_EXE), drive, args); }
    QString file(const char* relative) const { return drive.host(q(relative)); }
    // Runs and checks the exit code; gives stdout.
    QString expect(int exitCode, const QStringList& args) const {
        const test::ProgramRun r = ksn(args);
        EXPECT_EQ(r.exitCode, exitCode) << args.join(u' ').toStdString() << "\n" << r.err.toStdString();
        return r.out;
    }

    test::TempDrive drive;
};

TEST_F(Ksn, ShowListAndCheckPrintTheCarsTitlesAndOddHeights) {
    EXPECT_EQ(expect(0, {"show", file("KSN/express.KSN")}),
              q("特急 ソニック\nhorn.wav;汽笛\nA40.BMP;先頭\nb38.bmp\nx.bmp\n"));
    // D: is no longer mapped: the paths stay on D:, and the file itself is now Q:\local.KSN.
    EXPECT_EQ(expect(0, {"show", file("KSN/local.KSN"), "--drive", "Q:=" + file("KSN"), "--mode", "no-drive"}),
              q("Local\n\n\\KSN\\cars\\a40.bmp\n"));
    EXPECT_EQ(expect(0, {"list", file("KSN")}), q("express.KSN\t特急 ソニック\nlocal.KSN\tLocal\n"));
    // The drive's root, while the current folder (the default folder) lies below it.
    drive.write(q("root.KSN"), ksnBytes({"Root"}));
    EXPECT_EQ(expect(0, {"--default-folder", file("KSN"), "list", drive.hostRoot()}), q("root.KSN\tRoot\n"));
    // check: cars of another height than the first, with exit 1.
    const QString express = file("KSN/express.KSN");
    EXPECT_EQ(expect(1, {"check", "--default-folder", file("KSN"), express, file("KSN/local.KSN")}),
              express + q(":2: cars\\b38.bmp: height 38, first car 40\n") + express +
                  q(":3: \\\\server\\share\\x.bmp: height 0, first car 40\n"));
    expect(0, {"check", file("KSN/local.KSN")});
}

TEST_F(Ksn, RewriteWritesTheFolderAndDryRunOnlyNamesTheFiles) {
    const QByteArray before = drive.read(q("KSN/express.KSN"));
    EXPECT_EQ(expect(0, {"rewrite", file("KSN"), "--dry-run"}), q("express.KSN\nlocal.KSN\n"));
    EXPECT_EQ(drive.read(q("KSN/express.KSN")), before);

    const test::ProgramRun r = ksn({"rewrite", file("KSN"), "--comments", "off"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(q("2 of 2 files rewritten (2 changed)\n"))) << r.out.toStdString();
    EXPECT_EQ(drive.read(q("KSN/express.KSN")), ksnBytes({"特急 ソニック", "horn.wav", "A40.BMP", "b38.bmp", "x.bmp"}));
    EXPECT_TRUE(r.err.contains(q("異なる規格のファイルが混在しています。")));  // the height check, on stderr
}

// A usage error, a misplaced option too, exits 2 with its one line and the hint, and prints nothing.
TEST_F(Ksn, UsageErrorsExitTwoAndSayWhy) {
    const struct {
        QStringList args;
        const char* err;
    } cases[] = {{{"--bogus"}, "Unknown option 'bogus'."},
                 {{}, "no command given"},
                 {{"frobnicate"}, "unknown command: frobnicate"},
                 {{"frobnicate", "--quiet", "-o", "x"}, "--output belongs to render"},
                 {{"show", "x", "--mode", "sideways"}, "unknown save mode: sideways"},
                 {{"check"}, "check takes one FILE or more"},
                 {{"thumbnail", "x", "y.png", "--size", "4097"}, "--size takes a number from 1 to 4096, not 4097"},
                 {{"thumbnail", "--cache", "x.KSN", "--size", "9"}, "--cache makes the cache's own sizes: no --size"}};
    for (const auto& c : cases) {
        const test::ProgramRun r = ksn(c.args);
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(2, QString())) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(q("ksn: ") + q(c.err)) && r.err.endsWith(q("\nTry 'ksn --help'.\n")))
            << r.err.toStdString();
    }
    // Missing files and folders, a file under no drive and a bad drive exit 2 as well.
    for (const QStringList& args : {QStringList{"show", file("none.KSN")},
                                    {"list", file("none")},
                                    {"check", file("KSN/local.KSN"), file("none.KSN")},
                                    {"show", "/etc/hostname"},
                                    {"list", "--drive", "C=/tmp"}})
        EXPECT_EQ(ksn(args).exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_EQ(ksn({"show", file("KSN")}).err, q("ksn: not a regular file: ") + file("KSN") + u'\n');  // not "no such"
}

TEST_F(Ksn, HelpVersionAndModeNamesExitZero) {
    EXPECT_TRUE(expect(0, {"--help"}).contains(q("\n  ksn thumbnail --cache FILE|DIR...              the same")));
    EXPECT_TRUE(expect(0, {"--version"}).startsWith(q("ksn ")));
}

// A picture is written whole or not at all: a formation with nothing to draw exits 2 and writes nothing.
TEST_F(Ksn, ThumbnailAndRenderWriteOnePictureOrNothing) {
    drive.write(q("KSN/ghost.KSN"), ksnBytes({"Ghost", "horn.wav", "x.bmp", "y.bmp"}));
    expect(0, {"thumbnail", file("KSN/local.KSN"), file("thumb.png"), "--size", "60"});
    // As in the file: the relative path finds the cars folder, the unreachable car closes up.
    expect(0, {"render", file("KSN/express.KSN"), "-o", file("strip.png"), "--mode", "as-in-file", "--default-folder",
               file("KSN")});
    EXPECT_EQ(std::pair(QImage(file("thumb.png")).size(), QImage(file("strip.png")).size()),
              std::pair(QSize(60, 20), QSize(240, 40)));
    const test::ProgramRun thumb = ksn({"thumbnail", file("KSN/ghost.KSN"), file("out/t.png")}),
                           strip = ksn({"render", file("KSN/ghost.KSN"), "--output", file("ghost.png")});
    EXPECT_EQ(std::tuple(thumb.exitCode, strip.exitCode, QFile::exists(file("out")), QFile::exists(file("ghost.png"))),
              std::tuple(2, 2, false, false));
    EXPECT_TRUE(thumb.err.contains(q("no car of D:\\KSN\\ghost.KSN can be read")) &&
                strip.err.contains(q("no car file")))
        << thumb.err.toStdString() << strip.err.toStdString();
    expect(1, {"render", file("KSN/local.KSN"), "-o", file("no/such/dir/x.png"), "--mode", "as-in-file"});
    // A car whose header gives a place but whose pixels no reader can decode (7 bits a pixel) is no
    // picture either.
    QByteArray odd = makeBmp(40, 40);
    odd[28] = 7;
    drive.write(q("KSN/odd/c.bmp"), odd);
    drive.write(q("KSN/odd/t.KSN"), ksnBytes({"Odd", "horn.wav", "c.bmp"}));
    expect(2, {"thumbnail", file("KSN/odd/t.KSN"), file("odd.png")});
    EXPECT_FALSE(QFile::exists(file("odd.png")));
    // A car the train repeats is drawn in each of its places.
    drive.write(q("KSN/twice/c.bmp"), makeBmp(40, 40));
    drive.write(q("KSN/twice/t.KSN"), ksnBytes({"Twice", "horn.wav", "c.bmp", "c.bmp"}));
    expect(0, {"thumbnail", file("KSN/twice/t.KSN"), file("twice.png"), "--size", "80"});
    const QImage twice(file("twice.png"));
    EXPECT_EQ(std::tuple(twice.size(), qAlpha(twice.pixel(10, 20)), qAlpha(twice.pixel(70, 20))),
              std::tuple(QSize(80, 40), 255, 255));
}

TEST_F(Ksn, ParadePrintsTheTrainAsTheScreensaverReadsIt) {
    // Bare names are the formation's folder's: these formations sit beside their cars.
    drive.write(q("KSN/cars/bellows.bmp"), makeBmp(12, 40));
    drive.write(q("KSN/cars/p.KSN"),
                ksnBytes({"特急 つばさ", "horn.wav;汽笛", "a40.bmp;先頭", "bellows.bmp", "gone.bmp", "a40.bmp;again"}));
    // Kind, file and comment of each distinct image, then the cars by image; the missing car on stderr.
    const QString head = q("特急 つばさ\nhorn.wav;汽笛\n"), p = file("KSN/cars/p.KSN");
    const test::ProgramRun r = ksn({"parade", p}), quiet = ksn({"parade", p, "--no-bellows", "--quiet"});
    EXPECT_EQ(r.out, head + q("3\n0\t1\tD:\\KSN\\cars\\a40.bmp\t先頭\n1\t0\tD:\\KSN\\cars\\bellows.bmp\t\n0 1 0\n"));
    EXPECT_TRUE(r.err.contains(q("CAR= D:\\KSN\\cars\\gone.bmp"))) << r.err.toStdString();
    EXPECT_EQ(quiet.out + quiet.err, head + q("2\n0\t1\tD:\\KSN\\cars\\a40.bmp\t先頭\n0 0\n"));
    // Messages show a terminal no control character, and a hundred of them say enough.
    drive.write(q("KSN/cars/odd.KSN"), "T\r\n \r\ngone\x1b[31m\x07.bmp" + QByteArray(500, '\r'));
    const QString err = ksn({"parade", file("KSN/cars/odd.KSN")}).err;
    EXPECT_EQ(std::tuple(err.count(q("CAR= ")), err.count(q("gone?[31m?.bmp")), err.count(q("(100 shown)")),
                         err.contains(q("?\n"))),  // CR LF ends a line; a CR alone would show
              std::tuple(100, 1, 1, false));
}

// The thumbnail cache is the drive's cache/ (XDG_CACHE_HOME) for every run.
TEST_F(Ksn, ThumbnailCacheHoldsEachFormationAsFileManagersLookItUp) {
    drive.write(q("KSN/t/a.bmp"), makeBmp(120, 40, 0xCC2200));
    drive.write(q("KSN/t/Two Cars.ksn"), ksnBytes({"Two", "horn.wav", "a.bmp", "a.bmp"}));
    drive.write(q("KSN/t/empty.KSN"), ksnBytes({"Empty", "horn.wav", "gone.bmp"}));
    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(file("KSN/t/Two Cars.ksn")).toEncoded());
    const QString name = QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() + q(".png");
    const test::ProgramRun r = ksn({"thumbnail", "--cache", file("KSN/t")});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(q("no car of D:\\KSN\\t\\empty.KSN can be read"))) << r.err.toStdString();
    for (const char* size : {"large", "normal"}) {
        const QString folder = file("cache/thumbnails/") + q(size);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{name});  // nothing of empty.KSN, no temporary
        EXPECT_EQ(QFileInfo(folder + u'/' + name).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        const QImage image(folder + u'/' + name, "PNG");
        EXPECT_EQ(std::tuple(image.size(), image.text(q("Thumb::URI")), image.text(q("Thumb::MTime"))),
                  std::tuple(QSize(120, 80), uri,
                             QString::number(QFileInfo(file("KSN/t/Two Cars.ksn")).lastModified().toSecsSinceEpoch())));
    }
    EXPECT_EQ(QDir(file("KSN/t")).entryList(QDir::Files), (QStringList{"a.bmp", "empty.KSN", "Two Cars.ksn"}));
    // Given by name, a changed formation replaces its picture; alone, one without cars exits 1.
    drive.write(q("KSN/t/Two Cars.ksn"), ksnBytes({"Two", "horn.wav", "a.bmp"}));
    expect(0, {"thumbnail", "--cache", file("KSN/t/Two Cars.ksn")});
    EXPECT_EQ(QImage(file("cache/thumbnails/large/") + name, "PNG").size(), QSize(120, 40));
    expect(1, {"thumbnail", "--cache", file("KSN/t/empty.KSN")});
    expect(2, {"thumbnail", "--cache", file("KSN/t/none.KSN")});
}

}  // namespace
}  // namespace ksn
