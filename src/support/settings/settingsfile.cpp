#include "support/settings/settingsfile.h"

#include "support/mylib.h"
#include "support/settings/profile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ksn {

// The settings file beside the program: its folder, its base name, ".ini".
QString MyLibClass::GetIniFileName() const {
    const QFileInfo program(programPath_);
    return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

namespace {

const QString kSection = QStringLiteral("KSNED");
// The key is read and written under two spellings; names are matched without regard to case, so
// both are the one key, and a file written by either is read by both.
const QString kReadKey = QStringLiteral("KSN_FOLDER");
const QString kWriteKey = QStringLiteral("KSN_Folder");
constexpr int kBufferSize = 255;

QString configFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/ksned32");
}

}  // namespace

QStringList iniCandidates(const MyLibClass& lib) {
    const QString beside = lib.GetIniFileName();
    QStringList paths{beside};
    const QString folder = configFolder();
    if (!folder.isEmpty()) paths << folder + u'/' + QFileInfo(beside).fileName();
    return paths;
}

QString ReadIni(const MyLibClass& lib) {
    for (const QString& path : iniCandidates(lib))
        if (QFileInfo::exists(path))
            return profile::GetPrivateProfileString(kSection, kReadKey, QString(), kBufferSize, path);
    return {};
}

bool WriteIni(const MyLibClass& lib, const QString& defaultFolder) {
    const QStringList paths = iniCandidates(lib);
    const QString& beside = paths.front();
    // A file beside the program is read first, so when it is there (even read-only) a copy in the
    // configuration folder would never be seen: the write either lands in it or fails.
    if (QFileInfo::exists(beside))
        return profile::WritePrivateProfileString(kSection, kWriteKey, defaultFolder, beside);
    if (profile::WritePrivateProfileString(kSection, kWriteKey, defaultFolder, beside)) return true;
    if (paths.size() < 2) return false;
    const QString& config = paths[1];
    if (!QDir().mkpath(QFileInfo(config).absolutePath())) return false;
    return profile::WritePrivateProfileString(kSection, kWriteKey, defaultFolder, config);
}

}  // namespace ksn
