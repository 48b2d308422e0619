#include "support/paths/drivemap.h"

#include "support/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ksn {

DriveMap DriveMap::identity() {
    DriveMap m;
    m.identity_ = true;
    return m;
}

void DriveMap::set(QChar letter, const QString& hostRoot) { drives_[letter.toUpper()] = hostRoot; }

QString DriveMap::root(QChar letter) const {
    auto it = drives_.find(letter.toUpper());
    return it == drives_.end() ? QString() : it->second;
}

QString DriveMap::toString() const {
    QStringList parts;
    for (const auto& [letter, rootDir] : drives_) parts << QString(letter) + QStringLiteral(":=") + rootDir;
    return parts.join(u';');
}

std::optional<DriveMap> DriveMap::parse(const QString& text, QString* error) {
    DriveMap m;
    const QStringList entries = text.split(u';', Qt::SkipEmptyParts);
    for (const QString& raw : entries) {
        const QString e = raw.trimmed();
        if (e.isEmpty()) continue;
        const bool ok = e.size() >= 4 && e[0].unicode() < 128 && e[0].isLetter() && e[1] == u':' && e[2] == u'=';
        if (!ok) {
            if (error) *error = supportmsg::badDriveEntry(e);
            return std::nullopt;
        }
        m.set(e[0], e.mid(3));
    }
    return m;
}

DriveMap DriveMap::fromWinePrefix(const QString& prefix) {
    DriveMap m;
    const QDir dosdevices(QDir(prefix).filePath(QStringLiteral("dosdevices")));
    if (dosdevices.exists()) {
        const QStringList names = dosdevices.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            // "c:" names a drive's root; "c::" names the raw device and is of no use here.
            if (name.size() != 2 || name[1] != u':' || !name[0].isLetter()) continue;
            const QFileInfo link(dosdevices.filePath(name));
            QString target = link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath();
            if (target.isEmpty()) continue;
            m.set(name[0], QDir::cleanPath(target));
        }
    }
    if (m.drives_.empty()) m.set(u'Z', QStringLiteral("/"));
    return m;
}

DriveMap DriveMap::detect() {
#ifdef Q_OS_WIN
    return identity();
#else
    const QString env = qEnvironmentVariable("KSNED_DRIVES");
    if (!env.trimmed().isEmpty()) {
        if (auto m = parse(env)) return *m;
    }
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) prefix = QDir::home().filePath(QStringLiteral(".wine"));
    return fromWinePrefix(prefix);
#endif
}

}  // namespace ksn
