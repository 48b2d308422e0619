// MyLibClass: the shared utility object (one instance, owned by the application state).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace ksn {

class FileSystem;
class LineReader;

class MyLibClass {
public:
    // fs: the file system through which bitmap paths (Windows paths) are read.
    // programPath: the host path of the program file; its folder and base name give the ini file.
    MyLibClass(const FileSystem& fs, QString programPath);

    // Text before the first c; S unchanged when c does not occur.
    static QString F_STR(const QString& S, const QString& c);
    // Text after the first c; empty when c does not occur or is the last character.
    static QString B_STR(const QString& S, const QString& c);
    // The path part of a formation line: the text before the first ";", trimmed of spaces.
    static QString DelComment(const QString& S);
    // Reads whole lines of file, letting events run before each, until one equals text exactly
    // (true) or the file ends (false).
    static bool FileSkipLoad(const QString& text, LineReader& file, const std::function<void()>& doEvents);

    // The two bitmap header fields (offset 18 and 22, signed little-endian); 0 for a missing file,
    // one that cannot be read, or one too short to hold the field.
    std::int32_t GetBMPWidth(const QString& fileName) const;
    std::int32_t GetBMPHeight(const QString& fileName) const;

    // Host path of the ini file beside the program: its folder, its base name, ".ini".
    QString GetIniFileName() const;
    QString programPath() const { return programPath_; }

private:
    std::int32_t headerField(const QString& fileName, int offset) const;

    const FileSystem& fs_;
    QString programPath_;
};

// Trims U+0020 only: tabs and ideographic spaces belong to a path.
QString trimSpaces(const QString& s);

}  // namespace ksn
