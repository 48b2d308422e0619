// ksned32: the formation file editor.
#include "document/editor.h"
#include "mainwindow/application.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/messages.h"
#include "mainwindow/qtmodal.h"
#include "support/product/version.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The icons live in a static library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(ksned32);
    ksn::setUpApplication();

    QString driveError;
    const QString drivesEnv = qEnvironmentVariable("KSNED_DRIVES");
    if (!drivesEnv.trimmed().isEmpty() && !ksn::DriveMap::parse(drivesEnv, &driveError))
        QMessageBox::warning(nullptr, ksn::kAppTitle, ksn::msg::drivesVariableInvalid(driveError));

    ksn::Ksned state(ksn::FileSystem(ksn::DriveMap::detect()), QApplication::applicationFilePath());
    ksn::QtModal modal(nullptr, state.fso);
    ksn::frmMain window(state, modal);
    modal.setOwner(&window);

    QStringList args = QApplication::arguments();
    args.removeFirst();
    // "/e" is a switch of the Windows command line; a host path such as /home/eri/… is none.
    state.national.setArguments(ksn::windowsArguments(args, state.fso));
    window.Form_Load(ksn::formationArgument(args, state.fso));
    window.show();
    return app.exec();
}
