// The save modes under every name they go by: the menu's, the status bar's and ksn's.
#pragma once

#include <QString>
#include <QStringView>
#include <span>

namespace ksn {

// How the paths of a formation are written.
enum class SaveMode { FileOnly, AsInFile, NonDrive, DefaultFolder };

struct SaveModeRow {
    SaveMode mode;
    const char* menuItem;     // the object name of its item in the status bar's popup
    const char16_t* caption;  // the item's caption, exactly as shown (a trailing blank included)
    const char* ksnName;      // the value of ksn's --mode
};

// Every save mode, in menu order.
std::span<const SaveModeRow> saveModes();
const SaveModeRow& saveModeRow(SaveMode mode);
// The mode ksn calls name, or nullptr.
const SaveModeRow* saveModeByKsnName(QStringView name);

// The menu caption of a save mode ("ファイル名のみ(&F)").
QString saveModeCaption(SaveMode mode);
// The status-bar text of a save mode: the caption up to its first "(".
QString saveModeName(SaveMode mode);

}  // namespace ksn
