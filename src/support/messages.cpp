#include "support/messages.h"

namespace ksn::supportmsg {

namespace {

QString ioError(const QString& what, const QString& path, const QString& reason) {
    QString text = what + QStringLiteral("\r\nFile= ") + path;
    if (!reason.isEmpty()) text += QStringLiteral("\r\n") + reason;
    return text;
}

}  // namespace

QString cannotRead(const QString& path, const QString& reason) {
    return ioError(QStringLiteral("ファイルを読み込めません。"), path, reason);
}

QString cannotSave(const QString& path, const QString& reason) {
    return ioError(QStringLiteral("ファイルを保存できませんでした。元のファイルはそのままです。"), path, reason);
}

QString noSuchDrive() { return QStringLiteral("このドライブはありません。"); }
QString folderOfSameName() { return QStringLiteral("同じ名前のフォルダがあります。"); }
QString readOnlyFile() { return QStringLiteral("読み取り専用のファイルです。"); }
QString readOnlyFolder() { return QStringLiteral("書き込みできないフォルダです。"); }

QString notRegularFile() {
    return QStringLiteral("通常のファイルではありません（名前付きパイプやデバイスは読みません）。");
}

QString tooLarge() { return QStringLiteral("ファイルが大きすぎます（16 MB まで）。"); }

QString notOnAnyDrive(const QString& hostPath, const QString& drives) {
    return QStringLiteral("どのドライブにも割り当てられていない場所です。\r\nPath= ") + hostPath +
           QStringLiteral("\r\nDrives= ") + drives;
}

QString badDriveEntry(const QString& entry) {
    return QStringLiteral("ドライブの指定が正しくありません (例 C:=/srv/c)。\r\nDrive= ") + entry;
}

QString noHelp() { return QStringLiteral("ヘルプがありません。別途入手してください。\r\n"); }
QString noHelpCover() { return QStringLiteral("ヘルプ前紙もありません。再インストールしてください。\r\n"); }

}  // namespace ksn::supportmsg
