// The settings file: the one setting kept between runs, the default folder of formation files.
//
// The file is the program's name with ".ini", beside the program. An installed program's folder
// cannot be written, so the same file name is then kept in the user's configuration folder
// ("<config>/ksned32/"); the file beside the program, when there is one, still comes first.
#pragma once

#include "support/mylib.h"

#include <QString>
#include <QStringList>

namespace ksn {

// The settings files in the order they are read: beside the program, then in the user's
// configuration folder (left out when this host has none).
QStringList iniCandidates(const MyLibClass& lib);

// The stored default folder (at most 254 characters); empty when no file holds one.
QString ReadIni(const MyLibClass& lib);

// Stores the default folder. False when it could not be stored; the user is not told.
bool WriteIni(const MyLibClass& lib, const QString& defaultFolder);

}  // namespace ksn
