#include "support/settings/profile.h"

#include "support/paths/regularfile.h"
#include "support/text/cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace ksn::profile {

namespace {

// The bytes the parser looks for (line ends, blanks, "=", ";", quotes) are all below 0x40, so none of
// them can be the second byte of a double-byte character: the lines are safely split on bytes. "["
// and "]" can be second bytes (0x815B, 0x815D), so section lines are parsed on decoded text.

const QByteArray kNewLine = QByteArrayLiteral("\r\n");

struct Line {
    qsizetype begin = 0;  // first byte of the line
    qsizetype end = 0;    // first byte of its line end (== next when the file ends without one)
    qsizetype next = 0;   // first byte of the following line
};

enum class Kind { Blank, Comment, Section, Key };

struct Parsed {
    Kind kind = Kind::Blank;
    QString name;              // section or key name, decoded and trimmed
    qsizetype keyEnd = 0;      // Key: end of the trimmed key name's bytes
    qsizetype valueBegin = 0;  // Key: the value's bytes, trimmed; empty when the line has no "="
    qsizetype valueEnd = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Spaces and tabs only: any other character, an ideographic space too, belongs to the name.
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
    return s.mid(b, e - b);
}

QList<Line> splitLines(QByteArrayView bytes) {
    QList<Line> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype i = start;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n') ++i;
        qsizetype next = i;
        if (next < n) next += (bytes[next] == '\r' && next + 1 < n && bytes[next + 1] == '\n') ? 2 : 1;
        lines << Line{start, i, next};
        start = next;
    }
    return lines;
}

Parsed parse(QByteArrayView bytes, const Line& line) {
    Parsed p;
    qsizetype b = line.begin, e = line.end;
    while (b < e && isBlank(bytes[b])) ++b;
    while (e > b && isBlank(bytes[e - 1])) --e;
    if (b == e) return p;
    if (bytes[b] == ';') {
        p.kind = Kind::Comment;
        return p;
    }
    if (bytes[b] == '[') {
        // The name runs to the last "]" of the line; a line without one is no section line.
        const QString text = cp932::decode(bytes.sliced(b, e - b));
        const qsizetype close = text.lastIndexOf(u']');
        if (close > 0) {
            p.kind = Kind::Section;
            p.name = trimBlanks(text.mid(1, close - 1));
            return p;
        }
    }
    p.kind = Kind::Key;
    qsizetype eq = b;
    while (eq < e && bytes[eq] != '=') ++eq;
    qsizetype keyEnd = eq;
    while (keyEnd > b && isBlank(bytes[keyEnd - 1])) --keyEnd;
    p.name = cp932::decode(bytes.sliced(b, keyEnd - b));
    p.keyEnd = keyEnd;
    p.valueBegin = p.valueEnd = e;
    if (eq < e) {
        qsizetype vb = eq + 1;
        while (vb < e && isBlank(bytes[vb])) ++vb;
        p.valueBegin = vb;
    }
    return p;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Where key stands in the file: the line of the first matching section, the first matching key line
// within it, and the last key line of that section (where a new key goes).
struct Location {
    std::optional<qsizetype> section;
    std::optional<qsizetype> key;
    qsizetype lastKeyLine = -1;
    Parsed keyParsed;
};

Location locate(QByteArrayView file, const QList<Line>& lines, const QString& section, const QString& key) {
    Location loc;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Parsed p = parse(file, lines[i]);
        if (!loc.section) {
            if (p.kind == Kind::Section && sameName(p.name, section)) {
                loc.section = i;
                loc.lastKeyLine = i;
            }
            continue;
        }
        if (p.kind == Kind::Section) break;  // the section ends here; later duplicates are not looked at
        if (p.kind != Kind::Key) continue;
        loc.lastKeyLine = i;
        if (!loc.key && sameName(p.name, key)) {
            loc.key = i;
            loc.keyParsed = p;
        }
    }
    return loc;
}

QString cut(const QString& text, int size) { return text.left(qMax(0, size - 1)); }

QByteArray keyLine(const QString& key, const QString& value) {
    return cp932::encode(key) + '=' + cp932::encode(value) + kNewLine;
}

}  // namespace

QString readValue(QByteArrayView file, const QString& section, const QString& key, const QString& defaultValue,
                  int size) {
    const QList<Line> lines = splitLines(file);
    const Location loc = locate(file, lines, section, key);
    if (!loc.key) {
        // The Windows function drops the default's trailing blanks as well.
        qsizetype e = defaultValue.size();
        while (e > 0 && defaultValue[e - 1] == u' ') --e;
        return cut(defaultValue.left(e), size);
    }
    QByteArrayView value = file.sliced(loc.keyParsed.valueBegin, loc.keyParsed.valueEnd - loc.keyParsed.valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return cut(cp932::decode(value), size);
}

QByteArray withValue(QByteArrayView file, const QString& section, const QString& key, const QString& value) {
    const QList<Line> lines = splitLines(file);
    const Location loc = locate(file, lines, section, key);
    QByteArray out;
    if (loc.key) {
        // The bytes up to the end of the key name stay: indentation and the key's own spelling.
        const Line& line = lines[*loc.key];
        out.append(file.first(loc.keyParsed.keyEnd));
        out.append('=');
        out.append(cp932::encode(value));
        out.append(file.sliced(line.end));
        return out;
    }
    if (loc.section) {
        const Line& after = lines[loc.lastKeyLine];
        out.append(file.first(after.next));
        if (after.next == after.end) out.append(kNewLine);  // the last line of a file without a final line end
        out.append(keyLine(key, value));
        out.append(file.sliced(after.next));
        return out;
    }
    out.append(file);
    if (!out.isEmpty() && !out.endsWith('\r') && !out.endsWith('\n')) out.append(kNewLine);
    out.append('[' + cp932::encode(section) + ']' + kNewLine);
    out.append(keyLine(key, value));
    return out;
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int size,
                                const QString& hostFile) {
    QFile f;
    // A settings file is a few lines: one far larger is read as none, not held in memory.
    const bool readable = openRegularFile(f, hostFile, QIODevice::ReadOnly) && f.size() <= kMaxWholeRead;
    return readValue(readable ? f.readAll() : QByteArray(), section, key, defaultValue, size);
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& hostFile) {
    const QFileInfo info(hostFile);
    QByteArray old;
    if (info.exists()) {
        // Windows refuses to change a read-only file, and so do we: checked here rather than left to
        // the save file, which replaces the target by renaming it. The owner's write bit stands for
        // the read-only attribute, so that this holds for root as well.
        if (info.isDir() || !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)) return false;
        QFile f;
        // Writing now would lose the other lines; nor is a named pipe or a device a settings file.
        if (!openRegularFile(f, hostFile, QIODevice::ReadOnly) || f.size() > kMaxWholeRead) return false;
        old = f.readAll();
        if (f.error() != QFileDevice::NoError) return false;
    }
    const QByteArray bytes = withValue(old, section, key, value);
    // The settings are written on every keystroke in the folder box; an unchanged file is left alone.
    if (info.exists() && bytes == old) return true;
    QSaveFile f(hostFile);
    // A writable file in a folder we may not create files in (the save file's temporary copy) is
    // still written, as Windows writes it; only then can a failure leave the file half written.
    f.setDirectWriteFallback(true);
    // Unbuffered: a short write (a full disk) must show here, not slip through commit().
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

}  // namespace ksn::profile
