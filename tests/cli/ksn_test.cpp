// The command line as a user runs it: the real program, its output, its exit status, its files.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <csignal>
#include <random>

#include "testkit/tempdrive.h"

namespace ksn {
namespace {

using test::ksnBytes;
using test::makeBmp;

QString q(const char* s) { return QString::fromUtf8(s); }

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

TEST_F(Ksn, ShowAndListPrintTheCarsAndTitles) {
    EXPECT_EQ(expect(0, {"show", file("KSN/express.KSN")}),
              q("特急 ソニック\nhorn.wav;汽笛\nA40.BMP;先頭\nb38.bmp\nx.bmp\n"));
    // D: is no longer mapped: the paths stay on D:, and the file itself is now Q:\local.KSN.
    EXPECT_EQ(expect(0, {"show", file("KSN/local.KSN"), "--drive", "Q:=" + file("KSN"), "--mode", "no-drive"}),
              q("Local\n \n\\KSN\\cars\\a40.bmp\n"));
    EXPECT_EQ(expect(0, {"list", file("KSN")}), q("express.KSN\t特急 ソニック\nlocal.KSN\tLocal\n"));
    // The drive's root, while the current folder (the default folder) lies below it.
    drive.write(q("root.KSN"), ksnBytes({"Root"}));
    EXPECT_EQ(expect(0, {"--default-folder", file("KSN"), "list", drive.hostRoot()}), q("root.KSN\tRoot\n"));
}

TEST_F(Ksn, CheckReportsCarsOfAnotherHeightWithExitOne) {
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

TEST_F(Ksn, BadUsageExitsTwoAndSaysWhy) {
    const struct {
        QStringList args;
        const char* err;
    } cases[] = {{{}, "no command"},
                 {{"frobnicate"}, "unknown command"},
                 {{"show", "nowhere.KSN"}, "no such file"},
                 {{"list", "no-such-folder"}, "no such folder"},
                 {{"show", "x", "--mode", "sideways"}, "unknown save mode"},
                 {{"list", "--drive", "C=/tmp"}, "C=/tmp"},
                 {{"show", "x", "--no-bellows"}, "belong to parade"},
                 {{"render", "x"}, "render takes one FILE and -o OUT"},
                 {{"show", "/etc/hostname"}, "/etc/hostname"},
                 {{"thumbnail", "x"}, "thumbnail takes one FILE and one OUT.png"},
                 {{"thumbnail", "x", "y.png", "--size", "0"}, "--size takes a number from 1 to 4096, not 0"},
                 {{"thumbnail", "x", "y.png", "--size", "big"}, "not big"},
                 {{"show", "x", "--size", "9"}, "belongs to thumbnail"},
                 {{"thumbnail", "--cache"}, "thumbnail --cache takes one FILE or DIR or more"},
                 {{"thumbnail", "--cache", "x.KSN", "--size", "64"}, "no --size with it"},
                 {{"show", "x", "--cache"}, "--cache belongs to thumbnail"}};
    for (const auto& c : cases) {
        const test::ProgramRun r = ksn(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(q(c.err))) << r.err.toStdString();
    }
}

TEST_F(Ksn, HelpGivesTheSynopsisOfEveryCommand) {
    const QString help = expect(0, {"--help"});
    for (const char* synopsis :
         {"ksn show FILE [--mode M] [--comments on|off]", "ksn list [DIR]", "ksn check FILE...",
          "ksn rewrite [DIR] [--mode M] [--comments on|off] [--dry-run]", "ksn parade FILE [--no-bellows] [--quiet]",
          "ksn render FILE -o OUT.png [--mode M] [--comments on|off]", "ksn thumbnail FILE OUT.png [--size N]",
          "ksn thumbnail --cache FILE|DIR..."})
        EXPECT_TRUE(help.contains(q("\n  ") + q(synopsis))) << synopsis << "\n" << help.toStdString();
}

TEST_F(Ksn, ParadePrintsTheTrainAsTheScreensaverReadsIt) {
    // Bare names are the formation's folder's: these formations sit beside their cars.
    drive.write(q("KSN/cars/bellows.bmp"), makeBmp(12, 40));
    drive.write(q("KSN/cars/flat.bmp"), makeBmp(120, 0));
    drive.write(q("KSN/cars/flat.KSN"), ksnBytes({"T", "S", "a40.bmp", "flat.bmp"}));
    drive.write(q("KSN/cars/p.KSN"),
                ksnBytes({"特急 つばさ", "horn.wav;汽笛", "a40.bmp;先頭", "bellows.bmp", "gone.bmp", "a40.bmp;again"}));
    // Kind, file and comment of each distinct image, then the cars by image; the missing car on stderr.
    const QString head = q("特急 つばさ\nhorn.wav;汽笛\n"), p = file("KSN/cars/p.KSN");
    const test::ProgramRun r = ksn({"parade", p}), quiet = ksn({"parade", p, "--no-bellows", "--quiet"});
    EXPECT_EQ(r.out, head + q("3\n0\t1\tD:\\KSN\\cars\\a40.bmp\t先頭\n1\t0\tD:\\KSN\\cars\\bellows.bmp\t\n0 1 0\n"));
    EXPECT_TRUE(r.err.contains(q("CAR= D:\\KSN\\cars\\gone.bmp"))) << r.err.toStdString();
    EXPECT_EQ(quiet.out + quiet.err, head + q("2\n0\t1\tD:\\KSN\\cars\\a40.bmp\t先頭\n0 0\n"));
    // An error the screensaver stops at is told even when quiet, and nothing is printed.
    const test::ProgramRun flat = ksn({"parade", file("KSN/cars/flat.KSN"), "--quiet"});
    EXPECT_EQ(std::tuple(flat.exitCode, flat.out), std::tuple(2, QString()));
    EXPECT_TRUE(flat.err.contains(q("Division by zero (Err.Number= 11)"))) << flat.err.toStdString();
}

TEST_F(Ksn, RenderDrawsTheStripOrWritesNothing) {
    // As in the file: the relative path finds the cars folder, the unreachable car closes up.
    expect(0, {"render", file("KSN/express.KSN"), "-o", file("out.png"), "--mode", "as-in-file", "--default-folder",
               file("KSN")});
    EXPECT_EQ(QImage(file("out.png"), "PNG").size(), QSize(240, 40));
    drive.write(q("KSN/ghost.KSN"), ksnBytes({"Ghost", "horn.wav", "x.bmp", "y.bmp"}));
    const test::ProgramRun ghost = ksn({"render", file("KSN/ghost.KSN"), "--output", file("ghost.png")});
    EXPECT_EQ(ghost.exitCode, 2);
    EXPECT_TRUE(ghost.err.contains(q("no car file"))) << ghost.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("ghost.png")));
    expect(1, {"render", file("KSN/local.KSN"), "-o", file("no/such/dir/x.png"), "--mode", "as-in-file"});
}

// Named pipes and devices are no files: a car, a formation or a folder entry that names one is
// passed over at once. Each run is bounded, so that one that waits fails instead of hanging.
TEST_F(Ksn, PipesAndDevicesAreNoFilesAndNothingWaitsOnThem) {
    drive.special(q("KSN/cars/pipe.bmp"));
    drive.special(q("KSN/cars/link.bmp"), file("KSN/cars/pipe.bmp"));
    drive.special(q("KSN/cars/zero.bmp"), q("/dev/zero"));
    drive.special(q("KSN/pipe.KSN"));
    drive.special(q("KSN/zlink.KSN"), file("KSN/pipe.KSN"));
    drive.write(q("KSN/cars/odd.KSN"), ksnBytes({"Odd", "pipe.wav", "a40.bmp", "pipe.bmp", "zero.bmp", "link.bmp"}));
    const QString odd = file("KSN/cars/odd.KSN"), folder = file("KSN/cars");
    const QString heights = odd + q(":2: pipe.bmp: height 0, first car 40\n") + odd +
                            q(":3: zero.bmp: height 0, first car 40\n") + odd +
                            q(":4: link.bmp: height 0, first car 40\n");
    const struct {
        QStringList args;
        int exitCode;
        QString out;
        const char* err;
    } cases[] = {
        {{"check", "--default-folder", folder, odd}, 1, heights, ""},
        {{"show", odd}, 0, q("Odd\npipe.wav\na40.bmp\npipe.bmp\nzero.bmp\nlink.bmp\n"), ""},
        {{"render", odd, "-o", file("odd.png"), "--default-folder", folder}, 0, {}, ""},
        {{"parade", odd},
         0,
         q("Odd\npipe.wav\n1\n0\t1\tD:\\KSN\\cars\\a40.bmp\t\n0\n"),
         "CAR= D:\\KSN\\cars\\zero.bmp"},
        {{"list", file("KSN")}, 0, q("express.KSN\t特急 ソニック\nlocal.KSN\tLocal\n"), ""},
        {{"show", file("KSN/pipe.KSN")}, 2, {}, "no such file"},
        {{"check", file("KSN/zlink.KSN")}, 2, {}, "no such file"},
        {{"parade", file("KSN/pipe.KSN")}, 2, {}, "KSN= D:\\KSN\\pipe.KSN"},
        {{"thumbnail", odd, file("odd-t.png")}, 0, {}, "CAR= D:\\KSN\\cars\\pipe.bmp"},
        {{"thumbnail", file("KSN/pipe.KSN"), file("z.png")}, 2, {}, "KSN= D:\\KSN\\pipe.KSN"},
    };
    for (const auto& c : cases) {
        const test::ProgramRun r = test::runProgram(q(KSN_EXE), drive, c.args, 5000);
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(c.exitCode, c.out)) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(q(c.err))) << c.args.join(u' ').toStdString() << "\n" << r.err.toStdString();
    }
    EXPECT_EQ(QImage(file("odd.png"), "PNG").size(), QSize(120, 40));  // the special cars take no place
    EXPECT_EQ(QImage(file("odd-t.png"), "PNG").size(), QSize(120, 40));
}

