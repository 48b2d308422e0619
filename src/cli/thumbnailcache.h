// The rules of the desktop's shared thumbnail cache, which file managers read before they start a
// thumbnailer: where a file's thumbnail lies and what it must carry to count as up to date.
// Pure functions: nothing here reads the environment or the disk.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace ksn::thumbcache {

// A size of the cache: its folder below thumbnails/ and the largest side of its pictures.
struct Size {
    const char* folder;
    int side;
};
// The sizes ksn fills: the ones file managers ask for at their usual zoom levels.
inline constexpr std::array<Size, 2> kSizes{{{"normal", 128}, {"large", 256}}};

// The cache's root: $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when the variable is unset,
// empty or relative (relative values are to be ignored). Empty when neither gives an absolute folder.
QString root(const QString& xdgCacheHome, const QString& home);

// The URI a file manager names the file by: file:// and the absolute path, percent-encoded.
QString uri(const QString& absolutePath);

// The thumbnail's file name in each size folder: the lower-case hex MD5 of the URI, ".png".
QString fileName(const QString& uri);

// The text keys the thumbnail carries: the URI and the modification time (whole seconds since the
// epoch) that make it valid, the file's size, and the program that made it.
std::vector<std::pair<QByteArray, QByteArray>> keys(const QString& uri, qint64 mtime, qint64 size,
                                                    const QString& software);

// png with a tEXt chunk for each key, placed right after the header chunk; empty when png is no PNG
// or a key or value is not Latin-1 text fit for tEXt (a key of 1 to 79 characters, no NUL).
QByteArray withTextChunks(const QByteArray& png, const std::vector<std::pair<QByteArray, QByteArray>>& keys);

}  // namespace ksn::thumbcache
