// Reads a formation file item by item, the way the screensaver reads it, rather than line by line
// as the editor does.
//
// Lines end at CR LF or a lone CR and are decoded from code page 932 as a whole; items are then cut
// from the decoded text, never from the bytes, like every other split of a formation line.
//
// Rules:
// - Leading spaces (U+0020) of an item are skipped; tabs belong to the item.
// - An item ends at a comma or at the end of its line. Nothing else is trimmed: spaces before a
//   comma or at the end of a line stay in the item.
// - An item that starts with a double quote ends at the next double quote of the same line and may
//   hold commas; the quotes are not part of it. Whatever follows the closing quote up to the next
//   comma or the end of the line is dropped. A quote left open ends at the end of its line, so one
//   stray quote cannot swallow the rest of the file.
// - A line holds one item more than it has commas outside quotes: an empty line (or a line of
//   spaces) is one empty item, and "a," is "a" followed by an empty item. Counting items thus
//   counts physical lines when every line holds one item.
#pragma once

#include "support/text/linereader.h"

#include <QByteArray>
#include <QString>

namespace ksn {

class ItemReader {
public:
    explicit ItemReader(QByteArray bytes) : lines_(std::move(bytes)) {}

    // True when no item is left: the last line has been read up to its end.
    bool atEnd() const { return !lineOpen_ && lines_.atEnd(); }
    // The next item. Throws InputPastEndError at the end of the file.
    QString readItem();

private:
    LineReader lines_;
    QString line_;
    qsizetype pos_ = 0;
    bool lineOpen_ = false;  // line_ still has an item to give (possibly an empty one)
};

}  // namespace ksn
