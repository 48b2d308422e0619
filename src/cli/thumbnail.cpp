#include "cli/thumbnail.h"

#include <QImageWriter>
#include <optional>
#include <vector>

#include "cli/messages.h"
#include "cli/picturefile.h"
#include "document/ksnclass.h"
#include "document/thumbnail.h"
#include "document/trainlayout.h"

namespace ksn {

int thumbnail(const FileSystem& fs, const MyLibClass& lib, Modal& modal, const QString& file, const QString& outputPath,
              int side, std::FILE* err) {
    KSNClass train(fs, lib, modal);
    train.setTrainFileName(file);
    try {
        if (!train.LoadKsn()) return 2;
    } catch (const KsnError& e) {
        // The screensaver stops at this point: there is no train to show.
        printError(err, climsg::readerStopped(file, e.description(), e.number()));
        return 2;
    }

    // Each distinct image is read once, however often the train repeats it.
    CarsClass& images = train.Cars();
    std::vector<std::optional<CarPicture>> decoded(size_t(images.Count()));
    std::vector<QSize> sizes;
    std::vector<const QImage*> pictures;
    bool anyPicture = false;
    for (int i = 0; i < train.CarCount(); ++i) {
        int index = train.CarIndex(i);
        std::optional<CarPicture>& picture = decoded[size_t(index)];
        if (!picture) picture = loadCarPicture(fs, images.CarFileName(index));
        sizes.push_back(picture->size());
        pictures.push_back(&picture->image);
        anyPicture = anyPicture || (picture->usable() && !picture->image.isNull());
    }
    if (!anyPicture) {
        printError(err, climsg::noReadableCar(file));
        return 2;
    }

    const ThumbnailLayout layout = foldTrain(sizes);
    const QImage picture = drawThumbnail(layout, pictures, side);
    if (picture.isNull()) {
        printError(err, climsg::stripTooLarge(layout.size.width(), layout.size.height()));
        return 1;
    }

    // zlib's fastest level: a quarter of the time of the default, for a file a few kilobytes larger.
    return writePicture(picture, outputPath, QByteArrayLiteral("png"), 80, err);
}

}  // namespace ksn