// ksn thumbnail: what each car of a crafted train looks like where it should stand, read back from
// the PNG. Cars sit beside the formation in KSN/t, where bare names find them.
TEST_F(Ksn, ThumbnailDrawsEveryCarWhereTheFoldPutsIt) {
    constexpr QRgb red = 0xFFCC2200, green = 0xFF22AA44, blue = 0xFF2244CC;
    QByteArray td = makeBmp(80, -30, blue & 0xFFFFFF);
    for (int x = 0; x < 80; ++x) td.replace(54 + 3 * x, 3, QByteArray("\x00\x22\xCC", 3));  // the top row red
    for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"KSN/t/a.bmp", makeBmp(120, 40, red & 0xFFFFFF)},
             {"KSN/t/b.bmp", makeBmp(120, 40, blue & 0xFFFFFF)},
             {"KSN/t/bellows.bmp", makeBmp(12, 40, green & 0xFFFFFF)},
             {"KSN/t/td.bmp", td}})
        drive.write(q(name), bytes);
    const struct {
        const char* name;
        QStringList cars;
        QStringList options;
        QSize size;
        std::vector<std::pair<QPoint, QRgb>> pixels;
        const char* err;
    } cases[] = {
        {"one car keeps its size", {"a.bmp"}, {}, {120, 40}, {{{0, 0}, red}, {{119, 39}, red}}, ""},
        {"one car in 60", {"a.bmp"}, {"--size", "60"}, {60, 20}, {{{30, 10}, red}}, ""},
        // A row of its own for each: 120 x 120 is square.
        {"bellows between two cars",
         {"a.bmp", "bellows.bmp", "b.bmp"},
         {},
         {120, 120},
         {{{5, 60}, green}, {{60, 60}, 0}, {{60, 100}, blue}},
         ""},
        {"a missing car closes up",
         {"a.bmp", "gone.bmp;lost", "b.bmp"},
         {},
         {120, 80},
         {{{60, 20}, red}, {{60, 60}, blue}},
         "CAR= D:\\KSN\\t\\gone.bmp"},
        {"a top-down car the right way up", {"td.bmp"}, {}, {80, 30}, {{{40, 0}, red}, {{40, 29}, blue}}, ""},
        {"a car named by its drive path",
         {"D:\\KSN\\cars\\a40.bmp", "a.bmp"},
         {"--size", "40"},
         {40, 27},
         {{{20, 6}, 0xFF336699}, {{20, 20}, red}},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drive.write(q("KSN/t/f.KSN"), ksnBytes(QStringList{"T", "horn.wav"} + c.cars));
        const test::ProgramRun r = ksn(QStringList{"thumbnail", file("KSN/t/f.KSN"), file("out.png")} + c.options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(q(c.err))) << r.err.toStdString();
        const QImage out(file("out.png"), "PNG");
        ASSERT_EQ(out.size(), c.size);
        for (const auto& [at, rgb] : c.pixels) EXPECT_EQ(out.pixel(at), rgb) << at.x() << "," << at.y();
    }
}

