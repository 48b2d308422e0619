#include "support/paths/bitmapheader.h"

#include "support/mylib.h"
#include "support/paths/filesystem.h"

#include <limits>

namespace ksn {

namespace {

constexpr int kWidthOffset = 18;
constexpr int kHeightOffset = 22;

std::int32_t field(QByteArrayView bytes, int offset) {
    if (bytes.size() < offset + 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    const std::uint32_t u =
        std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

}  // namespace

std::int32_t BitmapSize::rows() const {
    return height < 0 && height != std::numeric_limits<std::int32_t>::min() ? -height : height;
}

BitmapSize bitmapSize(QByteArrayView bytes) { return {field(bytes, kWidthOffset), field(bytes, kHeightOffset)}; }

BitmapSize readBitmapSize(const FileSystem& fs, const QString& path) {
    // readFile opens regular files only: a missing file, a folder, a pipe, a device and an
    // unreadable file all fail alike, in one look-up.
    const ReadResult r = fs.readFile(path, kBitmapHeaderBytes);
    return r.ok ? bitmapSize(r.bytes) : BitmapSize{};
}

// The utility object's two members, kept under their old names for the height check.
std::int32_t MyLibClass::GetBMPWidth(const QString& fileName) const { return readBitmapSize(fs_, fileName).width; }
std::int32_t MyLibClass::GetBMPHeight(const QString& fileName) const { return readBitmapSize(fs_, fileName).height; }

}  // namespace ksn
