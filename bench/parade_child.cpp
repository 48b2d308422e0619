// ksnparade's start-up and memory in a child process, linked as ksnparade is: the 101-car train of
// TrainFiles (written by bench_parade under --root=DIR) in a 1280 x 720 window, reported
// (childreport.h) once its first frame is drawn. bench_parade starts it.
#include <QGuiApplication>

#include "childreport.h"
#include "longtrain.h"
#include "parade/parade.h"
#include "parade/window.h"
#include "support/paths/filesystem.h"

int main(int argc, char** argv) {
    using namespace ksn;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QGuiApplication app(argc, argv);
    const QString root = app.arguments().value(1).section(u'=', 1);
    const bench::TrainFiles files(root);
    FileSystem fs(files.drives, QStringLiteral("K:\\KSN"));
    parade::Parade parade(fs, {QStringLiteral("K:\\KSN\\long.KSN")}, parade::Options{}, nullptr, nullptr);
    parade::ParadeWindow window(parade);
    window.resize(1280, 720);
    window.show();
    QElapsedTimer t;
    t.start();
    // The first frame is drawn once the window is exposed and the train has been read.
    while (!(window.isExposed() && parade.train())) {
        if (t.elapsed() > 10000) return 3;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    bench::reportAndLeave(window);
}
