// Code page 932 (Shift-JIS as Windows extends it), the character set of formation and ini files.
//
// Text is converted a whole line at a time. Lines end at CR LF or at a lone CR; a lone LF is an
// ordinary character of the line, as the Windows text reader of the files' origin treats it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace ksn::cp932 {

// Decodes one line. *hadErrors (when given) is set when some bytes are not valid code page 932:
// such bytes are replaced (U+001A for a byte, U+FFFD for an unassigned pair, nothing for a
// character cut at the end), so the line would change when it is written back.
QString decode(QByteArrayView bytes, bool* hadErrors = nullptr);
// Encodes one line. *hadErrors is set when some character has no code page 932 form: it is written
// as Windows writes it, with its best fit ("é" as "e", "¥" as "\") or "?" (twice for a character
// outside the BMP, once for half of one); a character typed in its JIS form ("〜" U+301C, "−"
// U+2212) gets the code Windows reads as the counterpart ("～", "－").
QByteArray encode(const QString& text, bool* hadErrors = nullptr);

// Splits a file's bytes into lines: each ends at CR LF or a lone CR; a lone LF stays in its line.
// A file ending in a line end has no empty line after it; an empty file has no line.
// At most maxLines lines are returned (-1: all); *more is set when the bytes hold further lines.
QList<QByteArrayView> splitLines(QByteArrayView bytes, qsizetype maxLines = -1, bool* more = nullptr);

}  // namespace ksn::cp932
