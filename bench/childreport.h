// What a measured child process reports once its window is shown: its peak resident memory, where
// its resident memory lies now, and how long it took since its own code started, in one line
// that bench_windows reads:
//   shown_ns=… vmhwm_kb=… anon_kb=… code_kb=… font_kb=… main_ms=… [phase_ms=…] window=W×H
// anon: heap, stacks and other anonymous memory (the program's own data: widgets, pictures,
// window buffers); code: mapped programs and libraries; font: font files and font caches.
// shown_ns: the steady clock (CLOCK_MONOTONIC, the same in every process) when the window was
// exposed, taken before the memory is read: the parent subtracts the moment it started the child,
// which gives start-up as the user sees it, without the report itself or the exit.
// main_ms: from this program's static initialisation (the libraries are loaded by then) to the
// exposed window; what start-up adds to it is loading the program and its libraries.
#pragma once

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <string>

namespace ksn::bench {

// Set while this program's statics are initialised, after the dynamic loader has done its work.
inline const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

inline double msSinceStart() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kProgramStart).count();
}

// Runs the event loop until the window is exposed, then once more so that the first paint is done.
template <class Widget>
bool waitExposed(Widget& w) {
    QElapsedTimer t;
    t.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed())) {
        if (t.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return true;
}

struct ResidentMemory {
    long peakKiB = -1;  // VmHWM
    long anonKiB = 0;
    long codeKiB = 0;
    long fontKiB = 0;
};

inline ResidentMemory residentMemory() {
    ResidentMemory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:")) m.peakKiB = line.mid(6).trimmed().split(' ').value(0).toLong();
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return m;
    long* bucket = &m.anonKiB;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 5 && f[0].contains('-') && !f[0].endsWith(':')) {
            // A mapping's first line: address range, permissions, offset, device, inode[, path].
            const QByteArray path = f.size() > 5 ? f[5] : QByteArray();
            if (path.isEmpty() || path.startsWith('['))
                bucket = &m.anonKiB;
            else if (path.contains("/fonts/") || path.contains("/fontconfig/"))
                bucket = &m.fontKiB;
            else
                bucket = &m.codeKiB;
        } else if (f.size() >= 2 && f[0] == "Rss:") {
            *bucket += f[1].toLong();
        }
    }
    return m;
}

// Prints the report line and leaves without tearing anything down: teardown is neither start-up
// nor peak. With KSNED_BENCH_SMAPS=FILE the process's mappings go to FILE as well, to tell where
// the memory went mapping by mapping; with KSNED_BENCH_GRAB=FILE the window's pixels go to FILE
// (PNG), to compare the windows of two programs.
// phases: more "name_ms=value" fields, each with a leading blank.
template <class Window>
[[noreturn]] void reportAndLeave(const Window& window, const std::string& phases = {}) {
    const auto shown = std::chrono::steady_clock::now();
    const double mainMs = std::chrono::duration<double, std::milli>(shown - kProgramStart).count();
    const ResidentMemory m = residentMemory();
    std::printf(
        "shown_ns=%lld vmhwm_kb=%ld anon_kb=%ld code_kb=%ld font_kb=%ld main_ms=%.2f%s window=%dx%d\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(shown.time_since_epoch()).count()),
        m.peakKiB, m.anonKiB, m.codeKiB, m.fontKiB, mainMs, phases.c_str(), window.width(), window.height());
    if (const QString dump = qEnvironmentVariable("KSNED_BENCH_SMAPS"); !dump.isEmpty()) {
        QFile in(QStringLiteral("/proc/self/smaps"));
        QFile out(dump);
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) out.write(in.readAll());
    }
    if constexpr (requires(Window & w) { w.grab(); })
        if (const QString grab = qEnvironmentVariable("KSNED_BENCH_GRAB"); !grab.isEmpty())
            const_cast<Window&>(window).grab().save(grab, "PNG");
    std::fflush(stdout);
    _exit(0);
}

}  // namespace ksn::bench