// 101 cars of 120 x 40, each its own colour: six a row (720 x 680), scaled to 256 x 242; the middle
// of every car keeps its colour. The 102nd car stops the screensaver's reading: no picture.
TEST_F(Ksn, ThumbnailOfTheLongestTrainShowsEveryCar) {
    const auto colour = [](int i) {
        return std::uint32_t((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (i * 53 % 256));
    };
    QStringList lines{"Long", "horn.wav"};
    for (int i = 0; i < 101; ++i) {
        drive.write(QStringLiteral("KSN/t/c%1.bmp").arg(i), makeBmp(120, 40, colour(i)));
        lines << QStringLiteral("c%1.bmp").arg(i);
    }
    drive.write(q("KSN/t/long.KSN"), ksnBytes(lines));
    expect(0, {"thumbnail", file("KSN/t/long.KSN"), file("long.png")});
    const QImage out(file("long.png"), "PNG");
    ASSERT_EQ(out.size(), QSize(256, 242));
    const double scale = 256.0 / 720.0;
    for (int i = 0; i < 101; ++i)
        EXPECT_EQ(out.pixel(int(((i % 6) * 120 + 60) * scale), int(((i / 6) * 40 + 20) * scale)),
                  0xFF000000 | colour(i))
            << i;
    drive.write(q("KSN/t/long.KSN"), ksnBytes(lines << "c0.bmp"));
    const test::ProgramRun r = ksn({"thumbnail", file("KSN/t/long.KSN"), file("102.png")});
    EXPECT_EQ(std::tuple(r.exitCode, QFile::exists(file("102.png"))), std::tuple(2, false));
    EXPECT_TRUE(r.err.contains(q("Err.Number= 9"))) << r.err.toStdString();
}

// The samples as tools/setup maps them (K: = samples, the editor's folder K:\): within N x N, the
// aspect kept at every size.
TEST_F(Ksn, ThumbnailOfTheSamplesFitsAndKeepsItsAspect) {
    const QString samples = q(KSNED_SAMPLES_DIR);
    const struct {
        const char* file;
        QSize size;
    } cases[] = {{"TSUBASA.KSN", {240, 160}},
                 {"KAMOTSU.KSN", {256, 160}},
                 {"KONSEI.KSN", {120, 158}},
                 {"RENKETSU.KSN", {132, 120}},
                 {"SOLEIL.KSN", {120, 200}}};
    for (const auto& c : cases) {
        for (const int side : {256, 64}) {
            const QString out = file("s.png");
            expect(0, {"thumbnail", samples + u'/' + q(c.file), out, "--size", QString::number(side), "--drive",
                       "K:=" + samples, "--default-folder", samples});
            const QImage image(out, "PNG");
            const QSize expected = side == 256 ? c.size : c.size.scaled(side, side, Qt::KeepAspectRatio);
            EXPECT_LE(std::abs(image.width() - expected.width()) + std::abs(image.height() - expected.height()), 1)
                << c.file << " in " << side;
        }
    }
}

// A formation that gives nothing to draw, or that is hostile, ends at once with a message and
// writes nothing: not the picture, not beside the formation.
TEST_F(Ksn, ThumbnailWithNothingToDrawExitsTwoAndWritesNothing) {
    drive.write(q("KSN/h/header-only.bmp"), makeBmp(30, 35).left(26));
    QByteArray huge = makeBmp(4, 4);  // claims 32767 x 32767 dots
    huge.replace(18, 8, QByteArray("\xFF\x7F\0\0\xFF\x7F\0\0", 8));
    drive.write(q("KSN/h/huge.bmp"), huge);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* err;
    } cases[] = {
        {"only missing cars", ksnBytes({"T", "S", "x.bmp", "y.bmp"}), "no car of D:\\KSN\\h\\f.KSN can be read"},
        {"cars without pixels", ksnBytes({"T", "S", "header-only.bmp", "huge.bmp"}), "no car of"},
        {"empty file", {}, "Input past end of file"},
        {"10 MB single line", QByteArray(10 << 20, 'x'), "Input past end of file"},
        {"NUL bytes", QByteArray("T\0itle\r\n\0\r\ncar\0.bmp\r\n", 21), "no car of"},
        {"a bitmap named .KSN", makeBmp(64, 64, 0x80FF00), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drive.write(q("KSN/h/f.KSN"), c.bytes);
        const test::ProgramRun r =
            test::runProgram(q(KSN_EXE), drive, {"thumbnail", file("KSN/h/f.KSN"), file("out/t.png")}, 5000);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(q(c.err))) << r.err.toStdString();
        EXPECT_EQ(drive.read(q("KSN/h/f.KSN")), c.bytes);
    }
    EXPECT_FALSE(QFile::exists(file("out")));
    EXPECT_EQ(QDir(file("KSN/h")).entryList(QDir::Files), (QStringList{"f.KSN", "header-only.bmp", "huge.bmp"}));
}

