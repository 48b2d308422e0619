#include "cli/render.h"

#include "cli/messages.h"
#include "document/trainlayout.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace ksn {

namespace {

void print(std::FILE* err, const QString& s) {
    const QByteArray b = climsg::errorLine(s).toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), err);
}

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
        print(err, climsg::noCarFile(file));
        return 2;
    }
    if (strip->totalWidth == 0) {
        print(err, climsg::noUsableCarSize(file));
        return 2;
    }
    const QImage picture = renderTrainStrip(*strip);
    if (picture.isNull()) {
        print(err, climsg::stripTooLarge(strip->totalWidth, strip->tallest));
        return 1;
    }

    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        print(err, climsg::cannotWrite(outputPath, out.errorString()));
        return 1;
    }
    QImageWriter writer(&out, formatFor(outputPath));
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
