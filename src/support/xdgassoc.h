// The desktop's answer to "which program opens a file of this type" on a freedesktop.org desktop:
// the default application of a MIME type from the mimeapps.list files, else an application that
// declares the type, and the program its desktop entry runs.
#pragma once

#include <QString>
#include <QStringList>

namespace ksn::xdg {

// The folders the lookup reads, most important first.
struct Dirs {
    QString configHome;     // $XDG_CONFIG_HOME, else ~/.config
    QStringList configDirs; // $XDG_CONFIG_DIRS, else /etc/xdg
    QString dataHome;       // $XDG_DATA_HOME, else ~/.local/share
    QStringList dataDirs;   // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    QStringList desktops;   // $XDG_CURRENT_DESKTOP in lower case, e.g. "gnome"

    static Dirs fromEnvironment();
};

// The mimeapps.list files in the order they are read.
QStringList mimeAppsLists(const Dirs& dirs);

// The desktop file of an application id ("chromium.desktop"); empty when none is installed or it
// is hidden. An id with "-" may name a file in a subfolder ("kde4-a.desktop" -> kde4/a.desktop).
QString desktopFile(const QString& id, const Dirs& dirs);

// The desktop file of the default application for mimeType: the first installed entry of
// "Default Applications" in the mimeapps.list files, then of "Added Associations", then an
// application whose desktop entry lists the type (in the order of the data folders, then by id).
// Entries of "Removed Associations" are left out of the last two. Empty when no application takes
// the type.
QString defaultApplication(const QString& mimeType, const Dirs& dirs);

// The words of a desktop entry's Exec value, with its escapes and quotes resolved.
QStringList execWords(const QString& exec);

// The host path of the program a desktop file runs: the first word of its Exec line, looked up on
// PATH unless it is a path. Empty when the file has none or the program cannot be found.
QString desktopProgram(const QString& desktopFilePath);

}  // namespace ksn::xdg
