#include "cli/picturefile.h"

#include <QImageWriter>
#include <QSaveFile>

#include "cli/messages.h"
#include "cli/textout.h"

namespace ksn {

void printError(std::FILE* err, const QString& text) { writeMessage(err, climsg::errorLine(text)); }

int writePicture(const QImage& picture, const QString& path, const QByteArray& format, int quality, std::FILE* err) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        printError(err, climsg::cannotWrite(path, out.errorString()));
        return 1;
    }
    QImageWriter writer(&out, format);
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        out.cancelWriting();
        printError(err, climsg::cannotWrite(path, writer.errorString()));
        return 1;
    }
    if (!out.commit()) {
        printError(err, climsg::cannotWrite(path, out.errorString()));
        return 1;
    }
    return 0;
}

}  // namespace ksn
