// The texts ksn writes to stderr, each made by one function.
#pragma once

#include <QString>
#include <QStringList>

namespace ksn::climsg {

// A line of ksn's own on stderr: "ksn: " + text + LF.
QString errorLine(const QString& text);

// --- usage and arguments ---
// A usage error: "ksn: " + message, then the hint to --help.
QString usage(const QString& message);
// A message whose lines end in CR LF, with LF line ends for the terminal.
QString oneLineEnds(QString text);
QString version(const QString& number);
QString oneFolderAtMost();
QString noFolder();
QString noDefaultFolder(const QString& folder);
QString noSuchFolder(const QString& folder);
QString noSuchFile(const QString& file);
QString notAFile(const QString& path);  // a pipe, a folder or a device
QString unknownMode(const QString& mode);
QString commentsOnOrOff();
QString badDrive();
QString drivesVariable(const QString& error);
QString noCommand();
QString unknownCommand(const QString& command);
// Options of command given to another: "--size belongs to thumbnail", "--a and --b belong to c".
QString optionsBelongTo(const QStringList& options, const QString& command);
QString commandTakes(const QString& command, const QString& what);

// --- check and rewrite ---
QString heightMismatch(const QString& file, int carNumber, const QString& path, qint32 height, qint32 firstHeight);
// The progress line on a terminal, drawn over the last one.
QString progress(int done, int total, const QString& name);
QString wouldChange(qsizetype changed, int found);
QString rewritten(qsizetype written, int found, qsizetype changed, qsizetype failed, bool stopped);

// --- parade ---
// The screensaver's reader stopped on file with an error of the given description and number.
QString readerStopped(const QString& file, const QString& description, int number);

// Said once when more messages came than StreamModal shows.
QString messagesLeftOut(int shown);
// --- render ---
QString noCarFile(const QString& file);
QString noUsableCarSize(const QString& file);
QString stripTooLarge(int width, int height);
QString cannotWrite(const QString& path, const QString& reason);

// --- thumbnail ---
QString noReadableCar(const QString& file);
QString thumbnailUsage();
QString sizeOutOfRange(const QString& given, int largest);
QString cacheUsage();
QString cacheOrSize();
QString noCacheFolder();
QString cannotMakeFolder();

// --- messages of the rules, as StreamModal prints them ---
// The line before a message: its title (the program's title when it has none) in brackets.
QString messageHeading(const QString& title);

}  // namespace ksn::climsg
