#include "mylib.h"

#include "filesystem.h"
#include "linereader.h"

#include <QFileInfo>

namespace ksn {

MyLibClass::MyLibClass(const FileSystem& fs, QString programPath) : fs_(fs), programPath_(std::move(programPath)) {}

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

std::int32_t MyLibClass::headerField(const QString& fileName, int offset) const {
    // A missing file, a folder and an unreadable file all fail to read: one look-up, not two.
    const ReadResult r = fs_.readFile(fileName, offset + 4);
    if (!r.ok || r.bytes.size() < offset + 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(r.bytes.constData() + offset);
    const std::uint32_t u = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                            (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

std::int32_t MyLibClass::GetBMPWidth(const QString& fileName) const { return headerField(fileName, 18); }
std::int32_t MyLibClass::GetBMPHeight(const QString& fileName) const { return headerField(fileName, 22); }

QString MyLibClass::GetIniFileName() const {
    const QFileInfo program(programPath_);
    return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

QString trimSpaces(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

}  // namespace ksn
