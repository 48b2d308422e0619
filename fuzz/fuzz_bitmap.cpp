// Bytes as a car bitmap: the header fields read as the editor reads them, and Qt's decoding of the
// same bytes under the editor's allocation limit. Neither crashes nor hangs on any input.
#include "support/mylib.h"
#include "support/paths/filesystem.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile f(dir.filePath(QStringLiteral("car.bmp")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(bytes);
    f.close();

    ksn::DriveMap drives;
    drives.set(u'D', dir.path());
    const ksn::FileSystem fs(drives, QStringLiteral("D:\\"));
    const ksn::MyLibClass lib(fs, QString());
    const std::int32_t w = lib.GetBMPWidth(QStringLiteral("D:\\car.bmp"));
    const std::int32_t h = lib.GetBMPHeight(QStringLiteral("D:\\car.bmp"));
    if (size < 22 && w != 0) std::abort();
    if (size < 26 && h != 0) std::abort();

    QImageReader::setAllocationLimit(64);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QImage image = reader.read();
    if (!image.isNull() && (image.width() <= 0 || image.height() <= 0)) std::abort();
    return 0;
}
