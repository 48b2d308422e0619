#include "parade/trainsource.h"

#include "document/formation.h"
#include "document/ksnclass.h"
#include "document/trainlayout.h"
#include "parade/messages.h"
#include "support/paths/filesystem.h"
#include "support/ui/modal.h"

namespace ksn::parade {

namespace {

// The reader's messages are turned off; its calls to let events run have nothing to do here, the
// window draws between two trains.
class SilentModal : public Modal {
public:
    MsgAnswer message(const QString&, const QString&, MsgButtons buttons, MsgIcon) override {
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    FileChoice fileDialog(const FileDialogRequest&) override { return {}; }
    QString browseFolder(const QString&, const QString&) override { return {}; }
    void processEvents() override {}
};

}  // namespace

std::vector<QSize> ParadeTrain::carSizes() const {
    std::vector<QSize> out;
    for (int i : cars) out.push_back(sizes[size_t(i)]);
    return out;
}

void ParadeTrain::scale(Scale s) {
    if (s == Scale{}) return;
    for (size_t i = 0; i < images.size(); ++i) {
        sizes[i] = QSize(s.apply(sizes[i].width()), s.apply(sizes[i].height()));
        if (!images[i].isNull()) images[i] = images[i].scaled(sizes[i], Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
}

std::variant<ParadeTrain, QString> readParadeTrain(const FileSystem& fs, const QString& windowsPath, bool noBellows) {
    SilentModal modal;
    KSNClass reader(fs, modal);
    reader.setNoErrorMsg(true);
    reader.setNoLoadCouplerBellows(noBellows);
    reader.setTrainFileName(windowsPath);
    try {
        if (!reader.LoadKsn()) return msg::unreadable(windowsPath);
    } catch (const KsnError& e) {
        return msg::readerStopped(windowsPath, e.description());
    }
    ParadeTrain train;
    train.file = windowsPath;
    train.title = reader.TrainComment();
    const QString sound = CarLine(reader.TrainSoundFileName()).pathPart;
    if (!sound.trimmed().isEmpty()) {
        const QString full = fs.GetFullFileName(fs.GetFolderPath(windowsPath), sound);
        if (fs.FileExists(full)) train.soundHostFile = fs.toHost(full).value_or(QString());
    }
    CarsClass& records = reader.Cars();
    for (int i = 0; i < records.Count(); ++i) {
        int index = i;
        const CarPicture picture = loadCarPicture(fs, records.CarFileName(index));
        // A picture without a usable size takes no place; one whose pixels are missing keeps its place,
        // and nothing of that size is allocated for it (headers can claim 32767 x 32767).
        train.images.push_back(picture.usable() ? picture.image : QImage());
        train.sizes.push_back(picture.size());
    }
    for (int i = 0; i < reader.CarCount(); ++i)
        if (!train.sizes[size_t(reader.CarIndex(i))].isEmpty()) train.cars.push_back(reader.CarIndex(i));
    if (train.cars.empty()) return msg::noCar(windowsPath);
    return train;
}

}  // namespace ksn::parade
