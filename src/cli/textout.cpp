#include "cli/textout.h"

#include <QByteArray>

#include <unistd.h>

namespace ksn {

QString withoutControls(const QString& text) {
    QString t = text;
    for (QChar& c : t) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F)) c = u'?';
    }
    return t;
}

void writeText(std::FILE* f, const QString& text) {
    const QByteArray b = text.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), f);
}

void writeMessage(std::FILE* f, const QString& text) { writeText(f, withoutControls(text)); }

void writeData(std::FILE* f, const QString& text) {
    writeText(f, ::isatty(::fileno(f)) ? withoutControls(text) : text);
}

}  // namespace ksn
