// The editor's side of the start-up and memory figures, linked as the editor is (its libraries and
// no benchmark library), so that what it loads and touches is what ksned32 loads and touches.
// bench_windows starts it; by hand (offscreen unless QT_QPA_PLATFORM says otherwise):
//   editor_child --child=write --root=DIR   writes the 101-car formation, its cars and settings
//   editor_child --child=editor --root=DIR  the editor with the formation on its command line
//   editor_child --child=train --root=DIR   the same with the whole-train view open
//   editor_child --child=describe --root=DIR --out=FILE
//                                           the editor's shown window written down for
//                                           bare_window --replica=FILE (replica.h)
//   editor_child --child=bare               an empty QMainWindow in this program: what merely
//                                           linking the editor costs
// Each prints the report line of childreport.h once its window is exposed, and leaves.
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QMainWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "childreport.h"
#include "mainwindow/application.h"
#include "replica.h"
#include "trainfiles.h"

namespace {

using namespace ksn;
using namespace ksn::bench;

int runChild(const QString& mode, const QString& root, const QString& out) {
    if (mode == u"bare") {
        QMainWindow window;
        window.show();
        if (!waitExposed(window)) return 3;
        reportAndLeave(window);
    }
    if (root.isEmpty()) return 2;
    const TrainFiles f(root);
    if (mode == u"write") {
        f.write();
        return 0;
    }
    // Where the editor's start-up goes: the application, the main window with its controls, the
    // start-up sequence (settings, folder scan, the formation and its height check), the first show.
    const double app = msSinceStart();
    Editor32 editor(f);
    const double built = msSinceStart();
    editor.window.Form_Load(formationArgument(QStringList{f.formationHost}, editor.state.fso));
    const double loaded = msSinceStart();
    editor.window.show();
    if (!waitExposed(editor.window)) return 3;
    const double shown = msSinceStart();
    char phases[160];
    std::snprintf(phases, sizeof phases, " app_ms=%.2f window_ms=%.2f load_ms=%.2f show_ms=%.2f", app, built - app,
                  loaded - built, shown - loaded);
    if (mode == u"editor") reportAndLeave(editor.window, phases);
    if (mode == u"describe") {
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly)) return 5;
        file.write(QJsonDocument(replica::describe(editor.window)).toJson());
        return file.flush() ? 0 : 5;
    }
    if (mode == u"train") {
        if (!openTrainView(editor.window) || picturesShown(*editor.window.trainView) != kCars) return 4;
        reportAndLeave(editor.window, phases);
    }
    return 2;
}

QString option(int argc, char** argv, const char* name) {
    const std::size_t n = std::strlen(name);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name, n) == 0 && argv[i][n] == '=') return QString::fromLocal8Bit(argv[i] + n + 1);
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    // The window placement and Qt's own settings go to a folder of this run, never the user's.
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // The editor's icons live in a static library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(ksned32);
    QApplication app(argc, argv);
    ksn::setUpApplication();  // as main does
    return runChild(option(argc, argv, "--child"), option(argc, argv, "--root"), option(argc, argv, "--out"));
}
