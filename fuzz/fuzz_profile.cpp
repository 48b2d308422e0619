// Bytes as a settings file: read a value, set it, read it again. The value set is read back and
// every line of the file but the one replaced stands in the new file, in order.
#include "support/settings/profile.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

namespace {

// Lines without their ends; a line ends at CR LF, CR or LF.
QList<QByteArray> lines(const QByteArray& b) {
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] != '\r' && b[i] != '\n') continue;
        out << b.mid(start, i - start);
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < b.size()) out << b.mid(start);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString section = QStringLiteral("KSNED");
    (void)ksn::profile::readValue(file, section, QStringLiteral("KSN_FOLDER"), QString(), 255);

    const QString value = QStringLiteral("D:\\列車\\KSN");
    const QByteArray after = ksn::profile::withValue(file, section, QStringLiteral("KSN_Folder"), value);
    if (ksn::profile::readValue(after, section, QStringLiteral("ksn_folder"), QString(), 255) != value) std::abort();

    // The write either replaces one line in place, inserts the key line (into its section), or
    // appends the section at the end: every other line keeps its place and bytes.
    const QList<QByteArray> before = lines(file);
    const QList<QByteArray> now = lines(after);
    qsizetype i = 0;
    while (i < before.size() && i < now.size() && before[i] == now[i]) ++i;
    if (i == before.size()) {
        if (now.size() > before.size() + 3) std::abort();
    } else {
        const bool replaced = before.mid(i + 1) == now.mid(i + 1);
        const bool inserted = before.mid(i) == now.mid(i + 1);
        if (!replaced && !inserted) std::abort();
    }
    return 0;
}
