// Files and a seam for the benchmark programs and their child processes, without the benchmark
// library: car pictures, host files, and a modal seam that answers without a window.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "support/ui/modal.h"

namespace ksn::bench {

// Answers every question with nothing and counts the messages, so that a message costs what a
// message costs and no more, and a run can tell that none was shown.
class CountingModal : public Modal {
public:
    MsgAnswer message(const QString&, const QString&, MsgButtons buttons, MsgIcon) override {
        ++messages;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    FileChoice fileDialog(const FileDialogRequest&) override { return std::nullopt; }
    QString browseFolder(const QString&, const QString&) override { return {}; }
    void processEvents() override {}

    std::int64_t messages = 0;
};

// A 24-bit bottom-up car picture. With seed 0 it is one colour (shade), which is all a header read
// needs; any other seed draws a body, a band of windows and a roof line in colours taken from the
// seed, so that pictures differ from file to file and do not compress to nothing, as real cars.
inline QByteArray carBmp(std::int32_t width, std::int32_t height, std::uint8_t shade, std::uint32_t seed = 0) {
    const std::int32_t stride = (width * 3 + 3) / 4 * 4;
    const std::int32_t pixels = stride * height;
    QByteArray b(54, '\0');
    auto put32 = [&](int off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[off + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, std::uint32_t(54 + pixels));
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    b[26] = 1;
    b[28] = 24;
    put32(34, std::uint32_t(pixels));
    if (seed == 0) {
        b.append(QByteArray(pixels, char(shade)));
        return b;
    }
    QByteArray body(pixels, '\0');
    const auto channel = [seed](int shift) { return std::uint8_t((seed * 2654435761u) >> shift); };
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = height - 1 - row;  // bottom-up: the first row stored is the lowest
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t bgr[3] = {channel(8), channel(16), channel(24)};
            if (y < height / 10) {
                bgr[0] = bgr[1] = bgr[2] = 0x60;  // roof
            } else if (y > height / 4 && y < height / 2 && x % 24 > 4 && x % 24 < 20) {
                bgr[0] = 0xE0, bgr[1] = 0xC8, bgr[2] = std::uint8_t(0x90 + y);  // windows
            } else if (y > height - height / 8) {
                bgr[0] = bgr[1] = bgr[2] = std::uint8_t(0x20 + (x * 7) % 32);  // bogies
            }
            char* p = body.data() + row * stride + x * 3;
            p[0] = char(bgr[0]), p[1] = char(bgr[1]), p[2] = char(bgr[2]);
        }
    }
    b.append(body);
    return b;
}

inline void writeHostFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace ksn::bench
