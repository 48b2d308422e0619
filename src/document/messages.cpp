#include "document/messages.h"

#include "support/product/version.h"

namespace ksn::msg {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
QString fileLine(const QString& path) { return QStringLiteral("File= ") + path; }
}  // namespace

QString notFoundTitle() { return QStringLiteral("Not found"); }
QString notFound(const QString& path) { return fileLine(path); }

QString overLimit(int line, const QString& lastLine) {
    return QStringLiteral("編成両数がMAXを越えました。残りは無視されます。") + kCrLf + QStringLiteral("line=") +
           QString::number(line) + kCrLf + lastLine;
}

QString invalidBytes(const QString& path) {
    return QStringLiteral("Shift-JIS として読めないバイトがあります。") + kCrLf +
           QStringLiteral("このまま保存すると、その部分は別の文字に置き換わります。") + kCrLf + fileLine(path);
}

QString linkNotRewritten(const QString& path) {
    return QStringLiteral("シンボリックリンクのため、このファイルは書き換えませんでした。") + kCrLf + fileLine(path);
}

QString notRewritten(const QString& path) {
    return QStringLiteral("Shift-JIS として読めないバイトがあるため、このファイルは書き換えませんでした。") + kCrLf +
           fileLine(path);
}

QString tooManyFiles(int limit) {
    return QStringLiteral("ﾃﾞｨﾚｸﾄﾘに") + QString::number(limit) + QStringLiteral("以上のファイルが存在します。") +
           QStringLiteral("以後のファイルは無視します");
}

QString heightMismatchLine(const QString& path, int carNumber) {
    return path + QStringLiteral(" Line=") + QString::number(carNumber) + kCrLf;
}

QString heightMismatch(const QString& report) {
    return QStringLiteral("異なる規格のファイルが混在しています。") + kCrLf +
           QStringLiteral("先頭車両と高さが異なるのは次の通りです。") + kCrLf + report;
}

QString tooManyCars() { return QStringLiteral("車両数が既にMAXを越えているので新たな車両は追加出来ません。"); }
QString newFormationTitle() { return QStringLiteral("新生した編成"); }

QString carCount(qsizetype cars) { return QString::number(cars) + QStringLiteral("両"); }
QString carPosition(int car, qsizetype cars) { return QString::number(car) + QStringLiteral(" / ") + carCount(cars); }
QString fileCaption(const QString& fileName) { return fileName + QStringLiteral(" - ") + kProductName; }

QString unsupportedDrop(const QString& path) {
    return QStringLiteral("対応していない拡張子のファイルがドラッグ＆ドロップされました。File=") + path;
}

QString formationFilter() { return QStringLiteral("KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|"); }
QString openFormationTitle() { return QStringLiteral("ﾌｧｲﾙを指定して読み込み"); }
QString saveFormationTitle() { return QStringLiteral("名前を付けてKSNの保管"); }
QString defaultFolderTitle() { return QStringLiteral("デフォルトフォルダの設定"); }
QString carFilter() { return QStringLiteral("BMP File (*.BMP)|*.BMP|All Files (*.*)|*.*|"); }
QString carFileTitle() { return QStringLiteral("車両画像ファイルの選択"); }
QString soundFilter() { return QStringLiteral("WAV File (*.WAV)|*.WAV|All Files (*.*)|*.*|"); }
QString soundFileTitle() { return QStringLiteral("サウンドファイルの設定"); }

QString pathChange() {
    return QStringLiteral("KSNファイル中のパス名をデフォルトのフォルダ名のパスに変更します。") + kCrLf +
           QStringLiteral("デフォルトフォルダ中の全てのKSNファイルを書き換えます。") + kCrLf + kCrLf +
           QStringLiteral("書き換えたくないKSNファイルは実行前に移動しておいて下さい。") + kCrLf + kCrLf +
           QStringLiteral("実行前に、デフォルトフォルダ、Save Mode、コメント削除の") + kCrLf +
           QStringLiteral("チェックボックスを指定しておいて下さい。") + kCrLf + kCrLf +
           QStringLiteral("準備が出来ていれば ｢はい｣ボタンを押して下さい。") + kCrLf;
}
QString pathChangeTitle() { return QStringLiteral("パス名連続変更"); }

QString titlePrompt() { return QStringLiteral("編成コメントを入力して下さい"); }
QString titleInputTitle() { return QStringLiteral("編成コメントの変更"); }

QString commentPrompt(int line, const QString& path) {
    return QStringLiteral("削除する場合はキャンセルを選択してください") + kCrLf + QStringLiteral("行 : ") +
           QString::number(line) + kCrLf + fileLine(path);
}
QString commentInputTitle() { return QStringLiteral("コメントの編集"); }
QString deleteComment() { return QStringLiteral("コメントを削除しますか"); }
QString soundCommentPrompt() { return QStringLiteral("必要があればサウンドのコメントを入力してください。"); }
QString soundCommentTitle() { return QStringLiteral("サウンドコメントの入力"); }
QString deleteSound() { return QStringLiteral("サウンドファイルの記述を削除しますか"); }

QString carNotFound(const QString& path) { return QStringLiteral("車両が見つかりません。") + kCrLf + fileLine(path); }

QString heightCaption(const QString& name, int height) {
    return name + QStringLiteral(" ( ") + QString::number(height) + QStringLiteral("dot )");
}

QString carToolTip(int car, const QString& baseName, const QString& comment) {
    return QString::number(car) + QStringLiteral(" : ") + baseName + QStringLiteral(" : ") + comment;
}

QString notSupported() { return QStringLiteral("Non Support"); }

QString folderMissing(const QString& text, const QString& folder) {
    return text + kCrLf + QStringLiteral("Folder= ") + folder;
}

QString formationMissing(const QString& text, const QString& file) {
    return text + kCrLf + QStringLiteral("KSN= ") + file;
}

QString badCar(const QString& text, const QString& file, int line, const QString& car) {
    return formationMissing(text, file) + kCrLf + QStringLiteral("Line= ") + QString::number(line) + kCrLf +
           QStringLiteral("CAR= ") + car;
}

QString loadError(int number, const QString& description, int lastDllError) {
    return QStringLiteral("Err.Number= ") + QString::number(number) + QStringLiteral("Description= ") + description +
           QStringLiteral("LastDllError= ") + QString::number(lastDllError);
}

}  // namespace ksn::msg
