#include "document/itemreader.h"

#include "document/ksnerror.h"

namespace ksn {

QString ItemReader::readItem() {
    if (!lineOpen_) {
        if (lines_.atEnd()) throw InputPastEndError();
        line_ = lines_.readLine();
        pos_ = 0;
        lineOpen_ = true;
    }
    const qsizetype n = line_.size();
    while (pos_ < n && line_[pos_] == u' ') ++pos_;

    QString item;
    if (pos_ < n && line_[pos_] == u'"') {
        const qsizetype start = pos_ + 1;
        qsizetype close = line_.indexOf(u'"', start);
        if (close < 0) close = n;
        item = line_.mid(start, close - start);
        pos_ = close < n ? close + 1 : n;
        // The rest up to the separator is not part of any item.
        const qsizetype comma = line_.indexOf(u',', pos_);
        pos_ = comma < 0 ? n : comma;
    } else {
        const qsizetype comma = line_.indexOf(u',', pos_);
        const qsizetype end = comma < 0 ? n : comma;
        item = line_.mid(pos_, end - pos_);
        pos_ = end;
    }

    if (pos_ < n) {
        ++pos_;  // the comma: the line still holds the item after it
    } else {
        lineOpen_ = false;
        line_.clear();
    }
    return item;
}

}  // namespace ksn
