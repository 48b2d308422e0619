#include "document/savemode.h"

#include "support/mylib.h"

namespace ksn {
namespace {

constexpr SaveModeRow kRows[] = {
    {SaveMode::FileOnly, "mnuPopupSaveModeFileOnly", u"ファイル名のみ(&F)", "file-name"},
    {SaveMode::AsInFile, "mnuPopupSaveModeKSN", u"編成ファイルのまま(&T) ", "as-in-file"},
    {SaveMode::NonDrive, "mnuPopupSaveModeNonDrive", u"ドライブ名以降(&A)", "no-drive"},
    {SaveMode::DefaultFolder, "mnuPopupSaveModeDefault", u"デフォルトフォルダ(&D)", "default-folder"},
};

}  // namespace

std::span<const SaveModeRow> saveModes() { return kRows; }

const SaveModeRow& saveModeRow(SaveMode mode) {
    for (const SaveModeRow& row : kRows)
        if (row.mode == mode) return row;
    return kRows[0];  // every mode has its row
}

const SaveModeRow* saveModeByKsnName(QStringView name) {
    for (const SaveModeRow& row : kRows)
        if (name == QLatin1StringView(row.ksnName)) return &row;
    return nullptr;
}

QString saveModeCaption(SaveMode mode) { return QString::fromUtf16(saveModeRow(mode).caption); }

QString saveModeName(SaveMode mode) { return MyLibClass::F_STR(saveModeCaption(mode), QStringLiteral("(")); }

}  // namespace ksn
