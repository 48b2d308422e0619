// Folder-wide commands against plain file I/O on the same files.
//
// A folder of 1024 formation files is the most the formation list shows, and users with large
// collections scan it at every start and rewrite it in one batch. Each command is timed next to
// the least any implementation must do for it (open, read, close; or read and write back), and the
// ratios are printed at the end: the scan should stay within 1.5x of the raw reads and the batch
// rewrite within 2x of the raw copy.
#include "cp932.h"
#include "drivemap.h"
#include "editor.h"
#include "filesystem.h"
#include "ksned.h"
#include "modal.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace ksn;

constexpr int kFiles = kMaxFormationFiles;
const QString kFolder = QStringLiteral("K:\\ksn");

// Answers every question with nothing and counts the messages, so that the scan's limit message
// at the 1024th file costs what a message costs and no more.
class CountingModal : public Modal {
public:
    MsgAnswer message(const QString&, const QString&, MsgButtons buttons, MsgIcon) override {
        ++messages;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> fileDialog(const FileDialogRequest&) override { return std::nullopt; }
    QString browseFolder(const QString&, const QString&) override { return {}; }
    void processEvents() override {}

    std::int64_t messages = 0;
};

// A 24-bit bottom-up car picture of one colour: the height check reads only its header, but the
// file has the size of a real car so that the reads see realistic files.
QByteArray carBmp(std::int32_t width, std::int32_t height, std::uint8_t shade) {
    const std::int32_t stride = (width * 3 + 3) / 4 * 4;
    const std::int32_t pixels = stride * height;
    QByteArray b(54, '\0');
    auto put32 = [&](int off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[off + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, std::uint32_t(54 + pixels));
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    b[26] = 1;
    b[28] = 24;
    put32(34, std::uint32_t(pixels));
    b.append(QByteArray(pixels, char(shade)));
    return b;
}

void writeHostFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The folder K:\ksn with 1024 formation files of eight cars each and the pictures they name.
// Made once; the rewrite runs in the as-in-file mode with comments on, which writes every file
// back with the bytes it had, so each run of either pair sees the same files.
struct Fixture {
    QTemporaryDir dir;
    DriveMap drives;
    QStringList hostFiles;  // host paths of the formation files, in name order

    Fixture() {
        if (!dir.isValid()) throw std::runtime_error("cannot create a temporary folder");
        const QString root = QFileInfo(dir.path()).canonicalFilePath();
        drives.set(u'K', root);
        const QString folder = root + QStringLiteral("/ksn");
        QDir().mkpath(folder);

        const char* const pictures[] = {"car1.bmp", "car1r.bmp", "car2.bmp", "car3.bmp", "car4.bmp"};
        std::uint8_t shade = 0x40;
        for (const char* name : pictures) {
            writeHostFile(folder + u'/' + QLatin1String(name), carBmp(120, 40, shade));
            shade = std::uint8_t(shade + 0x20);
        }

        const QStringList cars = {
            QStringLiteral("car1.bmp;先頭車"),
            QStringLiteral("car2.bmp;パンタグラフ付き"),
            QStringLiteral("car3.bmp"),
            QStringLiteral("K:\\ksn\\car2.bmp"),
            QStringLiteral("car3.bmp;弱冷房車"),
            QStringLiteral("K:\\ksn\\car4.bmp;グリーン車"),
            QStringLiteral("car2.bmp"),
            QStringLiteral("car1r.bmp;先頭車"),
        };
        for (int i = 0; i < kFiles; ++i) {
            QStringList lines;
            lines << QStringLiteral("特急 第%1号 8両編成").arg(i + 1) << QStringLiteral("horn.wav;汽笛") << cars;
            QByteArray bytes;
            for (const QString& line : lines) bytes += cp932::encode(line) + "\r\n";
            const QString path = folder + QStringLiteral("/T%1.KSN").arg(i, 4, 10, QLatin1Char('0'));
            writeHostFile(path, bytes);
            hostFiles << path;
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_FolderScan(benchmark::State& state) {
    Fixture& fx = fixture();
    CountingModal modal;
    Ksned g(FileSystem(fx.drives, QStringLiteral("K:\\")));
    Editor editor(g, modal);
    for (auto _ : state) {
        QString folder = kFolder;
        editor.ScanFolder(folder);
        benchmark::DoNotOptimize(editor.trainItems().size());
    }
    if (editor.trainItems().size() != kFiles) state.SkipWithError("the scan did not list every file");
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["messages"] = benchmark::Counter(double(modal.messages), benchmark::Counter::kAvgIterations);
}

void BM_RawFirstLines(benchmark::State& state) {
    Fixture& fx = fixture();
    for (auto _ : state) {
        for (const QString& path : fx.hostFiles) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                state.SkipWithError("cannot open a formation file");
                return;
            }
            const QByteArray line = f.readLine();
            benchmark::DoNotOptimize(line.constData());
            f.close();
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_RewriteFolder(benchmark::State& state) {
    Fixture& fx = fixture();
    CountingModal modal;
    Ksned g(FileSystem(fx.drives, QStringLiteral("K:\\")));
    g.DefaultFolder = kFolder;
    Editor editor(g, modal);
    editor.setSaveMode(SaveMode::AsInFile);
    editor.setCommentsOn(true);
    RewriteResult last;
    for (auto _ : state) {
        QString folder = kFolder;
        last = editor.RewriteFolder(folder);
        benchmark::DoNotOptimize(last.processed);
    }
    if (last.processed != kFiles || !last.failed.isEmpty())
        state.SkipWithError("the rewrite did not process every file");
    else if (!last.changed.isEmpty())
        state.SkipWithError("the rewrite changed files it should have written back unchanged");
    else if (modal.messages != 0)
        state.SkipWithError("the rewrite showed messages (a height mismatch or a failed load)");
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_RawCopy(benchmark::State& state) {
    Fixture& fx = fixture();
    for (auto _ : state) {
        for (const QString& path : fx.hostFiles) {
            QByteArray bytes;
            {
                QFile in(path);
                if (!in.open(QIODevice::ReadOnly)) {
                    state.SkipWithError("cannot open a formation file");
                    return;
                }
                bytes = in.readAll();
            }
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
                state.SkipWithError("cannot write a formation file");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// Not one of the pairs: the raw copy again, but written through a save file as the editor writes
// (a temporary file, a flush to disk and a rename), to tell what the rewrite spends on the safe
// write from what it spends on loading, converting and checking heights.
void BM_RawSaveFileCopy(benchmark::State& state) {
    Fixture& fx = fixture();
    for (auto _ : state) {
        for (const QString& path : fx.hostFiles) {
            QByteArray bytes;
            {
                QFile in(path);
                if (!in.open(QIODevice::ReadOnly)) {
                    state.SkipWithError("cannot open a formation file");
                    return;
                }
                bytes = in.readAll();
            }
            QSaveFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
                state.SkipWithError("cannot write a formation file");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

BENCHMARK(BM_FolderScan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawFirstLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RewriteFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawSaveFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shows the runs as the console reporter does and keeps each benchmark's mean real and CPU time
// per iteration (over repetitions, when there are several) for the ratios printed at the end.
// Both are kept: real time is what the user waits for, but on a busy machine or a slow disk it
// swings from run to run, while CPU time shows the program's own share steadily.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            Mean& m = times_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration && !m.fromAggregate) {
                m.real += run.GetAdjustedRealTime();
                m.cpu += run.GetAdjustedCPUTime();
                ++m.count;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
                // With --benchmark_report_aggregates_only the single runs never arrive; the mean
                // over the repetitions is the same figure.
                m = Mean{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), 1, true};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Times {
        double real;
        double cpu;
    };
    std::optional<Times> times(const std::string& name) const {
        const auto it = times_.find(name);
        if (it == times_.end() || it->second.count == 0) return std::nullopt;
        const Mean& m = it->second;
        return Times{m.real / m.count, m.cpu / m.count};
    }

private:
    struct Mean {
        double real = 0;
        double cpu = 0;
        int count = 0;
        bool fromAggregate = false;
    };
    std::map<std::string, Mean> times_;
};

// aim <= 0: a figure for information, with no aim.
void printRatio(const RecordingReporter& r, const char* label, const char* command, const char* baseline,
                double aim) {
    const auto a = r.times(command);
    const auto b = r.times(baseline);
    if (!a || !b || b->real <= 0 || b->cpu <= 0) {
        std::printf("%-28s not measured (%s or %s did not run)\n", label, command, baseline);
        return;
    }
    const double real = a->real / b->real;
    const double cpu = a->cpu / b->cpu;
    std::printf("%-28s = %.2fx  (CPU time %.2fx)", label, real, cpu);
    if (aim > 0) std::printf("  aim: within %.1fx, %s", aim, real <= aim ? "met" : "NOT met");
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    printRatio(reporter, "scan/raw", "BM_FolderScan", "BM_RawFirstLines", 1.5);
    printRatio(reporter, "rewrite/raw copy", "BM_RewriteFolder", "BM_RawCopy", 2.0);
    printRatio(reporter, "rewrite/raw save-file copy", "BM_RewriteFolder", "BM_RawSaveFileCopy", 0);
    return 0;
}
