// The 101-car formation the benchmarks measure, written under one host folder; without widgets,
// so that ksnparade's measurements link as ksnparade does.
#pragma once

#include <QDir>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "benchfiles.h"
#include "document/ksned.h"
#include "support/paths/drivemap.h"
#include "support/text/cp932.h"

namespace ksn::bench {

constexpr int kCars = kMaxFormationLines - 2;  // the longest formation: 101 cars

// The cars of the long formation: most 120 x 40, every sixth a 320 x 40 double car, all 24-bit
// and each its own file with its own colours (render_vs_imagemagick.sh makes the same train:
// 15320 dots long, within the 16000 dots Debian's ImageMagick accepts).
inline QSize carSize(int i) { return i % 6 == 5 ? QSize(320, 40) : QSize(120, 40); }
inline QString carName(int i) { return QStringLiteral("c%1.bmp").arg(i + 1, 3, 10, QLatin1Char('0')); }

// The files of the measurements under one host folder, mapped as drive K:. The editor's settings
// file lies beside its (notional) program in bin/ and names K:\KSN, which holds the formation
// long.KSN and its 101 pictures.
struct TrainFiles {
    QString root;
    DriveMap drives;
    QString programPath;
    QString formationHost;
    QStringList carHosts;
    qint64 pixelBytes = 0;  // the cars decoded, 4 bytes a pixel

    explicit TrainFiles(const QString& hostRoot) : root(hostRoot) {
        drives.set(u'K', root);
        programPath = root + QStringLiteral("/bin/ksned32");
        formationHost = root + QStringLiteral("/KSN/long.KSN");
        for (int i = 0; i < kCars; ++i) {
            carHosts << root + QStringLiteral("/KSN/") + carName(i);
            pixelBytes += qint64(carSize(i).width()) * carSize(i).height() * 4;
        }
    }

    void write() const {
        QDir().mkpath(root + QStringLiteral("/bin"));
        QDir().mkpath(root + QStringLiteral("/KSN"));
        // Written as the editor writes it, so that the start-up finds nothing to change.
        writeHostFile(programPath + QStringLiteral(".ini"), "[KSNED]\r\nKSN_Folder=K:\\KSN\r\n");
        QStringList lines{QStringLiteral("特急 101両編成"), QStringLiteral("horn.wav;汽笛")};
        for (int i = 0; i < kCars; ++i) {
            const QSize s = carSize(i);
            writeHostFile(carHosts[i], carBmp(s.width(), s.height(), 0, std::uint32_t(i + 1)));
            lines << carName(i) + (i == 0       ? QStringLiteral(";先頭車")
                                   : i % 7 == 3 ? QStringLiteral(";グリーン車")
                                                : QString());
        }
        QByteArray bytes;
        for (const QString& line : lines) bytes += cp932::encode(line) + QByteArray("\r\n");
        writeHostFile(formationHost, bytes);
    }
};

}  // namespace ksn::bench
