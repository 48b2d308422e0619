#include "support/text/linereader.h"

#include "support/text/cp932.h"

#include <cstring>

namespace ksn {

QByteArray LineReader::readRawLine() {
    if (atEnd()) return {};
    const qsizetype n = bytes_.size();
    const char* p = static_cast<const char*>(memchr(bytes_.constData() + pos_, '\r', size_t(n - pos_)));
    const qsizetype end = p ? p - bytes_.constData() : n;
    QByteArray line = bytes_.sliced(pos_, end - pos_);
    pos_ = end;
    if (pos_ < n) {
        ++pos_;  // the CR
        if (pos_ < n && bytes_[pos_] == '\n') ++pos_;
    }
    return line;
}

QString LineReader::readLine(bool* hadErrors) { return cp932::decode(readRawLine(), hadErrors); }

}  // namespace ksn
