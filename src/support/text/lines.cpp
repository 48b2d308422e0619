// MyLibClass's line routines: splitting a formation line at its separator, and reading or copying
// whole lines of a file.
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/text/linereader.h"
#include "support/ui/modal.h"

#include <QIODevice>

#include <stdexcept>

namespace ksn {

QString MyLibClass::F_STR(const QString& S, const QString& c) {
    const qsizetype p = S.indexOf(c);
    return p < 0 ? S : S.left(p);
}

QString MyLibClass::B_STR(const QString& S, const QString& c) {
    const qsizetype p = S.indexOf(c);
    // One character is stepped over: the callers pass one-character separators.
    if (p < 0 || p == S.size() - 1) return {};
    return S.mid(p + 1);
}

QString MyLibClass::DelComment(const QString& S) { return trimSpaces(F_STR(S, QStringLiteral(";"))); }

bool MyLibClass::FileSkipLoad(const QString& text, LineReader& file, const std::function<void()>& doEvents) {
    while (!file.atEnd()) {
        if (doEvents) doEvents();
        if (file.readLine() == text) return true;
    }
    return false;
}

bool MyLibClass::InsertFile(const QString& SrcFileName, QIODevice& DestFileHandle, Modal& modal) const {
    if (!fs_.FileExists(SrcFileName)) return false;
    const ReadResult r = fs_.readFile(SrcFileName);
    if (!r.ok) throw std::runtime_error(r.error.toStdString());
    // Lines are copied byte for byte: whatever the source's code page, the output gets the same bytes.
    LineReader reader(r.bytes);
    while (!reader.atEnd()) {
        modal.processEvents();
        const QByteArray line = reader.readRawLine() + "\r\n";
        if (DestFileHandle.write(line) != line.size())
            throw std::runtime_error(DestFileHandle.errorString().toStdString());
    }
    return true;
}

QString trimSpaces(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

}  // namespace ksn