// The shared thumbnail cache (XDG_CACHE_HOME is the drive's cache/ for every run): a picture in each
// size, named and marked as file managers look it up; nothing beside the formations; a formation
// that cannot be drawn is told, left out, and makes the exit status 1.
TEST_F(Ksn, ThumbnailCacheHoldsEachFormationAsFileManagersLookItUp) {
    drive.write(q("KSN/t/a.bmp"), makeBmp(120, 40, 0xCC2200));
    drive.write(q("KSN/t/wide.ksn"), ksnBytes({"Wide", "horn.wav", "a.bmp", "a.bmp", "a.bmp", "a.bmp"}));
    drive.write(q("KSN/t/Two Cars.KSN"), ksnBytes({"Two", "horn.wav", "a.bmp", "a.bmp"}));
    drive.write(q("KSN/t/empty.KSN"), ksnBytes({"Empty", "horn.wav", "gone.bmp"}));
    const QStringList before = QDir(file("KSN/t")).entryList(QDir::Files);
    const auto cached = [&](const char* relative, const char* size) {
        const QString uri = QString::fromLatin1(QUrl::fromLocalFile(file(relative)).toEncoded());
        const QByteArray md5 = QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex();
        return std::pair(uri, file("cache/thumbnails/") + q(size) + u'/' + QString::fromLatin1(md5) + q(".png"));
    };

    const test::ProgramRun r = ksn({"thumbnail", "--cache", file("KSN/t")});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(q("no car of D:\\KSN\\t\\empty.KSN can be read"))) << r.err.toStdString();
    const struct {
        const char* file;
        const char* size;
        QSize picture;
    } cases[] = {{"KSN/t/wide.ksn", "large", {120, 160}},  // a row for each car
                 {"KSN/t/wide.ksn", "normal", {96, 128}},
                 {"KSN/t/Two Cars.KSN", "large", {120, 80}},
                 {"KSN/t/Two Cars.KSN", "normal", {120, 80}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.size);
        const auto [uri, path] = cached(c.file, c.size);
        const QImage image(path, "PNG");
        EXPECT_LE(std::abs(image.width() - c.picture.width()) + std::abs(image.height() - c.picture.height()), 1)
            << image.width() << " x " << image.height();
        EXPECT_EQ(image.text(q("Thumb::URI")), uri);
        EXPECT_EQ(image.text(q("Thumb::MTime")),
                  QString::number(QFileInfo(file(c.file)).lastModified().toSecsSinceEpoch()));
        EXPECT_EQ(QFileInfo(path).permissions() & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    EXPECT_EQ(QFileInfo(file("cache/thumbnails/large")).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const char* size : {"large", "normal"}) {
        EXPECT_FALSE(QFile::exists(cached("KSN/t/empty.KSN", size).second));
        EXPECT_EQ(QDir(file("cache/thumbnails/") + q(size)).entryList(QDir::Files).size(), 2);  // no temporary left
    }
    EXPECT_EQ(QDir(file("KSN/t")).entryList(QDir::Files), before);

    // A changed formation, given by name, gets its new time; alone, a formation without cars exits 1.
    drive.write(q("KSN/t/wide.ksn"), ksnBytes({"Wide", "horn.wav", "a.bmp"}));
    const QDateTime later = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() + 100);
    QFile wide(file("KSN/t/wide.ksn"));
    ASSERT_TRUE(wide.open(QIODevice::ReadWrite) && wide.setFileTime(later, QFileDevice::FileModificationTime));
    wide.close();
    expect(0, {"thumbnail", "--cache", file("KSN/t/wide.ksn")});
    const QImage updated(cached("KSN/t/wide.ksn", "large").second, "PNG");
    EXPECT_EQ(updated.size(), QSize(120, 40));
    EXPECT_EQ(updated.text(q("Thumb::MTime")), QString::number(later.toSecsSinceEpoch()));
    expect(1, {"thumbnail", "--cache", file("KSN/t/empty.KSN")});
    expect(2, {"thumbnail", "--cache", file("KSN/t/none.KSN")});
}

