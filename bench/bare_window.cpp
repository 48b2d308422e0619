// The baseline of the editor's start-up and memory figures: a bare QApplication showing an empty
// QMainWindow, linked with Qt Widgets alone. It prints the report line of childreport.h once the
// window is exposed and leaves at once. bench_windows starts it; by hand: bare_window [--text]
// (offscreen unless QT_QPA_PLATFORM says otherwise).
//
// --text puts one line of Japanese text in the window: an empty window never starts the font
// machinery (font configuration, the font database, a CJK fallback font, glyphs), which any
// window with text pays for once, so this tells the editor's own start-up from the cost of text.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "childreport.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("特急 101両編成"), &window));
    window.show();
    if (!ksn::bench::waitExposed(window)) return 3;
    ksn::bench::reportAndLeave(window);
}
