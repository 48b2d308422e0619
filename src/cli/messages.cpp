#include "cli/messages.h"

#include "support/product/version.h"

namespace ksn::climsg {

QString errorLine(const QString& text) { return QStringLiteral("ksn: ") + text + u'\n'; }

QString usage(const QString& message) {
    return QStringLiteral("ksn: ") + message + QStringLiteral("\nTry 'ksn --help'.\n");
}
QString oneLineEnds(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
QString version(const QString& number) { return QStringLiteral("ksn ") + number + u'\n'; }
QString oneFolderAtMost() { return QStringLiteral("one folder at most"); }
QString noFolder() { return QStringLiteral("no folder given and no default folder set"); }
QString noDefaultFolder(const QString& folder) {
    return QStringLiteral("the default folder does not exist: ") + folder;
}
QString noSuchFolder(const QString& folder) { return QStringLiteral("no such folder: ") + folder; }
QString noSuchFile(const QString& file) { return QStringLiteral("no such file: ") + file; }
QString notAFile(const QString& path) { return QStringLiteral("not a regular file: ") + path; }
QString unknownMode(const QString& mode) { return QStringLiteral("unknown save mode: ") + mode; }
QString commentsOnOrOff() { return QStringLiteral("--comments takes on or off"); }
QString badDrive() { return QStringLiteral("bad --drive"); }
QString drivesVariable(const QString& error) { return QStringLiteral("KSNED_DRIVES: ") + error; }
QString noCommand() { return QStringLiteral("no command given"); }
QString unknownCommand(const QString& command) { return QStringLiteral("unknown command: ") + command; }
QString optionsBelongTo(const QStringList& options, const QString& command) {
    return QStringLiteral("--") + options.join(QStringLiteral(" and --")) +
           (options.size() == 1 ? QStringLiteral(" belongs to ") : QStringLiteral(" belong to ")) + command;
}
QString commandTakes(const QString& command, const QString& what) { return command + QStringLiteral(" takes ") + what; }

QString heightMismatch(const QString& file, int carNumber, const QString& path, qint32 height, qint32 firstHeight) {
    return QStringLiteral("%1:%2: %3: height %4, first car %5\n")
        .arg(file)
        .arg(carNumber)
        .arg(path)
        .arg(height)
        .arg(firstHeight);
}
QString progress(int done, int total, const QString& name) {
    return QStringLiteral("\r\033[K[%1/%2] %3").arg(done).arg(total).arg(name);
}
QString wouldChange(qsizetype changed, int found) {
    return QStringLiteral("%1 of %2 files would change\n").arg(changed).arg(found);
}
QString rewritten(qsizetype written, int found, qsizetype changed, qsizetype failed, bool stopped) {
    QString line = QStringLiteral("%1 of %2 files rewritten (%3 changed").arg(written).arg(found).arg(changed);
    if (failed > 0) line += QStringLiteral(", %1 failed").arg(failed);
    if (stopped) line += QStringLiteral(", stopped");
    return line + QStringLiteral(")\n");
}

QString readerStopped(const QString& file, const QString& description, int number) {
    return QStringLiteral("%1: %2 (Err.Number= %3)").arg(file, description).arg(number);
}

QString messagesLeftOut(int shown) { return QStringLiteral("more messages left out (%1 shown)").arg(shown); }

QString noCarFile(const QString& file) { return QStringLiteral("no car file of %1 exists").arg(file); }

QString noUsableCarSize(const QString& file) {
    return QStringLiteral("no car of %1 has a bitmap header with a usable size").arg(file);
}

QString stripTooLarge(int width, int height) {
    return QStringLiteral("the strip of %1 x %2 pixels is too large to draw").arg(width).arg(height);
}

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write %1: %2").arg(path, reason);
}

QString noReadableCar(const QString& file) {
    return QStringLiteral("no car of %1 can be read: nothing to draw").arg(file);
}

QString thumbnailUsage() { return QStringLiteral("thumbnail takes one FILE and one OUT.png"); }

QString sizeOutOfRange(const QString& given, int largest) {
    return QStringLiteral("--size takes a number from 1 to %1, not %2").arg(largest).arg(given);
}

QString cacheUsage() { return QStringLiteral("thumbnail --cache takes one FILE or DIR or more"); }

QString cacheOrSize() { return QStringLiteral("--cache makes the cache's own sizes: no --size with it"); }

QString noCacheFolder() {
    return QStringLiteral("no thumbnail cache: neither XDG_CACHE_HOME nor HOME is an absolute folder");
}

QString cannotMakeFolder() { return QStringLiteral("the folder cannot be made"); }

QString messageHeading(const QString& title) {
    return QStringLiteral("[") + (title.isEmpty() ? kAppTitle : title) + QStringLiteral("]\n");
}

}  // namespace ksn::climsg
