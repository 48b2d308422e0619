#include "cli/render.h"

#include "cli/messages.h"
#include "cli/picturefile.h"
#include "document/trainlayout.h"

#include <QFileInfo>
#include <QImageWriter>

namespace ksn {

namespace {

QByteArray formatFor(const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArrayLiteral("png");
}

}  // namespace

int render(Document& document, const QString& file, const QString& outputPath, std::FILE* err) {
    // A picture is asked for, not a report: the height check would only add noise.
    document.setHeightCheckOnLoad(false);
    if (!document.load(file).loaded()) return 2;

    const auto strip = buildTrainStrip(document.rows(), document.defaultFolder(), document.fileSystem());
    if (!strip || !strip->anyFound()) {
        printError(err, climsg::noCarFile(file));
        return 2;
    }
    if (strip->totalWidth == 0) {
        printError(err, climsg::noUsableCarSize(file));
        return 2;
    }
    const QImage picture = renderTrainStrip(*strip);
    if (picture.isNull()) {
        printError(err, climsg::stripTooLarge(strip->totalWidth, strip->tallest));
        return 1;
    }

    return writePicture(picture, outputPath, formatFor(outputPath), -1, err);
}

}  // namespace ksn
