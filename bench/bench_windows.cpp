// The editor's windows against the least Qt itself does for the same result.
//
// In one process, offscreen:
// - the whole-train view of a 101-car formation, built as the F2 command builds it and shown until
//   its window is exposed, against decoding the same 101 bitmaps with QImage: within 1.25x;
// - for information, the editor's start-up in a running application (state, Qt dialogs, main
//   window, start-up sequence with a formation on the command line, shown until exposed) against
//   a QMainWindow shown the same way.
// Then in child processes, each started from nothing and left as soon as its window is exposed:
// - start-up, the editor with the formation on its command line against bare_window --text (a
//   bare QApplication showing a QMainWindow with one line of Japanese, linked with Qt Widgets
//   alone): within 1.25x;
// - peak resident memory (VmHWM) of the editor with the 101-car view open against that window's:
//   the difference should stay within 1.5x the decoded pixels of the cars.
//
// The children are bare_window and editor_child (see each), started from this program's folder.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchkit.h"
#include "childreport.h"
#include "childrun.h"
#include "document/editor.h"
#include "document/ksned.h"
#include "document/trainlayout.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/qtmodal.h"
#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "support/text/cp932.h"
#include "trainfiles.h"
#include "viewers/frmTrain.h"

namespace {

using namespace ksn;
using namespace ksn::bench;
using bench::carBmp;
using bench::RecordingReporter;
using bench::writeHostFile;

struct Fixture {
    QTemporaryDir dir;
    std::optional<TrainFiles> files;
    Fixture() {
        if (!dir.isValid()) throw std::runtime_error("cannot create a temporary folder");
        files.emplace(QFileInfo(dir.path()).canonicalFilePath());
        files->write();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

using bench::waitExposed;

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Whether the start-up would run without a message (a box would wait for a click): the same
// sequence through a seam that only counts.
bool startsQuietly(const TrainFiles& f) {
    bench::CountingModal modal;
    Ksned state(FileSystem(f.drives), f.programPath);
    Editor editor(state, modal);
    editor.startUp(formationArgument(QStringList{f.formationHost}, state.fso), {});
    return modal.messages == 0 && editor.rows().size() == kCars + 2;
}

// Minor page faults so far: fresh memory touched for the first time, which the kernel pays for.
long minorFaults() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

void countFaults(benchmark::State& state, long before) {
    state.counters["faults"] = benchmark::Counter(double(minorFaults() - before), benchmark::Counter::kAvgIterations);
}

// ---------------------------------------------------------------- the whole-train view

void BM_TrainView(benchmark::State& state) {
    const TrainFiles& f = *fixture().files;
    if (!startsQuietly(f)) {
        state.SkipWithError("the start-up would show a message");
        return;
    }
    Editor32 editor(f);
    if (!editor.start(f)) {
        state.SkipWithError("the main window was never exposed");
        return;
    }
    int shown = 0;
    const long faults = minorFaults();
    for (auto _ : state) {
        if (!openTrainView(editor.window)) {
            state.SkipWithError("the whole-train view was never exposed");
            return;
        }
        state.PauseTiming();
        shown = picturesShown(*editor.window.trainView);
        delete editor.window.trainView.data();
        settle();
        state.ResumeTiming();
    }
    countFaults(state, faults);
    if (shown != kCars) state.SkipWithError("the view did not show every car's picture");
    state.SetItemsProcessed(state.iterations() * kCars);
}

// Not one of the pairs: the view's data alone (car files found, read and decoded, laid out), to
// tell the reading and decoding from the widgets.
void BM_TrainStrip(benchmark::State& state) {
    const TrainFiles& f = *fixture().files;
    bench::CountingModal modal;
    Ksned g(FileSystem(f.drives), f.programPath);
    Editor editor(g, modal);
    editor.startUp(formationArgument(QStringList{f.formationHost}, g.fso), {});
    int placed = 0;
    const long faults = minorFaults();
    for (auto _ : state) {
        auto strip = buildTrainStrip(editor.rows(), g.DefaultFolder, g.fso);
        state.PauseTiming();
        placed = strip ? int(std::count_if(strip->cars.begin(), strip->cars.end(),
                                           [](const TrainCar& c) { return !c.picture.isNull(); }))
                       : 0;
        strip.reset();
        state.ResumeTiming();
    }
    countFaults(state, faults);
    if (placed != kCars) state.SkipWithError("the strip did not hold every car's picture");
    state.SetItemsProcessed(state.iterations() * kCars);
}

// The least any whole-train view does: every picture decoded and all of them held at once, as
// the view holds them (freeing each at once would reuse one warm buffer 101 times, which no view
// can). They are let go outside the timing, as the view is closed outside it.
void BM_DecodeCarsQImage(benchmark::State& state) {
    const TrainFiles& f = *fixture().files;
    std::vector<QImage> images;
    images.reserve(size_t(kCars));
    const long faults = minorFaults();
    for (auto _ : state) {
        for (const QString& path : f.carHosts) {
            images.emplace_back(path);
            if (images.back().isNull()) {
                state.SkipWithError("QImage could not decode a car");
                return;
            }
            benchmark::DoNotOptimize(images.back().constBits());
        }
        state.PauseTiming();
        images.clear();
        state.ResumeTiming();
    }
    countFaults(state, faults);
    state.SetItemsProcessed(state.iterations() * kCars);
}

// ---------------------------------------------------------------- start-up

void BM_EditorStartUp(benchmark::State& state) {
    const TrainFiles& f = *fixture().files;
    if (!startsQuietly(f)) {
        state.SkipWithError("the start-up would show a message");
        return;
    }
    for (auto _ : state) {
        auto editor = std::make_unique<Editor32>(f);
        if (!editor->start(f)) {
            state.SkipWithError("the main window was never exposed");
            return;
        }
        state.PauseTiming();
        if (editor->window.lstCars->count() != kCars + 2) state.SkipWithError("the formation was not loaded");
        editor.reset();
        settle();
        state.ResumeTiming();
    }
}

void BM_BareWindowStartUp(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<QMainWindow>();
        window->show();
        if (!waitExposed(*window)) {
            state.SkipWithError("the window was never exposed");
            return;
        }
        state.PauseTiming();
        window.reset();
        settle();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_TrainView)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TrainStrip)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeCarsQImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditorStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareWindowStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each child several times, in turns so that a change of load reaches all of them alike: the
// bare program, a bare window in this program, the editor with the formation, the editor with
// the whole-train view open, and the editor's window built again by the bare program (replica.h).
void childFigures(int runs) {
    const TrainFiles& files = *fixture().files;
    const QString self = QCoreApplication::applicationDirPath() + QStringLiteral("/editor_child");
    const QString bareProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/bare_window");
    const QString root = QStringLiteral("--root=") + files.root;
    const QString description = files.root + QStringLiteral("/window.json");
    if (!runChildProcess(self, {QStringLiteral("--child=describe"), root, QStringLiteral("--out=") + description})
             .has_value() &&
        !QFileInfo(description).isFile()) {
        std::printf("child processes: not measured (the editor's window could not be written down)\n");
        return;
    }
    struct Kind {
        const char* label;
        QString program;
        QStringList args;
        std::vector<ChildRun> runs;
    };
    Kind kinds[] = {
        {"bare_window (Qt Widgets only)", bareProgram, {}, {}},
        {"bare_window --text", bareProgram, {QStringLiteral("--text")}, {}},
        {"bare window in editor_child", self, {QStringLiteral("--child=bare")}, {}},
        {"editor, formation loaded", self, {QStringLiteral("--child=editor"), root}, {}},
        {"editor + whole-train view", self, {QStringLiteral("--child=train"), root}, {}},
        {"the editor's window, plain Qt", bareProgram, {QStringLiteral("--replica=") + description}, {}},
    };
    constexpr int kKinds = int(std::size(kinds));
    for (int i = 0; i < runs; ++i) {
        for (Kind& k : kinds) {
            const auto r = runChildProcess(k.program, k.args);
            if (!r) {
                std::printf("child processes: not measured (%s failed)\n", k.label);
                return;
            }
            k.runs.push_back(*r);
        }
    }
    ChildFigures f[kKinds];
    for (int i = 0; i < kKinds; ++i) f[i] = medians(kinds[i].runs);
    const ChildFigures& bare = f[0];
    const ChildFigures& bareText = f[1];
    const ChildFigures& editor = f[3];
    const ChildFigures& train = f[4];
    const ChildFigures& replica = f[5];

    const double mib = 1024.0;
    std::printf(
        "\nchild processes, median of %d each: start to the window shown, and resident memory (MiB) once the window is "
        "exposed\n",
        runs);
    std::printf("%-32s %8s %8s %8s %8s %8s %8s  %s\n", "", "time ms", "main ms", "peak", "anon", "code", "fonts",
                "window");
    for (int i = 0; i < kKinds; ++i)
        std::printf("%-32s %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f  %s\n", kinds[i].label, f[i].ms, f[i].kib("main_ms"),
                    f[i].kib("vmhwm_kb") / mib, f[i].kib("anon_kb") / mib, f[i].kib("code_kb") / mib,
                    f[i].kib("font_kb") / mib, qPrintable(f[i].window));
    std::printf("%-32s %9s %8.1f\n", "decoded pixels of the cars", "", double(files.pixelBytes) / 1024.0 / mib);

    std::printf(
        "editor's start-up in main (ms): application %.1f, main window %.1f, start-up sequence %.1f, "
        "first show %.1f\n",
        editor.kib("app_ms"), editor.kib("window_ms"), editor.kib("load_ms"), editor.kib("show_ms"));

    // The editor shows Japanese text, which an empty window never starts Qt's text machinery for:
    // the window with one line of Japanese is the fair floor for both time and memory.
    const double startRatio = editor.ms / bareText.ms;
    std::printf("\n%-28s = %.2fx  aim: within 1.25x, %s\n", "cold start-up/bare --text", startRatio,
                startRatio <= 1.25 ? "met" : "NOT met");
    std::printf("%-28s = %.2fx\n", "cold start-up/bare_window", editor.ms / bare.ms);
    // The same window built by plain Qt calls shows what of the editor's start-up is its own.
    std::printf("%-28s = %.2fx\n", "cold start-up/plain Qt", editor.ms / replica.ms);
    std::printf("%-28s = %.2fx\n", "plain Qt/bare --text", replica.ms / bareText.ms);
    const double pixels = double(files.pixelBytes) / 1024.0;
    const double withText = train.kib("vmhwm_kb") - bareText.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels  aim: within 1.5x, %s\n", "peak: editor+view - --text",
                withText / mib, withText / pixels, withText <= 1.5 * pixels ? "met" : "NOT met");
    const double view = train.kib("vmhwm_kb") - editor.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels\n", "peak: the view alone", view / mib, view / pixels);
    const double ownWindow = editor.kib("vmhwm_kb") - replica.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB\n", "peak: editor - plain Qt", ownWindow / mib);
    const double withWindow = train.kib("vmhwm_kb") - replica.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels\n", "peak: editor+view - plain Qt", withWindow / mib,
                withWindow / pixels);
    const double window = replica.kib("vmhwm_kb") - bareText.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels\n", "peak: plain Qt - --text", window / mib, window / pixels);
    const double extra = train.kib("vmhwm_kb") - bare.kib("vmhwm_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels\n", "peak: editor+view - bare", extra / mib, extra / pixels);
    const double anon = train.kib("anon_kb") - bare.kib("anon_kb");
    std::printf("%-28s = %.1f MiB = %.2fx the pixels\n", "anon: editor+view - bare", anon / mib, anon / pixels);
}

// Takes "--name=value" out of the arguments.
std::optional<QString> takeOption(int& argc, char** argv, const char* name) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) != 0) continue;
        const QString value = QString::fromLocal8Bit(argv[i] + prefix.size());
        for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
        --argc;
        return value;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    // No screen is needed; another platform can still be asked for.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    const auto childRuns = takeOption(argc, argv, "child_runs");

    // The window placement and Qt's own settings go to a folder of this run, never the user's.
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // The editor's icons live in a static library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(ksned32);
    QApplication app(argc, argv);

    RecordingReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    bench::printRatio(reporter, "train view/QImage decode", "BM_TrainView", "BM_DecodeCarsQImage", 1.25);
    bench::printRatio(reporter, "strip only/QImage decode", "BM_TrainStrip", "BM_DecodeCarsQImage", 0);
    bench::printRatio(reporter, "warm start-up/bare window", "BM_EditorStartUp", "BM_BareWindowStartUp", 0);
    const int runs = childRuns ? childRuns->toInt() : 5;
    if (runs > 0) childFigures(runs);
    return 0;
}
