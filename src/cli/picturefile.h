// What the picture commands share: ksn's own error lines, and writing a picture through a save file
// so that a failed write leaves whatever was at the path before.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdio>

namespace ksn {

// "ksn: " + text + LF on err.
void printError(std::FILE* err, const QString& text);

// Writes picture to path in format ("png"), at quality (-1: the writer's default). 0 when written;
// else 1, with the reason on err.
int writePicture(const QImage& picture, const QString& path, const QByteArray& format, int quality, std::FILE* err);

}  // namespace ksn
