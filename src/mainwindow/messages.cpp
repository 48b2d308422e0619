#include "mainwindow/messages.h"

namespace ksn::msg {

QString helpNotStarted(const QString& program) {
    return QStringLiteral("ヘルプを表示するプログラムを起動できませんでした。\r\nFile= ") + program;
}

QString drivesVariableInvalid(const QString& error) { return QStringLiteral("KSNED_DRIVES: ") + error; }

}  // namespace ksn::msg
