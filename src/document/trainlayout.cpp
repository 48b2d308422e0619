#include "document/trainlayout.h"

#include "document/formation.h"
#include "document/messages.h"

#include "support/paths/bitmapheader.h"
#include "support/text/numtext.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace ksn {

// A top-down bitmap is the same picture as any other, its rows stored from the top: it stands at
// its real size. (The lowest height has no positive twin and stays unusable.)
bool CarPicture::usable() const {
    return header.width > 0 && header.width <= kMaxCarSide && header.rows() > 0 && header.rows() <= kMaxCarSide;
}

QSize CarPicture::size() const { return usable() ? QSize(header.width, header.rows()) : QSize(); }

namespace {

std::uint32_t le(const QByteArray& bytes, int offset, int length) {
    std::uint32_t v = 0;
    for (int i = length - 1; i >= 0; --i) v = v << 8 | std::uint8_t(bytes[offset + i]);
    return v;
}

// The usual car picture, an uncompressed 24-bit bitmap, straight from its bytes into the image Qt's
// reader would make (RGB32, top row first). Qt's reader goes through a device pixel by pixel and was
// most of a thumbnail's time. Anything else, or a file too short for its pixels, is left to Qt's
// reader (null image).
QImage decodePlainBitmap(const QByteArray& bytes, BitmapSize size) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return {};
    const std::uint32_t pixelOffset = le(bytes, 10, 4), headerSize = le(bytes, 14, 4);
    if (headerSize < 40 || headerSize > 1024 || pixelOffset < 14 + headerSize || le(bytes, 26, 2) != 1 ||
        le(bytes, 28, 2) != 24 || le(bytes, 30, 4) != 0)
        return {};
    const std::int32_t width = size.width, rows = size.rows();
    const qint64 stride = (qint64(width) * 3 + 3) / 4 * 4;
    if (qint64(pixelOffset) + stride * rows > bytes.size()) return {};
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + pixelOffset;
    for (std::int32_t y = 0; y < rows; ++y) {
        // Rows are stored from the bottom unless the height is negative.
        const std::uint8_t* in = data + stride * (size.height < 0 ? y : rows - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::int32_t x = 0;
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            // Four pixels from three words: stored blue, green, red, each pixel read as a
            // little-endian word is already 0x00RRGGBB. A byte at a time was a third of a thumbnail.
            for (; x + 4 <= width; x += 4, in += 12) {
                std::uint32_t a, b, c;
                std::memcpy(&a, in, 4);
                std::memcpy(&b, in + 4, 4);
                std::memcpy(&c, in + 8, 4);
                out[x] = 0xFF000000u | (a & 0xFFFFFFu);
                out[x + 1] = 0xFF000000u | a >> 24 | (b & 0xFFFFu) << 8;
                out[x + 2] = 0xFF000000u | b >> 16 | (c & 0xFFu) << 16;
                out[x + 3] = 0xFF000000u | c >> 8;
            }
        }
        for (; x < width; ++x, in += 3) out[x] = 0xFF000000u | in[2] << 16 | in[1] << 8 | in[0];
    }
    return image;
}

// How many bytes an uncompressed bitmap lacks of the pixels its header announces (0 for a whole
// file, or one this cannot tell for; -1 when its pixels would start past its end). Qt's reader
// would leave the rows it cannot read holding whatever its memory held before: a different picture
// at every run, with leftovers of the program's memory in it.
qint64 missingPixelBytes(const QByteArray& bytes, BitmapSize size) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
    const std::uint32_t pixelOffset = le(bytes, 10, 4), headerSize = le(bytes, 14, 4), bits = le(bytes, 28, 2),
                        compression = le(bytes, 30, 4);
    if (headerSize < 40 || pixelOffset < 14 + headerSize || (compression != 0 && compression != 3)) return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
    // Pixels said to start past the end of the file (an offset of 4 GB in a file of 2 KB): none was
    // read, and making them up would cost the offset's size in memory.
    if (pixelOffset >= std::uint32_t(bytes.size())) return -1;
    const qint64 stride = (qint64(size.width) * bits + 31) / 32 * 4;
    return std::max<qint64>(0, qint64(pixelOffset) + stride * size.rows() - bytes.size());
}

}  // namespace

CarPicture decodeCarPicture(const QByteArray& bytes, bool wholeFile) {
    CarPicture p;
    p.header = bitmapSize(bytes);
    // A car without a place shows nothing, so its picture is not worth decoding.
    if (!wholeFile || !p.usable()) return p;
    const bool fits = qint64(p.header.width) * p.header.rows() * 4 <= kMaxCarPictureBytes;
    // What was read is shown: pixels the file lacks are read as zero bytes, the same every time.
    const qint64 missing = missingPixelBytes(bytes, p.header);
    if (missing < 0 || (missing > 0 && !fits)) return p;
    const QByteArray whole = missing > 0 ? bytes + QByteArray(qsizetype(missing), '\0') : bytes;
    if (fits) {
        p.image = decodePlainBitmap(whole, p.header);
        if (!p.image.isNull()) return p;
    }

    QBuffer buffer;
    buffer.setData(whole);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // The decoder's own idea of the size, which can differ from the header fields read above: a
    // picture too large to keep is refused before any pixel is allocated. Formats that cannot tell
    // their size in advance are still bounded by Qt's own allocation limit.
    const QSize decoded = reader.size();
    if (decoded.isValid() && qint64(decoded.width()) * decoded.height() * 4 > kMaxCarPictureBytes) return p;
    QImage image;
    if (reader.read(&image)) p.image = std::move(image);
    return p;
}

