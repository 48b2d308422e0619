// `ksn thumbnail` of the 101-car formation against the desktop's own image thumbnailer on one
// bitmap holding the same pixels: whole processes, as a file manager starts them.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "benchkit.h"
#include "document/thumbnail.h"
#include "support/text/cp932.h"

namespace ksn {
namespace {

using bench::carBmp;
using bench::writeHostFile;

constexpr int kCars = 101;

// The cars of the window benchmarks: most 120 x 40, every sixth a 320 x 40 double car, each its
// own file with its own colours.
QSize carSize(int i) { return i % 6 == 5 ? QSize(320, 40) : QSize(120, 40); }

struct Files {
    QTemporaryDir dir;
    QString formation, bitmap, thumbnailer, installedKsn;
    QStringList ksnArgs, baselineArgs, installedArgs;
    QProcessEnvironment installedEnv;

    // ksn as `cmake --install` lays it out under prefix (or under --installed=PREFIX when given);
    // empty when that fails.
    static QString install(const QString& prefix) {
        QString given;
        for (const QString& a : QCoreApplication::arguments())
            if (a.startsWith(QStringLiteral("--installed="))) given = a.mid(12);
        if (!given.isEmpty()) return given + QStringLiteral("/bin/ksn");
        QProcess cmake;
        cmake.start(QStringLiteral("cmake"),
                    {QStringLiteral("--install"), QStringLiteral(KSN_BUILD_DIR), QStringLiteral("--prefix"), prefix});
        if (!cmake.waitForFinished(120000) || cmake.exitCode() != 0) {
            std::fprintf(stderr, "cannot install into %s:\n%s\n", qPrintable(prefix), cmake.readAll().constData());
            return {};
        }
        return prefix + QStringLiteral("/bin/ksn");
    }

    Files() {
        const QString root = dir.path();
        QDir().mkpath(root + QStringLiteral("/KSN"));
        formation = root + QStringLiteral("/KSN/long.KSN");
        QStringList lines{QStringLiteral("特急 101両編成"), QStringLiteral("horn.wav;汽笛")};
        std::vector<QImage> cars;
        std::vector<QSize> sizes;
        for (int i = 0; i < kCars; ++i) {
            const QString name = QStringLiteral("c%1.bmp").arg(i + 1, 3, 10, QLatin1Char('0'));
            const QByteArray bytes = carBmp(carSize(i).width(), carSize(i).height(), 0, std::uint32_t(i + 1));
            writeHostFile(root + QStringLiteral("/KSN/") + name, bytes);
            cars.push_back(QImage::fromData(bytes, "BMP"));
            sizes.push_back(carSize(i));
            lines << name + (i == 0 ? QStringLiteral(";先頭車") : QString());
        }
        QByteArray bytes;
        for (const QString& line : lines) bytes += cp932::encode(line) + QByteArray("\r\n");
        writeHostFile(formation, bytes);

        // The baseline's picture: the train folded as the thumbnail folds it, before scaling.
        std::vector<const QImage*> pictures;
        for (const QImage& car : cars) pictures.push_back(&car);
        const ThumbnailLayout layout = foldTrain(sizes);
        const QImage folded = drawThumbnail(layout, pictures, kThumbnailMaxSide).convertToFormat(QImage::Format_RGB32);
        bitmap = root + QStringLiteral("/folded.bmp");
        if (folded.size() != layout.size || !folded.save(bitmap, "BMP"))
            throw std::runtime_error("cannot write the bitmap");
        std::printf("train: %d cars, folded %d x %d; the bitmap %lld bytes\n", kCars, layout.size.width(),
                    layout.size.height(), static_cast<long long>(QFileInfo(bitmap).size()));

        ksnArgs = {QStringLiteral("thumbnail"), formation, root + QStringLiteral("/ksn.png")};
        // As the desktop runs the installed thumbnailer entry: host paths, no drive variable, the
        // drives of the user's Wine prefix (C: its drive_c, Z: the whole host).
        installedArgs = {QStringLiteral("thumbnail"), formation, root + QStringLiteral("/installed.png"),
                         QStringLiteral("--size"), QStringLiteral("256")};
        const QString home = root + QStringLiteral("/home");
        QDir().mkpath(home + QStringLiteral("/.wine/dosdevices"));
        QDir().mkpath(home + QStringLiteral("/.wine/drive_c"));
        QFile::link(QStringLiteral("../drive_c"), home + QStringLiteral("/.wine/dosdevices/c:"));
        QFile::link(QStringLiteral("/"), home + QStringLiteral("/.wine/dosdevices/z:"));
        installedEnv = QProcessEnvironment::systemEnvironment();
        installedEnv.remove(QStringLiteral("KSNED_DRIVES"));
        installedEnv.remove(QStringLiteral("WINEPREFIX"));
        installedEnv.insert(QStringLiteral("HOME"), home);
        installedKsn = install(root + QStringLiteral("/prefix"));
        thumbnailer = QStandardPaths::findExecutable(QStringLiteral("gdk-pixbuf-thumbnailer"));
        baselineArgs = {QStringLiteral("-s"), QStringLiteral("256"), bitmap, root + QStringLiteral("/pixbuf.png")};
        qputenv("KSNED_DRIVES", ("K:=" + root).toUtf8());
    }
};

Files* files = nullptr;

void runProcess(benchmark::State& state, const QString& program, const QStringList& args,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    if (program.isEmpty()) {
        state.SkipWithError("program not installed");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            state.SkipWithError("the process failed");
            return;
        }
    }
}

void BM_KsnThumbnail(benchmark::State& state) { runProcess(state, QStringLiteral(KSN_EXE), files->ksnArgs); }
void BM_PixbufThumbnailer(benchmark::State& state) { runProcess(state, files->thumbnailer, files->baselineArgs); }
void BM_InstalledKsnThumbnail(benchmark::State& state) {
    runProcess(state, files->installedKsn, files->installedArgs, files->installedEnv);
}

BENCHMARK(BM_KsnThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PixbufThumbnailer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InstalledKsnThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace ksn

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ksn::Files f;
    ksn::files = &f;
    ksn::bench::RecordingReporter reporter;
    if (!ksn::bench::runBenchmarks(argc, argv, reporter)) return 1;
    // Process time only: neither side counts the child's CPU time, so the CPU ratio is meaningless.
    ksn::bench::printRatio(reporter, "ksn thumbnail/pixbuf", "BM_KsnThumbnail", "BM_PixbufThumbnailer", 1.25);
    ksn::bench::printRatio(reporter, "installed ksn thumbnail/pixbuf", "BM_InstalledKsnThumbnail",
                           "BM_PixbufThumbnailer", 1.25);
    return 0;
}