// Killed at any moment, a rewrite leaves each file old or new, never mixed or empty, done in any order.
TEST(KilledRewrite, LeavesEveryFileWholeOldOrNew) {
    constexpr int kFiles = 300;
    std::mt19937 rng(20261205);  // fixed: the same kill points on every run
    for (int round = 0; round < 6; ++round) {
        test::TempDrive drive;
        QByteArray oldBytes[kFiles], newBytes[kFiles];
        const auto name = [](int i) { return QStringLiteral("KSN/f%1.KSN").arg(i, 3, 10, QLatin1Char('0')); };
        for (int i = 0; i < kFiles; ++i) {
            QStringList lines{QStringLiteral("列車 %1").arg(i), "C:\\snd\\horn.wav;汽笛"},
                rewritten{lines[0], "horn.wav;汽笛"};
            for (int c = 0; c < 40; ++c) {
                lines << QStringLiteral("C:\\Trains\\folder%1\\car%2.bmp;comment %2").arg(i).arg(c);
                rewritten << QStringLiteral("car%1.bmp;comment %1").arg(c);
            }
            drive.write(name(i), oldBytes[i] = ksnBytes(lines));
            newBytes[i] = ksnBytes(rewritten);
        }
        QProcess p;
        p.setEnvironment(QProcess::systemEnvironment() << q("KSNED_DRIVES=D:=") + drive.hostRoot());
        p.start(q(KSN_EXE), {q("rewrite"), drive.host(q("KSN"))});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(20, 400)(rng));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray now = drive.read(name(i));
            ASSERT_TRUE(now == oldBytes[i] || now == newBytes[i]) << "round " << round << ", file " << i;
        }
    }
}

}  // namespace
}  // namespace ksn
