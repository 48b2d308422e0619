// The formation file format: splitting lines into path and comment, the four save modes, reading
// the lines of a file and writing them back.
#pragma once

#include "document/savemode.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace ksn {

class FileSystem;

// A sound or car line taken apart at its first ";". A line without ";" is all path part and has no
// comment; further ";" belong to the comment.
struct CarLine {
    explicit CarLine(const QString& line);
    QString pathPart;  // the text before the first ";", as written
    QString comment;   // the text after it, kept exactly
    // The path part trimmed of spaces (U+0020 only; tabs are kept): what the save modes convert.
    QString path() const;
};

enum class LineKind { Sound, Car };

// The form in which a sound or car line is listed and written in the given mode.
QString convertLine(const QString& line, LineKind kind, SaveMode mode, bool commentsOn, const FileSystem& fs,
                    const QString& defaultFolder);

// The lines of a formation file as the editor reads them: at most maxLines whole lines.
struct FormationText {
    QStringList lines;
    bool overLimit = false;     // the file holds further lines
    bool invalidBytes = false;  // some bytes are not code page 932: saving would replace them
};
FormationText readFormationText(QByteArrayView bytes, int maxLines);

// The bytes of a formation file written from list rows: each row, CR LF after each.
// *unencodable is set when some character has no code page 932 form.
QByteArray formationBytes(const QStringList& rows, bool* unencodable = nullptr);

}  // namespace ksn
