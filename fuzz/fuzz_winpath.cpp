// Any text as a Windows path: the absolute form is idempotent, starts with its drive part, and
// the path operations never crash.
#include "support/paths/winpath.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = text.indexOf(u'\n');
    const QString path = cut < 0 ? text : text.left(cut);
    const QString current = cut < 0 ? QStringLiteral("C:\\Work") : text.mid(cut + 1);

    using namespace ksn::winpath;
    for (const QString& p : {path, current}) {
        if (!p.startsWith(driveName(p))) std::abort();
        (void)fileName(p);
        (void)baseName(p);
        (void)extensionName(p);
        (void)isBareFileName(p);
        (void)buildPath(p, path);
    }
    const QString abs = absolutePath(path, current);
    if (absolutePath(abs, current) != abs) std::abort();
    if (!abs.startsWith(driveName(abs))) std::abort();
    if (rootOf(abs).isEmpty()) std::abort();
    if (abs.contains(u'/')) std::abort();
    return 0;
}
