// The windows' tests need a QApplication before the first widget; GoogleTest's own main has none.
#include "mainwindow/qtjapanese.h"
#include "testkit/common.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char** argv) {
    // Offscreen unless a platform is asked for (to watch them); listing the tests runs without CTest's.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QStandardPaths::setTestModeEnabled(true);
    // Qt's file dialog and anything else kept in settings go to a store of this run's own.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // The editor's resources live in a static library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(ksned32);

    QApplication app(argc, argv);
    // Qt's own texts in Japanese, loaded as the editor loads them.
    if (!ksn::installQtJapanese()) std::fprintf(stderr, "Qt's Japanese translation (qtbase_ja.qm) not found\n");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
