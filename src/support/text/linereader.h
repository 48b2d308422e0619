// An open text file read line by line, as the Windows text reader of the files' origin reads it:
// lines end at CR LF or a lone CR, and each line is decoded from code page 932 as a whole.
#pragma once

#include <QByteArray>
#include <QString>

namespace ksn {

class LineReader {
public:
    explicit LineReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }
    // The next line without its line end; *hadErrors is set when its bytes are not valid code page 932.
    QString readLine(bool* hadErrors = nullptr);
    // The next line's raw bytes.
    QByteArray readRawLine();

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

}  // namespace ksn
