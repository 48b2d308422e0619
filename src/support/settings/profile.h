// Profile files ("ini" files): our own reader and writer with the behaviour of the Windows
// profile functions, so that a settings file moves between Windows and other hosts unchanged.
//
// File layout: "[section]" lines, each followed by "key=value" lines; lines before the first section
// belong to none. Text is code page 932. Section and key names are matched without regard to case,
// and the first matching section and, within it, the first matching key are the ones used.
//
// Reading trims blanks (spaces and tabs) around names and values, and removes one pair of matching
// double or single quotes that enclose the whole value. Lines end at CR LF, a lone LF or a lone CR.
//
// Writing changes as little as it can: a value is replaced in place (the key keeps its spelling, every
// other byte of the file stays as it was); a missing key is added after the last key line of its
// section; a missing section is added at the end of the file. New lines end with CR LF.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// <windows.h> defines these names as macros choosing the A or W function.
#ifdef GetPrivateProfileString
#undef GetPrivateProfileString
#endif
#ifdef WritePrivateProfileString
#undef WritePrivateProfileString
#endif

namespace ksn::profile {

// The value of key in section, or defaultValue (without its trailing spaces) when the section or the
// key is missing. Either is cut to size - 1 characters: size is the length of the caller's buffer,
// one place of which the Windows function keeps for the terminating NUL. size < 1 gives "".
QString readValue(QByteArrayView file, const QString& section, const QString& key, const QString& defaultValue,
                  int size);

// The file's bytes after setting key in section to value. The value is written as given, without
// quotes: a value that holds a line break would start new lines, as it would under Windows.
QByteArray withValue(QByteArrayView file, const QString& section, const QString& key, const QString& value);

// readValue on the host file hostFile; a file that is missing or cannot be read gives the default.
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int size,
                                const QString& hostFile);

// Sets key in section of the host file hostFile, creating the file when it is missing. False when the
// file is read-only, cannot be read, or cannot be written; the old file then stays as it was.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& hostFile);

}  // namespace ksn::profile
