// A formation read for the parade exactly as the screensaver reads it, its distinct car pictures
// decoded once and scaled once.
#pragma once

#include "parade/motion.h"

#include <QImage>
#include <QString>

#include <variant>
#include <vector>

namespace ksn {
class FileSystem;
}  // namespace ksn

namespace ksn::parade {

struct ParadeTrain {
    QString file;                // the formation, as a Windows path
    QString title;               // the reader's title item
    QString soundHostFile;       // empty when the sound line names no file there is
    std::vector<QImage> images;  // the distinct pictures; null for one whose pixels cannot be decoded
    std::vector<QSize> sizes;    // their places, from the headers: a null picture keeps its place
    std::vector<int> cars;       // the train in order, as indices into images

    std::vector<QSize> carSizes() const;
    // The pictures scaled by whole factors, nearest neighbour: every pixel stays a square.
    void scale(Scale s);
};

// Reads windowsPath; with noBellows the bellows pieces are left out as the reader leaves them out.
// Gives the reason in place of a train when it has no car to show or its reading stops.
std::variant<ParadeTrain, QString> readParadeTrain(const FileSystem& fs, const QString& windowsPath, bool noBellows);

}  // namespace ksn::parade
