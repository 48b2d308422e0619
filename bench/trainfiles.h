// The 101-car formation the window benchmarks measure, and the editor as main() makes it; shared
// by bench_windows and its child program editor_child.
#pragma once

#include <QDir>
#include <QSize>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>

#include "benchfiles.h"
#include "childreport.h"
#include "document/editor.h"
#include "document/ksned.h"
#include "longtrain.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/qtmodal.h"
#include "support/paths/drivemap.h"
#include "support/paths/filesystem.h"
#include "support/text/cp932.h"
#include "viewers/frmTrain.h"

namespace ksn::bench {

// The editor as main() makes it: the shared state, the Qt dialogs and the main window.
struct Editor32 {
    Ksned state;
    QtModal modal;
    frmMain window;
    explicit Editor32(const TrainFiles& f)
        : state(FileSystem(f.drives), f.programPath), modal(nullptr, state.fso), window(state, modal) {
        modal.setOwner(&window);
    }
    // main()'s start-up with the formation as the command line names it, shown until exposed.
    bool start(const TrainFiles& f) {
        window.Form_Load(formationArgument(QStringList{f.formationHost}, state.fso));
        window.show();
        return bench::waitExposed(window);
    }
};

// The F2 command, shown until exposed.
inline bool openTrainView(frmMain& window) {
    window.mnuViewTrain_Click();
    return window.trainView && bench::waitExposed(*window.trainView);
}

inline int picturesShown(const frmTrain& view) {
    return int(std::count_if(view.imgCar.begin(), view.imgCar.end(), [](const PictureSlot* l) {
        return !l->pixmap().isNull() && l->pixmap().width() == l->width();
    }));
}

}  // namespace ksn::bench
