// The baselines of the editor's start-up and memory figures: a bare QApplication showing a
// QMainWindow, linked with Qt Widgets alone. It prints the report line of childreport.h once the
// window is exposed and leaves at once. bench_windows starts it; by hand:
//   bare_window                  an empty window
//   bare_window --text           one line of Japanese in it
//   bare_window --replica=FILE   the editor's window as editor_child --child=describe wrote it
// (offscreen unless QT_QPA_PLATFORM says otherwise).
//
// --text: an empty window never starts the font machinery (font configuration, the font database,
// a CJK fallback font, glyphs), which any window with text pays for once, so this tells the
// editor's own start-up from the cost of text.
// --replica: the same controls, texts and icons built by plain Qt calls, with Qt's Japanese as the
// editor loads it: what showing that window costs in Qt, without the editor's code.
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>
#include <cstring>
#include <optional>

#include "childreport.h"
#include "replica.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    QMainWindow window;
    std::optional<QTranslator> qtJapanese;  // only the replica loads Qt's Japanese, as the editor does
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        window.setCentralWidget(new QLabel(QStringLiteral("特急 101両編成"), &window));
    } else if (argc > 1 && std::strncmp(argv[1], "--replica=", 10) == 0) {
        QFile file(QString::fromLocal8Bit(argv[1] + 10));
        if (!file.open(QIODevice::ReadOnly)) return 2;
        if (qtJapanese.emplace().load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&*qtJapanese);
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        if (!ksn::bench::replica::build(QJsonDocument::fromJson(file.readAll()).object(), window)) return 2;
    }
    window.show();
    if (!ksn::bench::waitExposed(window)) return 3;
    ksn::bench::reportAndLeave(window);
}
