// What every benchmark program here shares: the files and seam of benchfiles.h, and a reporter that keeps each
// benchmark's time so that a command and its baseline from the same run can be printed as a ratio.
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

#include "benchfiles.h"

namespace ksn::bench {

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

// Runs the benchmarks the command line selects through reporter, then leaves a blank line before the
// ratios; false on an argument the benchmark library does not know.
inline bool runBenchmarks(int& argc, char** argv, RecordingReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    return true;
}

// Prints command / baseline in real and CPU time. aim > 0: the real-time ratio should stay within
// it, and the line says whether it did; aim <= 0: a figure for information.
inline void printRatio(const RecordingReporter& r, const char* label, const char* command, const char* baseline,
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
    if (aim > 0) std::printf("  aim: within %.2fx, %s", aim, real <= aim ? "met" : "NOT met");
    std::printf("\n");
}

}  // namespace ksn::bench
