// A car bitmap's size as its file's header gives it. Every reader of a car's width and height (the
// height check, the reader model, the viewers and the thumbnail) takes it from here, so that the
// fields are decoded in one place and each car's header is read once.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace ksn {

class FileSystem;

// The two header fields, signed little-endian, at offsets 18 and 22, as the file holds them.
struct BitmapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for a top-down bitmap, whose rows are stored from the top

    // The number of rows: the height, made positive for a top-down bitmap. (The lowest value has no
    // positive twin and is returned as it is.)
    std::int32_t rows() const;

    friend bool operator==(const BitmapSize&, const BitmapSize&) = default;
};

// The first bytes of a file that hold both fields.
inline constexpr int kBitmapHeaderBytes = 26;

// Both fields from the first bytes of a file; a field the bytes are too short for is 0.
BitmapSize bitmapSize(QByteArrayView bytes);

// Both fields from one read of the header of path (a Windows path); both 0 for a missing file, a
// folder, a pipe or a device (never opened) and a file that cannot be read.
BitmapSize readBitmapSize(const FileSystem& fs, const QString& path);

}  // namespace ksn
