#include "parade/messages.h"

namespace ksn::parade::msg {

QString unreadable(const QString& file) { return QStringLiteral("%1 cannot be read").arg(file); }
QString readerStopped(const QString& file, const QString& reason) {
    return QStringLiteral("%1: the reader stops at %2").arg(file, reason);
}
QString noCar(const QString& file) { return QStringLiteral("no car of %1 can be shown").arg(file); }
QString skipped(const QString& reason) { return QStringLiteral("ksnparade: skipped: ") + reason; }
QString noFormations(const QString& folder) { return QStringLiteral("%1 に走らせられる編成がありません").arg(folder); }
QString noSuchFolder(const QString& folder) { return QStringLiteral("ksnparade: no such folder: %1").arg(folder); }
QString noDefaultFolder() {
    return QStringLiteral("ksnparade: no folder given and the editor keeps no default folder (--folder DIR)");
}

}  // namespace ksn::parade::msg
