#include "cli/messages.h"

#include "support/product/version.h"

namespace ksn::climsg {

QString errorLine(const QString& text) { return QStringLiteral("ksn: ") + text + u'\n'; }

QString readerStopped(const QString& file, const QString& description, int number) {
    return QStringLiteral("%1: %2 (Err.Number= %3)").arg(file, description).arg(number);
}

QString noCarFile(const QString& file) { return QStringLiteral("no car file of %1 exists").arg(file); }

QString noUsableCarSize(const QString& file) {
    return QStringLiteral("no car of %1 has a bitmap header with a usable size").arg(file);
}

QString stripTooLarge(int width, int height) {
    return QStringLiteral("the strip of %1 x %2 pixels is too large to draw").arg(width).arg(height);
}

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write %1: %2").arg(path, reason);
}

QString noReadableCar(const QString& file) {
    return QStringLiteral("no car of %1 can be read: nothing to draw").arg(file);
}

QString thumbnailUsage() { return QStringLiteral("thumbnail takes one FILE and one OUT.png"); }

QString sizeOutOfRange(const QString& given, int largest) {
    return QStringLiteral("--size takes a number from 1 to %1, not %2").arg(largest).arg(given);
}

QString sizeBelongsToThumbnail() { return QStringLiteral("--size belongs to thumbnail"); }

QString messageHeading(const QString& title) {
    return QStringLiteral("[") + (title.isEmpty() ? kAppTitle : title) + QStringLiteral("]\n");
}

}  // namespace ksn::climsg
