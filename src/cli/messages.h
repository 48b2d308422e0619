// The texts ksn writes to stderr, each made by one function.
#pragma once

#include <QString>

namespace ksn::climsg {

// A line of ksn's own on stderr: "ksn: " + text + LF.
QString errorLine(const QString& text);

// --- parade ---
// The screensaver's reader stopped on file with an error of the given description and number.
QString readerStopped(const QString& file, const QString& description, int number);

// --- render ---
QString noCarFile(const QString& file);
QString noUsableCarSize(const QString& file);
QString stripTooLarge(int width, int height);
QString cannotWrite(const QString& path, const QString& reason);

// --- thumbnail ---
QString noReadableCar(const QString& file);
QString thumbnailUsage();
QString sizeOutOfRange(const QString& given, int largest);
QString sizeBelongsToThumbnail();

// --- messages of the rules, as StreamModal prints them ---
// The line before a message: its title (the program's title when it has none) in brackets.
QString messageHeading(const QString& title);

}  // namespace ksn::climsg
