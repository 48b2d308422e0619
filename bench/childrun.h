// Runs a measured child process and reads its report line (childreport.h); the medians of several
// runs. Shared by bench_windows and bench_parade.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <map>
#include <optional>
#include <vector>

#include "benchkit.h"

namespace ksn::bench {

// One child's report, with the time from its start to its window shown.
struct ChildRun {
    double ms = 0;
    std::map<QString, double> fields;  // vmhwm_kb, anon_kb, code_kb, font_kb
    QString window;
};

// The children run in the users' locale, a Japanese desktop's: the locale decides the fonts Qt
// picks for Japanese text (under another one kanji and kana can come from two different faces),
// and with them what start-up and memory cost, for the editor and the bare windows alike.
inline QProcessEnvironment childEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANGUAGE"}) env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    return env;
}

inline std::optional<ChildRun> runChildProcess(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(childEnvironment());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = std::chrono::steady_clock::now();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
    ChildRun r;
    long long shownNs = 0;
    for (const QString& field : QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(u' ')) {
        const qsizetype eq = field.indexOf(u'=');
        if (eq < 0) continue;
        if (field.startsWith(u"window="))
            r.window = field.mid(eq + 1);
        else if (field.startsWith(u"shown_ns="))
            shownNs = field.mid(eq + 1).toLongLong();
        else
            r.fields[field.left(eq)] = field.mid(eq + 1).toDouble();
    }
    const long long startedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
    if (r.fields[QStringLiteral("vmhwm_kb")] <= 0 || shownNs <= startedNs) return std::nullopt;
    r.ms = double(shownNs - startedNs) / 1e6;
    return r;
}

// The medians of a child's runs.
struct ChildFigures {
    double ms = 0;
    std::map<QString, double> fields;
    QString window;
    double kib(const char* name) const {
        return fields.count(QLatin1String(name)) ? fields.at(QLatin1String(name)) : 0;
    }
};

inline ChildFigures medians(const std::vector<ChildRun>& runs) {
    ChildFigures f;
    std::vector<double> ms;
    std::map<QString, std::vector<double>> values;
    for (const ChildRun& r : runs) {
        ms.push_back(r.ms);
        for (const auto& [k, v] : r.fields) values[k].push_back(v);
        f.window = r.window;
    }
    f.ms = RecordingReporter::median(ms);
    for (const auto& [k, v] : values) f.fields[k] = RecordingReporter::median(v);
    return f;
}

}  // namespace ksn::bench
