// What every benchmark program here shares: car pictures and files to measure on, a seam that
// answers without a window, and a reporter that keeps each benchmark's time so that a command and
// its baseline from the same run can be printed as a ratio.
//
// The programs are run by hand (see docs/PERFORMANCE.md), not by CTest: a ratio only means
// something on a quiet machine, and its aim is printed beside it rather than asserted.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "modal.h"

namespace ksn::bench {

// Answers every question with nothing and counts the messages, so that a message costs what a
// message costs and no more, and a run can tell that none was shown.
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

// A 24-bit bottom-up car picture. With seed 0 it is one colour (shade), which is all a header read
// needs; any other seed draws a body, a band of windows and a roof line in colours taken from the
// seed, so that pictures differ from file to file and do not compress to nothing, as real cars.
inline QByteArray carBmp(std::int32_t width, std::int32_t height, std::uint8_t shade,
                         std::uint32_t seed = 0) {
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
    if (seed == 0) {
        b.append(QByteArray(pixels, char(shade)));
        return b;
    }
    QByteArray body(pixels, '\0');
    const auto channel = [seed](int shift) { return std::uint8_t((seed * 2654435761u) >> shift); };
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = height - 1 - row;  // bottom-up: the first row stored is the lowest
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t bgr[3] = {channel(8), channel(16), channel(24)};
            if (y < height / 10) {
                bgr[0] = bgr[1] = bgr[2] = 0x60;  // roof
            } else if (y > height / 4 && y < height / 2 && x % 24 > 4 && x % 24 < 20) {
                bgr[0] = 0xE0, bgr[1] = 0xC8, bgr[2] = std::uint8_t(0x90 + y);  // windows
            } else if (y > height - height / 8) {
                bgr[0] = bgr[1] = bgr[2] = std::uint8_t(0x20 + (x * 7) % 32);  // bogies
            }
            char* p = body.data() + row * stride + x * 3;
            p[0] = char(bgr[0]), p[1] = char(bgr[1]), p[2] = char(bgr[2]);
        }
    }
    b.append(body);
    return b;
}

inline void writeHostFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// Shows the runs as the console reporter does and keeps each benchmark's real and CPU time per
// iteration for the ratios printed at the end: the median over the repetitions (when there are
// several), which a few runs disturbed by other work on the machine do not move as they move the
// mean. Both times are kept: real time is what the user waits for, but on a busy machine or a slow
// disk it swings from run to run, while CPU time shows the program's own share steadily.
// Run with --benchmark_repetitions=N --benchmark_enable_random_interleaving=true so that a change
// of load reaches a command and its baseline alike.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            Record& r = records_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration) {
                r.real.push_back(run.GetAdjustedRealTime());
                r.cpu.push_back(run.GetAdjustedCPUTime());
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                // With --benchmark_report_aggregates_only the single runs never arrive.
                r.median = Times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Times {
        double real;
        double cpu;
    };
    std::optional<Times> times(const std::string& name) const {
        const auto it = records_.find(name);
        if (it == records_.end()) return std::nullopt;
        const Record& r = it->second;
        if (r.median) return r.median;
        if (r.real.empty()) return std::nullopt;
        return Times{median(r.real), median(r.cpu)};
    }

    static double median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

  private:
    struct Record {
        std::vector<double> real;
        std::vector<double> cpu;
        std::optional<Times> median;
    };
    std::map<std::string, Record> records_;
};

// Prints command / baseline in real and CPU time. aim > 0: the real-time ratio should stay within
// it, and the line says whether it did; aim <= 0: a figure for information.
inline void printRatio(const RecordingReporter& r, const char* label, const char* command,
                       const char* baseline, double aim) {
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

}  // namespace ksn::bench
