// Every text the support layer shows to the user, each made by one function. A rule that tells
// the user something calls one of these; no text is written anywhere else in support/.
#pragma once

#include <QString>

namespace ksn::supportmsg {

// --- files (paths/) ---
// A file could not be read: "ファイルを読み込めません。", the Windows path, then the reason when there
// is one, each on its own line (CR LF).
QString cannotRead(const QString& path, const QString& reason);
// A save was refused or failed, and the old file stands; laid out as cannotRead.
QString cannotSave(const QString& path, const QString& reason);
// Reasons for cannotRead and cannotSave.
QString noSuchDrive();
QString folderOfSameName();
QString readOnlyFile();
QString readOnlyFolder();
// A path that exists but names a named pipe, a device or a socket, or a file of the kernel's
// (/proc, /sys), which only looks like one.
QString notRegularFile();
// A file far larger than any this program reads whole (formation and settings files).
QString tooLarge();
// A host path that lies under no drive root; drives: the drive map as text ("C:=/srv/c;…").
QString notOnAnyDrive(const QString& hostPath, const QString& drives);
// One entry of a drive map given as text could not be read.
QString badDriveEntry(const QString& entry);

// --- help (system/) ---
// The help's start page is missing; the cover page is opened instead.
QString noHelp();
// The cover page is missing too.
QString noHelpCover();

}  // namespace ksn::supportmsg
