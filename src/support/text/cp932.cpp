#include "support/text/cp932.h"

#include "support/messages.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>
#include <optional>

namespace ksn::cp932 {

namespace {
constexpr const char* kCodecName = "windows-31j";
}

bool available() {
    static const bool ok = QStringDecoder(kCodecName).isValid() && QStringEncoder(kCodecName).isValid();
    return ok;
}

QString unavailableMessage() { return supportmsg::codePageUnavailable(); }

namespace {

// One converter per thread, kept between lines: opening the system's converter costs far more
// than converting a line, and a folder-wide command converts tens of thousands of lines.
// Stateless, so that a double-byte character cut at the end of a line is reported too, and no
// line's bytes carry over into the next. The error count only grows, so a converter that has
// met an error is replaced before the next line: a clean converter then tells each line apart.
template <typename Converter>
Converter& cleanConverter() {
    thread_local std::optional<Converter> c;
    if (!c || c->hasError()) c.emplace(kCodecName, QStringConverter::Flag::Stateless);
    return *c;
}

}  // namespace

QString decode(QByteArrayView bytes, bool* hadErrors) {
    if (hadErrors) *hadErrors = false;
    if (bytes.isEmpty()) return {};
    QStringDecoder& dec = cleanConverter<QStringDecoder>();
    if (!dec.isValid()) {
        if (hadErrors) *hadErrors = true;
        return QString::fromLatin1(bytes);
    }
    QString out = dec.decode(bytes);
    if (hadErrors) *hadErrors = dec.hasError();
    return out;
}

QByteArray encode(const QString& text, bool* hadErrors) {
    if (hadErrors) *hadErrors = false;
    if (text.isEmpty()) return {};
    QStringEncoder& enc = cleanConverter<QStringEncoder>();
    if (!enc.isValid()) {
        if (hadErrors) *hadErrors = true;
        return text.toLatin1();
    }
    QByteArray out = enc.encode(text);
    if (hadErrors) *hadErrors = enc.hasError();
    return out;
}

QList<QByteArrayView> splitLines(QByteArrayView bytes, qsizetype maxLines, bool* more) {
    QList<QByteArrayView> lines;
    if (more) *more = false;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        if (maxLines >= 0 && lines.size() >= maxLines) {
            if (more) *more = true;
            break;
        }
        const char* p = static_cast<const char*>(memchr(bytes.data() + start, '\r', size_t(n - start)));
        if (!p) {
            lines << bytes.sliced(start);
            break;
        }
        const qsizetype cr = p - bytes.data();
        lines << bytes.sliced(start, cr - start);
        start = cr + 1;
        if (start < n && bytes[start] == '\n') ++start;
    }
    return lines;
}

}  // namespace ksn::cp932
