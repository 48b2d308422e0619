// ksnparade's frame: the 101-car train crossing a 1920 x 1080 window (offscreen), against the floor
// of drawing the same visible cars with one QPainter::drawImage each into an image of that size.
// Frames are drawn at 600 moments spread over the whole crossing, the same ones for both.
#include "benchkit.h"
#include "childrun.h"
#include "longtrain.h"
#include "parade/parade.h"
#include "support/paths/filesystem.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>

namespace ksn::bench {
namespace {

constexpr QSize kWindow(1920, 1080);
constexpr int kMoments = 600;
constexpr double kSpeed = 160;

struct Fixture {
    QTemporaryDir dir;
    TrainFiles files{dir.path()};
    FileSystem fs{files.drives, QStringLiteral("K:\\KSN")};
    Fixture() { files.write(); }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
};

double moment(std::int64_t frame, double crossing) { return double(frame % kMoments) * crossing / kMoments; }

void BM_ParadeFrame(benchmark::State& state) {
    Fixture& f = Fixture::get();
    parade::Options options;
    options.speed = kSpeed;
    parade::Parade parade(f.fs, {QStringLiteral("K:\\KSN\\long.KSN")}, options, nullptr, nullptr);
    QImage window(kWindow, QImage::Format_RGB32);
    {
        QPainter p(&window);
        parade.draw(p, kWindow, 0);  // reads the formation: not part of a frame
    }
    const double crossing = parade::crossingSeconds(parade.layout().length, kWindow.width(), kSpeed);
    std::int64_t frame = 0;
    for (auto _ : state) {
        QPainter p(&window);
        parade.draw(p, kWindow, moment(frame++, crossing * 0.999));
    }
}

void BM_FloorFrame(benchmark::State& state) {
    Fixture& f = Fixture::get();
    std::vector<QImage> cars;
    std::vector<QSize> sizes;
    for (const QString& host : f.files.carHosts) {
        cars.emplace_back(host);
        sizes.push_back(cars.back().size());
    }
    const parade::TrainLayout layout = parade::layoutTrain(sizes, {}, parade::Direction::RightToLeft);
    const double crossing = parade::crossingSeconds(layout.length, kWindow.width(), kSpeed);
    QImage window(kWindow, QImage::Format_RGB32);
    std::int64_t frame = 0;
    for (auto _ : state) {
        const int left =
            int(std::lround(parade::trainLeft(layout.length, kWindow.width(), kSpeed, parade::Direction::RightToLeft,
                                              moment(frame++, crossing * 0.999))));
        QPainter p(&window);
        p.fillRect(QRect(QPoint(), kWindow), Qt::black);
        for (size_t i = 0; i < cars.size(); ++i) {
            const int x = left + layout.lefts[i];
            if (x + cars[i].width() > 0 && x < kWindow.width()) p.drawImage(QPoint(x, 560 - cars[i].height()), cars[i]);
        }
    }
}

// Start to the first frame and resident memory, each child in turn: ksnparade's against the bare
// window with one line of text; memory against the bare window plus the two trains' decoded pixels.
void childFigures(int runs) {
    Fixture& f = Fixture::get();
    const QString dir = QCoreApplication::applicationDirPath();
    std::vector<ChildRun> parade, bare;
    for (int i = 0; i < runs; ++i) {
        const auto p =
            runChildProcess(dir + QStringLiteral("/parade_child"), {QStringLiteral("--root=") + f.files.root});
        const auto b = runChildProcess(dir + QStringLiteral("/bare_window"), {QStringLiteral("--text")});
        if (!p || !b) {
            std::printf("child processes: not measured\n");
            return;
        }
        parade.push_back(*p);
        bare.push_back(*b);
    }
    const ChildFigures p = medians(parade), b = medians(bare);
    const double pixels = double(2 * f.files.pixelBytes) / 1024;  // KiB: the running train and the next
    std::printf("start to the first frame       = %.1f ms against %.1f ms: %.2fx\n", p.ms, b.ms, p.ms / b.ms);
    const double extra = p.kib("vmhwm_kb") - b.kib("vmhwm_kb");
    std::printf(
        "peak memory                    = %.1f MiB, %.1f MiB over the bare window: %.2fx two trains' pixels "
        "(%.1f MiB)  aim: within 1.5x, %s\n",
        p.kib("vmhwm_kb") / 1024, extra / 1024, extra / pixels, pixels / 1024,
        extra <= 1.5 * pixels ? "met" : "NOT met");
}

BENCHMARK(BM_ParadeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloorFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ksn::bench

int main(int argc, char** argv) {
    using namespace ksn::bench;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QGuiApplication app(argc, argv);
    RecordingReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    printRatio(reporter, "parade frame/drawImage floor", "BM_ParadeFrame", "BM_FloorFrame", 1.5);
    childFigures(11);
    if (const auto t = reporter.times("BM_ParadeFrame"))
        std::printf("%-28s = %.2f ms CPU  aim: under 2 ms, %s\n", "parade frame", t->cpu / 1000,
                    t->cpu < 2000 ? "met" : "NOT met");
    return 0;
}
