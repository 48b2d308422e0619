// The desktop's answer to "which program opens a file of this type" on a freedesktop.org desktop:
// the default application of a MIME type from the mimeapps.list files, else an application that
// declares the type, and the program its desktop entry runs.
#pragma once

#include <QString>
#include <QStringList>

namespace ksn::xdg {

// The folders the lookup reads, most important first.
struct Dirs {
    QString configHome;      // $XDG_CONFIG_HOME, else ~/.config
    QStringList configDirs;  // $XDG_CONFIG_DIRS, else /etc/xdg
    QString dataHome;        // $XDG_DATA_HOME, else ~/.local/share
    QStringList dataDirs;    // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    QStringList desktops;    // $XDG_CURRENT_DESKTOP in lower case, e.g. "gnome"

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

// What an Exec line's field codes stand for, besides the file: the entry's Icon value, its Name
// (translated where the entry has the user's language) and the desktop file's own location.
struct ExecEntry {
    QString icon;
    QString name;
    QString location;
};

// The argument vector an Exec value gives to open one local file, program first, as a launcher
// runs it: the value's escapes (\s \n \t \r \\) resolved, then the line split at blanks outside
// quotes (in double quotes \" \` \$ \\ stand for the character; single quotes keep everything, as
// launchers accept), then the field codes of each argument: %f and %F the file's path, %u and %U
// its file:// URL, %i "--icon" and the icon (nothing without one), %c the name, %k the location,
// %% a percent sign; the other codes are dropped, and an argument made of dropped codes alone goes.
// Without a file code the file comes last. Empty when the value holds no program.
QStringList execArguments(const QString& exec, const QString& file, const ExecEntry& entry);

// The command that opens file with a desktop file's application: the program's host path (looked
// up on PATH unless it is a path), then its arguments; an entry that runs in a terminal
// (Terminal=true) runs in x-terminal-emulator -e. Empty when the entry has no Exec line or its
// program, or the terminal it needs, cannot be found.
QStringList desktopCommand(const QString& desktopFilePath, const QString& file);

}  // namespace ksn::xdg
