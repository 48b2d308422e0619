// MyLibClass's view of the environment: variables, the temporary folder, waiting on the tick count,
// and whether a library offers a function.
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/paths/winpath.h"
#include "support/system/osservices.h"
#include "support/ui/modal.h"

#include <QDir>
#include <QLibrary>

namespace ksn {

QString MyLibClass::GET_ENV(const QString& lpName) { return qEnvironmentVariable(lpName.toLocal8Bit().constData()); }

QString MyLibClass::GetTempDir() const {
    QStringList names{QStringLiteral("TMP"), QStringLiteral("TEMP")};
#ifndef Q_OS_WIN
    names << QStringLiteral("TMPDIR");
#endif
    for (const QString& name : names) {
        const QString value = GET_ENV(name);
        if (value.isEmpty()) continue;
#ifndef Q_OS_WIN
        // A host folder is told by its Windows form, as every path the program hands out is.
        if (value.startsWith(u'/'))
            if (const auto w = fs_.toWindows(QDir::cleanPath(value))) return *w;
#endif
        return value;
    }
    return {};
}

QString MyLibClass::GetTempDrive() const { return GetTempDir().left(2); }

void MyLibClass::Wait1ms(qint16 n, Modal& modal, const bool& stopRequested) {
    // Counting the elapsed ticks rather than comparing with start + n keeps the wait right when the
    // 32-bit count wraps.
    const quint32 start = Win32ApiClass::GetTickCount();
    const qint64 target = n;
    modal.processEvents();
    while (!stopRequested) {
        if (qint64(quint32(Win32ApiClass::GetTickCount() - start)) > target) break;
        modal.processEvents();
    }
}

bool MyLibClass::ExistAPI(const QString& APIName, const QString& DllFileName) const {
    QString file = DllFileName;
    if (!winpath::driveName(file).isEmpty()) file = fs_.toHost(file).value_or(QString());
    if (file.isEmpty()) return false;
    QLibrary library(file);
    if (!library.load()) return false;
    const bool found = library.resolve(APIName.toLatin1().constData()) != nullptr;
    library.unload();
    return found;
}

}  // namespace ksn
