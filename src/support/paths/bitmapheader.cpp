// MyLibClass's bitmap header fields: a car picture's width and height as its file's header gives them.
#include "support/mylib.h"
#include "support/paths/filesystem.h"

namespace ksn {

std::int32_t MyLibClass::headerField(const QString& fileName, int offset) const {
    // A missing file, a folder and an unreadable file all fail to read: one look-up, not two.
    const ReadResult r = fs_.readFile(fileName, offset + 4);
    return r.ok ? BMPHeaderField(r.bytes, offset) : 0;
}

std::int32_t MyLibClass::BMPHeaderField(QByteArrayView bytes, int offset) {
    if (offset < 0 || bytes.size() < offset + 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    const std::uint32_t u =
        std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

std::int32_t MyLibClass::GetBMPWidth(const QString& fileName) const { return headerField(fileName, kBMPWidthOffset); }
std::int32_t MyLibClass::GetBMPHeight(const QString& fileName) const { return headerField(fileName, kBMPHeightOffset); }

}  // namespace ksn
