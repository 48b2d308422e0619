#include "cli/thumbnailcache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QUrl>
#include <QtEndian>

namespace ksn::thumbcache {
namespace {

// PNG's CRC-32 (polynomial 0xEDB88320) over a chunk's type and data.
quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

QByteArray bigEndian(quint32 value) {
    QByteArray b(4, '\0');
    qToBigEndian(value, b.data());
    return b;
}

}  // namespace

QString root(const QString& xdgCacheHome, const QString& home) {
    QString base;
    if (!xdgCacheHome.isEmpty() && QDir::isAbsolutePath(xdgCacheHome)) {
        base = xdgCacheHome;
    } else if (!home.isEmpty() && QDir::isAbsolutePath(home)) {
        base = home + QStringLiteral("/.cache");
    } else {
        return {};
    }
    return QDir::cleanPath(base + QStringLiteral("/thumbnails"));
}

QString uri(const QString& absolutePath) {
    return QString::fromLatin1(QUrl::fromLocalFile(QDir::cleanPath(absolutePath)).toEncoded());
}

QString fileName(const QString& uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

std::vector<std::pair<QByteArray, QByteArray>> keys(const QString& uri, qint64 mtime, qint64 size,
                                                    const QString& software) {
    return {{"Thumb::URI", uri.toUtf8()},
            {"Thumb::MTime", QByteArray::number(mtime)},
            {"Thumb::Size", QByteArray::number(size)},
            {"Software", software.toLatin1()}};
}

QByteArray withTextChunks(const QByteArray& png, const std::vector<std::pair<QByteArray, QByteArray>>& keys) {
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    constexpr qsizetype headerEnd = 8 + 4 + 4 + 13 + 4;  // signature, then IHDR: length, type, data, CRC
    if (!png.startsWith(signature) || png.size() < headerEnd || png.mid(12, 4) != "IHDR") return {};
    QByteArray chunks;
    for (const auto& [key, value] : keys) {
        if (key.isEmpty() || key.size() > 79 || key.contains('\0') || value.contains('\0')) return {};
        const QByteArray body = QByteArrayLiteral("tEXt") + key + '\0' + value;
        chunks += bigEndian(quint32(body.size() - 4)) + body + bigEndian(crc32(body));
    }
    QByteArray out = png;
    out.insert(headerEnd, chunks);
    return out;
}

}  // namespace ksn::thumbcache
