#include "cli/thumbnail.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "cli/messages.h"
#include "cli/picturefile.h"
#include "cli/thumbnailcache.h"
#include "document/ksnclass.h"
#include "document/thumbnail.h"
#include "document/trainlayout.h"

namespace ksn {

namespace {

// The formation drawn once for each side, as thumbnail draws it; empty with *code set (and the
// reason on err) when there is nothing to draw.
std::vector<QImage> drawFormation(const FileSystem& fs, Modal& modal, const QString& file,
                                  const std::vector<int>& sides, std::FILE* err, int* code) {
    *code = 2;
    KSNClass train(fs, modal);
    train.setTrainFileName(file);
    try {
        if (!train.LoadKsn()) return {};
    } catch (const KsnError& e) {
        // The screensaver stops at this point: there is no train to show.
        printError(err, climsg::readerStopped(file, e.description(), e.number()));
        return {};
    }

    // The layout comes from the headers the reader read; then each car is read, decoded, drawn at
    // every side and let go (a repeated image is kept until its last place), so that its bytes are
    // still in the processor's cache when decoded and no more than a car or two of pixels is held.
    CarsClass& images = train.Cars();
    struct Image {
        CarPicture picture;
        bool decoded = false;
        int usesLeft = 0;
    };
    std::vector<Image> distinct(size_t(images.Count()));
    std::vector<QSize> sizes;
    for (int i = 0; i < train.CarCount(); ++i) {
        const int index = train.CarIndex(i);
        Image& image = distinct[size_t(index)];
        if (image.usesLeft++ == 0) image.picture.header = images.CarHeader(index);
        sizes.push_back(image.picture.size());
    }
    const ThumbnailLayout layout = foldTrain(sizes);

    std::deque<ThumbnailCanvas> canvases;
    bool canDraw = true;
    for (const int side : sides) {
        canvases.emplace_back(layout, side);
        canDraw = canDraw && !canvases.back().isNull();
    }
    bool anyPicture = false;
    for (int i = 0; i < train.CarCount(); ++i) {
        int index = train.CarIndex(i);
        Image& image = distinct[size_t(index)];
        if (!image.decoded && image.picture.usable()) {
            image.picture = loadCarPicture(fs, images.CarFileName(index));
            image.decoded = true;
        }
        anyPicture = anyPicture || (image.picture.usable() && !image.picture.image.isNull());
        if (canDraw)
            for (ThumbnailCanvas& canvas : canvases) canvas.draw(size_t(i), image.picture.image);
        if (--image.usesLeft == 0) image.picture.image = QImage();
    }
    if (!anyPicture) {
        printError(err, climsg::noReadableCar(file));
        return {};
    }
    if (!canDraw) {
        printError(err, climsg::stripTooLarge(layout.size.width(), layout.size.height()));
        *code = 1;
        return {};
    }
    std::vector<QImage> drawn;
    for (ThumbnailCanvas& canvas : canvases) drawn.push_back(canvas.take());
    *code = 0;
    return drawn;
}

// Folders of the cache are the user's alone: each one made here gets mode 0700.
bool makePrivateFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return true;
    if (!makePrivateFolder(info.absolutePath())) return false;
    return QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Writes png to path through a temporary file (mode 0600) in its folder, renamed over path, so that
// a file manager never reads half a picture. Gives the reason when it cannot.
std::optional<QString> writeAtomically(const QByteArray& png, const QString& path) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open()) return temporary.errorString();
    if (temporary.write(png) != png.size() || !temporary.flush()) return temporary.errorString();
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    temporary.setAutoRemove(false);
    return std::nullopt;
}

}  // namespace

int thumbnail(const FileSystem& fs, Modal& modal, const QString& file, const QString& outputPath, int side,
              std::FILE* err) {
    int code = 0;
    const std::vector<QImage> drawn = drawFormation(fs, modal, file, {side}, err, &code);
    if (drawn.empty()) return code;
    // zlib's fastest level: a quarter of the time of the default, for a file a few kilobytes larger.
    return writePicture(drawn.front(), outputPath, QByteArrayLiteral("png"), 80, err);
}

int cacheThumbnail(const FileSystem& fs, Modal& modal, const QString& file, const QString& hostPath,
                   const QString& cacheRoot, const QString& software, std::FILE* err) {
    // Read before drawing: a formation changed meanwhile then no longer matches and is drawn anew.
    const QFileInfo info(hostPath);
    const qint64 mtime = info.lastModified().toSecsSinceEpoch();
    const QString uri = thumbcache::uri(info.absoluteFilePath());

    std::vector<int> sides;
    for (const thumbcache::Size& size : thumbcache::kSizes) sides.push_back(size.side);
    int code = 0;
    const std::vector<QImage> drawn = drawFormation(fs, modal, file, sides, err, &code);
    if (drawn.empty()) return code;

    const auto keys = thumbcache::keys(uri, mtime, info.size(), software);
    for (size_t i = 0; i < drawn.size(); ++i) {
        const QString folder = cacheRoot + u'/' + QString::fromLatin1(thumbcache::kSizes[i].folder);
        const QString path = folder + u'/' + thumbcache::fileName(uri);
        if (!makePrivateFolder(folder)) {
            printError(err, climsg::cannotWrite(folder, climsg::cannotMakeFolder()));
            return 1;
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, QByteArrayLiteral("png"));
        writer.setQuality(80);
        const QByteArray png = writer.write(drawn[i]) ? thumbcache::withTextChunks(buffer.data(), keys) : QByteArray();
        if (png.isEmpty()) {
            printError(err, climsg::cannotWrite(path, writer.errorString()));
            return 1;
        }
        if (const auto reason = writeAtomically(png, path)) {
            printError(err, climsg::cannotWrite(path, *reason));
            return 1;
        }
    }
    return 0;
}

}  // namespace ksn