namespace {

// The car's picture; nothing when its file cannot be read. One read gives both the header and the
// picture; of a file too long to decode only the header is read.
std::optional<CarPicture> readCarPicture(const FileSystem& fs, const QString& path) {
    bool whole = false;
    const ReadResult r = fs.readFileOrHead(path, kMaxCarFileBytes, kBitmapHeaderBytes, &whole);
    if (!r.ok) return std::nullopt;
    return decodeCarPicture(r.bytes, whole);
}

}  // namespace

CarPicture loadCarPicture(const FileSystem& fs, const QString& path) {
    return readCarPicture(fs, path).value_or(CarPicture{});
}

// ---------------------------------------------------------------- whole-train view

bool TrainStrip::anyFound() const {
    return std::any_of(cars.begin(), cars.end(), [](const TrainCar& c) { return c.found; });
}

QString trainCaption(const QString& title, int height) { return msg::heightCaption(title, height); }

std::optional<TrainStrip> buildTrainStrip(const QStringList& rows, const QString& defaultFolder, const FileSystem& fs) {
    if (rows.size() < 3) return std::nullopt;
    TrainStrip strip;
    strip.rowCount = int(rows.size());
    int x = 0;
    for (int i = 2; i < strip.rowCount; ++i) {
        TrainCar car;
        car.row = i;
        const CarLine line(rows[i]);
        // The path is taken as listed, blanks included: the list shows what would be written.
        car.file = fs.GetFullFileName(defaultFolder, line.pathPart);
        // Read first, looked for only when that fails: resolving each car's path twice
        // (case-insensitive matching and all) was a tenth of building a long train's strip.
        std::optional<CarPicture> picture;
        if (!car.file.isEmpty()) picture = readCarPicture(fs, car.file);
        car.found = picture || fs.FileExists(car.file);
        if (picture) {
            // A car whose header gives no usable size closes up as a missing one does.
            if (picture->usable()) {
                car.placed = true;
                car.left = x;
                car.size = picture->size();
                car.picture = std::move(picture->image);
                // The car keeps its number in the list even when cars before it are missing.
                car.toolTip = msg::carToolTip(i - 1, fs.GetBaseName(car.file), line.comment);
                x += car.size.width();
                strip.height = car.size.height();
                strip.tallest = std::max(strip.tallest, car.size.height());
            }
        }
        strip.cars.push_back(std::move(car));
    }
    strip.totalWidth = x;
    strip.caption = trainCaption(rows[0], strip.height);
    return strip;
}

ScrollRange trainScrollRange(int totalWidth, int clientWidth, int clientHeight) {
    ScrollRange r;
    r.maximum = int(std::max(1.0, roundHalfEven(double(totalWidth) - double(clientWidth))));
    if (r.maximum < 10) return r;  // one step each way
    r.largeChange = r.maximum / 10;
    r.smallChange = int(roundHalfEven(double(clientHeight) / 2.0));
    return r;
}

QImage renderTrainStrip(const TrainStrip& strip) {
    if (strip.totalWidth <= 0 || strip.tallest <= 0) return {};
    // Places come from headers, which may claim any size: the strip is drawn only when it fits.
    if (qint64(strip.totalWidth) * strip.tallest * 4 > kMaxStripBytes) return {};
    QImage out(strip.totalWidth, strip.tallest, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) return {};
    out.fill(Qt::transparent);
    QPainter painter(&out);
    // Each picture fills its car's place as the view draws it, whatever size it decoded to.
    for (const TrainCar& car : strip.cars)
        if (car.placed && !car.picture.isNull()) painter.drawImage(QRect(QPoint(car.left, 0), car.size), car.picture);
    painter.end();
    return out;
}

// ---------------------------------------------------------------- car view

CarView buildCarView(const FormationTable& lines, int selectedRow, const QString& defaultFolder, const FileSystem& fs) {
    CarView v;
    v.row = selectedRow < 2 ? 2 : selectedRow;
    const CarLine line(v.row < kFormationTableSize ? lines[size_t(v.row)] : QString());
    v.file = fs.GetFullFileName(defaultFolder, line.pathPart);
    v.found = fs.FileExists(v.file);
    if (!v.found) {
        v.message = msg::carNotFound(v.file);
        return v;
    }
    v.picture = loadCarPicture(fs, v.file);
    v.toolTip = line.comment;
    // The height the car is shown at; for a header without a usable size, the header's own value,
    // which tells what is wrong with the file.
    const std::int32_t height = v.picture.usable() ? v.picture.header.rows() : v.picture.header.height;
    v.caption = msg::heightCaption(QString::number(v.row - 1) + QStringLiteral(" : ") + v.file, height);
    return v;
}

}  // namespace ksn
