// MyLibClass: the shared utility object (one instance, owned by the application state).
//
// Only the declaration lives here. Each member is defined with the topic it serves: the line
// routines in text/lines.cpp, numbers and times in text/formatting.cpp, the bitmap header in
// paths/bitmapheader.cpp, the settings file's name in settings/settingsfile.cpp, the environment
// in system/environment.cpp and the help launch in system/helplaunch.cpp.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>

class QIODevice;

namespace ksn {

class FileSystem;
class LineReader;
class Modal;
class Win32ApiClass;

// A number left its range: a 32-bit counter in inc or dec, the 16-bit minute count in FormatTime.
struct OverflowError : std::overflow_error {
    using std::overflow_error::overflow_error;
};

// The help viewer was found but could not be started.
struct ProgramStartError : std::runtime_error {
    explicit ProgramStartError(const QString& path) : std::runtime_error(path.toStdString()), program(path) {}
    QString program;
};

class MyLibClass {
public:
    // fs: the file system through which bitmap paths (Windows paths) are read.
    // programPath: the host path of the program file; its folder and base name give the ini file.
    MyLibClass(const FileSystem& fs, QString programPath) : fs_(fs), programPath_(std::move(programPath)) {}

    // Text before the first c; S unchanged when c does not occur.
    static QString F_STR(const QString& S, const QString& c);
    // Text after the first c; empty when c does not occur or is the last character.
    static QString B_STR(const QString& S, const QString& c);
    // The path part of a formation line: the text before the first ";", trimmed of spaces.
    static QString DelComment(const QString& S);
    // Reads whole lines of file, letting events run before each, until one equals text exactly
    // (true) or the file ends (false).
    static bool FileSkipLoad(const QString& text, LineReader& file, const std::function<void()>& doEvents);

    // The two bitmap header fields as readBitmapSize (paths/bitmapheader.h) reads them; 0 for a
    // missing file, one that cannot be read, or one too short to hold the field.
    std::int32_t GetBMPWidth(const QString& fileName) const;
    std::int32_t GetBMPHeight(const QString& fileName) const;

    // Host path of the ini file beside the program: its folder, its base name, ".ini".
    QString GetIniFileName() const;
    QString programPath() const { return programPath_; }

    // --- counting, fields, numbers ---
    static void inc(qint32& Value);
    static void dec(qint32& Value);
    // Splits comma-separated text into Param, whose every slot is emptied first; returns the index
    // of the last slot filled. Fields beyond the last slot are dropped; fields are not trimmed.
    // Throws std::out_of_range when Param has no slot.
    static qint32 SetParam(const QString& Strings, QStringList& Param);
    // The last nKeta upper-case hexadecimal digits of Value (two's complement when negative),
    // zero-padded to nKeta.
    static QString FHex(qint32 Value, int nKeta);
    // SrcString with spaces in front up to Num characters; never cut.
    static QString RightAlignmentStrings(const QString& SrcString, int Num);
    // Breaks Str into lines about sixty blanks wide: a CR LF goes in after the character whose
    // width takes the line past 60 widths of " ". width: the display width of one character (a
    // surrogate pair is one character). A CR or LF of Str is kept and starts the count again.
    static QString FormatText(const QString& Str, const std::function<double(const QString&)>& width);
    // Milliseconds as hh:mm:ss.mmm (more hour digits when needed). Throws OverflowError from
    // 32768 minutes on.
    static QString FormatTime(qint32 in_n);
    // Seconds (rounded halves to even) as days, hours, minutes and seconds in Japanese, each part
    // only when not 0: 90061 gives 1日1時間1分1秒, 0 the empty text.
    static QString GetFormatTimeString(double in_n);
    // Whole seconds (at most 32767) as 時間, 分 and 秒, then the fraction's milliseconds with ミリ秒
    // when the fraction is more than a hundredth.
    static QString GetFormatTimeString_ms(float in_n);
    // A number from LowerBound to UpperBound inclusive, from a generator seeded anew each call.
    static qint32 GetRandom(double LowerBound, double UpperBound);
    // "Ver " + major + "." + minor of the program: "Ver 2.1" for version 2.01.
    static QString GetVersionString();
    // The 32-bit signed integer of four bytes, b1 the lowest.
    static qint32 GetStringToLong(int b1, int b2, int b3, int b4);

    // --- environment ---
    // The value of an environment variable; empty when unset.
    static QString GET_ENV(const QString& lpName);
    // The folder for temporary files from the environment: TMP, else TEMP (elsewhere than on
    // Windows also TMPDIR, the host's own name for it), in Windows form when it lies under a drive.
    QString GetTempDir() const;
    // The first two characters of GetTempDir(): "C:".
    QString GetTempDrive() const;
    // Waits until the tick count is more than n milliseconds past the start, letting events run,
    // or until stopRequested is set.
    static void Wait1ms(qint16 n, Modal& modal, const bool& stopRequested);

    // --- system ---
    // True when the library (a name such as "libm.so.6", or a path) loads and exports APIName.
    bool ExistAPI(const QString& APIName, const QString& DllFileName) const;
    // Appends the lines of SrcFileName (a Windows path), each with CR LF, to the open output
    // DestFileHandle, letting events run before each line. False when the file does not exist.
    bool InsertFile(const QString& SrcFileName, QIODevice& DestFileHandle, Modal& modal) const;
    // Opens the help's start page, help/index.htm beside the program (for an installed program also
    // in <prefix>/share/ksned32/help), in the program registered for it; tells the user when the
    // pages are missing and opens the cover page help/index0.htm instead. Throws ProgramStartError
    // when the registered program is there but cannot be started.
    void HelpShow(Modal& modal, const Win32ApiClass& api) const;
    // The folders searched for the help pages, in order.
    QStringList helpFolders() const;

private:
    const FileSystem& fs_;
    QString programPath_;
};

// Trims U+0020 only: tabs and ideographic spaces belong to a path.
QString trimSpaces(const QString& s);

}  // namespace ksn
