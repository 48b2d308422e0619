// Folder-wide commands against plain file I/O on the same files.
//
// A folder of 1024 formation files is the most the formation list shows, and users with large
// collections scan it at every start and rewrite it in one batch. Each command is timed next to
// the least any implementation must do for it (open, read, close; or read and write back), and the
// ratios are printed at the end: the scan should stay within 1.3x of the raw reads and the batch
// rewrite within 2x of the raw copy.
#include "benchkit.h"
#include "document/editor.h"
#include "document/ksned.h"
#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "support/text/cp932.h"

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
#include <stdexcept>

namespace {

using namespace ksn;
using bench::carBmp;
using bench::CountingModal;
using bench::RecordingReporter;
using bench::runBenchmarks;
using bench::writeHostFile;

constexpr int kFiles = kMaxFormationFiles;
const QString kFolder = QStringLiteral("K:\\ksn");

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
            QStringLiteral("car1.bmp;先頭車"),   QStringLiteral("car2.bmp;パンタグラフ付き"),
            QStringLiteral("car3.bmp"),          QStringLiteral("K:\\ksn\\car2.bmp"),
            QStringLiteral("car3.bmp;弱冷房車"), QStringLiteral("K:\\ksn\\car4.bmp;グリーン車"),
            QStringLiteral("car2.bmp"),          QStringLiteral("car1r.bmp;先頭車"),
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

// Reads each formation file whole and hands its bytes to write(path, bytes), which says whether
// the write succeeded.
template <typename Write>
void copyEachFile(benchmark::State& state, Write write) {
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
            if (!write(path, bytes)) {
                state.SkipWithError("cannot write a formation file");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_RawCopy(benchmark::State& state) {
    copyEachFile(state, [](const QString& path, const QByteArray& bytes) {
        QFile out(path);
        return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
    });
}

// Not one of the pairs: the raw copy again, but written through a save file as the editor writes
// (a temporary file, a flush to disk and a rename), one file after another, to tell what the
// rewrite spends on the safe write from what it spends on loading, converting and checking heights.
void BM_RawSaveFileCopy(benchmark::State& state) {
    copyEachFile(state, [](const QString& path, const QByteArray& bytes) {
        QSaveFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
    });
}

BENCHMARK(BM_FolderScan)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RawFirstLines)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RewriteFolder)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RawCopy)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RawSaveFileCopy)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    RecordingReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    bench::printRatio(reporter, "scan/raw", "BM_FolderScan", "BM_RawFirstLines", 1.3);
    bench::printRatio(reporter, "rewrite/raw copy", "BM_RewriteFolder", "BM_RawCopy", 2.0);
    bench::printRatio(reporter, "rewrite/raw save-file copy", "BM_RewriteFolder", "BM_RawSaveFileCopy", 0);
    return 0;
}
