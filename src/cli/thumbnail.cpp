#include "cli/thumbnail.h"

#include <QImageWriter>
#include <QSaveFile>
#include <optional>
#include <vector>

#include "cli/messages.h"
#include "document/ksnclass.h"
#include "document/thumbnail.h"
#include "document/trainlayout.h"

namespace ksn {

namespace {

void print(std::FILE* err, const QString& s) {
    const QByteArray b = climsg::errorLine(s).toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), err);
}

}  // namespace

int thumbnail(const FileSystem& fs, const MyLibClass& lib, Modal& modal, const QString& file, const QString& outputPath,
              int side, std::FILE* err) {
    KSNClass train(fs, lib, modal);
    train.setTrainFileName(file);
    try {
        if (!train.LoadKsn()) return 2;
    } catch (const KsnError& e) {
        // The screensaver stops at this point: there is no train to show.
        print(err, climsg::readerStopped(file, e.description(), e.number()));
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
        print(err, climsg::noReadableCar(file));
        return 2;
    }

    const ThumbnailLayout layout = foldTrain(sizes);
    const QImage picture = drawThumbnail(layout, pictures, side);
    if (picture.isNull()) {
        print(err, climsg::stripTooLarge(layout.size.width(), layout.size.height()));
        return 1;
    }

    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        print(err, climsg::cannotWrite(outputPath, out.errorString()));
        return 1;
    }
    QImageWriter writer(&out, QByteArrayLiteral("png"));
    // zlib's fastest level: a quarter of the time of the default, for a file a few kilobytes larger.
    writer.setQuality(80);
    if (!writer.write(picture)) {
        out.cancelWriting();
        print(err, climsg::cannotWrite(outputPath, writer.errorString()));
        return 1;
    }
    if (!out.commit()) {
        print(err, climsg::cannotWrite(outputPath, out.errorString()));
        return 1;
    }
    return 0;
}

}  // namespace ksn
