// Drive letters mapped onto host folders.
//
// On Windows the map is the identity: a Windows path is a host path. Elsewhere the screensaver runs
// under Wine, so the drives are those of Wine's prefix: each dosdevices/<letter>: link names a
// drive's root. Without a prefix, Z: is "/" as in Wine's default layout.
#pragma once

#include <QString>

#include <map>
#include <optional>

namespace ksn {

class DriveMap {
public:
    DriveMap() = default;

    // The map for this host: KSNED_DRIVES when set, else Wine's prefix ($WINEPREFIX, else ~/.wine),
    // else Z: = "/". On Windows, the identity.
    static DriveMap detect();
    // The drives of one Wine prefix; Z: = "/" when the prefix has no dosdevices folder.
    static DriveMap fromWinePrefix(const QString& prefix);
    // Parses "C:=/srv/c;D:=/mnt/d". Returns nothing and sets *error on a malformed entry.
    static std::optional<DriveMap> parse(const QString& text, QString* error = nullptr);
    // The identity map of a Windows host.
    static DriveMap identity();

    bool isIdentity() const { return identity_; }
    // Sets or replaces one drive; letter is case-insensitive.
    void set(QChar letter, const QString& hostRoot);
    // The host folder of a drive, or empty when the drive is not mapped.
    QString root(QChar letter) const;
    // Drive letters (upper case) with their host roots, in letter order.
    const std::map<QChar, QString>& drives() const { return drives_; }
    bool empty() const { return drives_.empty() && !identity_; }

    // "C:=/srv/c;Z:=/" — the form parse() reads.
    QString toString() const;

private:
    std::map<QChar, QString> drives_;
    bool identity_ = false;
};

}  // namespace ksn
