// What the two viewers show, without a widget: the whole-train strip built from the car list, the
// scroll range of its window, the single car taken from the document, and the car pictures read
// from disk. The viewer windows, `ksn render` and the tests all use these functions.
#pragma once

#include "document/ksned.h"

#include "support/paths/bitmapheader.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace ksn {

// A side above this comes from a broken header: no window could show the car anyway.
inline constexpr std::int32_t kMaxCarSide = 32767;
// Pictures whose decoded image would need more than this many bytes are not decoded.
inline constexpr qint64 kMaxCarPictureBytes = qint64(64) << 20;
// Files longer than this are not decoded; their header still gives the car its place.
inline constexpr qint64 kMaxCarFileBytes = qint64(64) << 20;
// The largest whole-train picture drawn (a train of 101 long cars is a few tens of megabytes).
inline constexpr qint64 kMaxStripBytes = qint64(256) << 20;

// A car file as the viewers use it: the header's size and, when the bytes decode, the picture.
struct CarPicture {
    BitmapSize header;  // as GetBMPWidth and GetBMPHeight read it
    QImage image;       // null when the file is no readable picture

    // Both sides in 1 .. kMaxCarSide, a top-down car's height made positive: the car gets a place
    // of that size, with or without picture.
    bool usable() const;
    // The picture's size when usable, else the empty size.
    QSize size() const;
};

// The header's size and the picture from the same bytes; bytes holding only the start of the file
// (wholeFile false) give the header alone.
CarPicture decodeCarPicture(const QByteArray& bytes, bool wholeFile = true);
// Reads the file once, no more of it than it holds (nothing for a missing or unreadable file).
CarPicture loadCarPicture(const FileSystem& fs, const QString& path);

// ---------------------------------------------------------------- whole-train view

// One car line of the car list.
struct TrainCar {
    int row = 0;          // car-list line: 2 for the first car
    QString file;         // the path looked for, a Windows path
    bool found = false;   // a file of that name exists
    bool placed = false;  // it takes a place in the strip: found, with a usable header size
    int left = 0;         // left edge in the unscrolled strip; 0 when not placed
    QSize size;           // placed: the header size; else empty
    QString toolTip;      // placed: "1 : car1 : front"; else empty
    QImage picture;       // null when not placed or not decoded
};

struct TrainStrip {
    int rowCount = 0;            // lines of the car list; the view has one slot per line
    std::vector<TrainCar> cars;  // one per car line, in list order
    int totalWidth = 0;          // the placed cars side by side
    int height = 0;              // the height of the last car placed; 0 when none
    int tallest = 0;             // the height of the tallest car placed
    QString caption;             // "Express ( 40dot )"

    bool anyFound() const;
};

// The strip of car-list rows (title, sound line, car lines as listed). Nothing for a list without a
// car line. Bare file names are looked for in defaultFolder, other paths through fs.
std::optional<TrainStrip> buildTrainStrip(const QStringList& rows, const QString& defaultFolder, const FileSystem& fs);

// The window caption: title, " ( ", height, "dot )".
QString trainCaption(const QString& title, int height);

// The scroll bar of a strip totalWidth wide in a client area of clientWidth x clientHeight.
struct ScrollRange {
    int maximum = 1;
    int largeChange = 1;
    int smallChange = 1;
    friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};
ScrollRange trainScrollRange(int totalWidth, int clientWidth, int clientHeight);

// The strip as one picture: totalWidth x tallest, each placed car at its left edge and top 0, the
// rest transparent. Null when no car is placed or the picture would exceed kMaxStripBytes or cannot
// be allocated.
QImage renderTrainStrip(const TrainStrip& strip);

// ---------------------------------------------------------------- car view

struct CarView {
    int row = 2;   // document line shown: 2 for the first car
    QString file;  // the path looked for, a Windows path
    bool found = false;
    QString message;  // not found: the text of the message box
    QString caption;  // found: "1 : D:\KSN\car1.bmp ( 40dot )"
    QString toolTip;  // found: the comment of the document line
    CarPicture picture;
};

// The car of the selected car-list row (-1: none), read from the document's line, so that neither
// the save mode nor the comment switch changes it; bare file names are looked for in defaultFolder.
// The title and sound rows show the first car.
CarView buildCarView(const FormationTable& lines, int selectedRow, const QString& defaultFolder, const FileSystem& fs);

}  // namespace ksn
