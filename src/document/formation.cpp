#include "document/formation.h"

#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/text/cp932.h"

namespace ksn {

CarLine::CarLine(const QString& line)
    : pathPart(MyLibClass::F_STR(line, QStringLiteral(";"))), comment(MyLibClass::B_STR(line, QStringLiteral(";"))) {}

QString CarLine::path() const { return trimSpaces(pathPart); }

QString convertLine(const QString& line, LineKind kind, SaveMode mode, bool commentsOn, const FileSystem& fs,
                    const QString& defaultFolder) {
    const CarLine parts(line);
    QString path = parts.path();
    // A line without a path ("", ";comment", a line of spaces) has nothing to convert, and no comment
    // is put back on it. A car line is kept exactly: listed and written empty, it would end the
    // formation when the file is read again and every car after it would be lost at the next save.
    // The sound line has no such danger: it is listed empty and written " ".
    if (path.isEmpty()) return kind == LineKind::Sound ? QString() : line;
    switch (mode) {
        case SaveMode::FileOnly:
            path = fs.GetFileName(path);
            break;
        case SaveMode::NonDrive: {
            const QString abs = fs.GetAbsolutePathName(path);
            path = abs.mid(fs.GetDriveName(abs).size());
            break;
        }
        case SaveMode::DefaultFolder:
            // With no default folder the file name stands alone, a bare name that the editor's views
            // resolve against whatever default folder is set later.
            path = fs.BuildPath(defaultFolder, fs.GetFileName(path));
            break;
        case SaveMode::AsInFile:
            break;
    }
    // A car path that names a folder ("D:\Trains\") has no file name to keep: written as nothing, the
    // line would end the formation, or lose its path, at the next load. It is kept as written.
    if (kind == LineKind::Car && path.isEmpty()) return line;
    if (commentsOn && !parts.comment.isEmpty()) path += u';' + parts.comment;
    return path;
}

FormationText readFormationText(QByteArrayView bytes, int maxLines) {
    FormationText t;
    const auto lines = cp932::splitLines(bytes, maxLines, &t.overLimit);
    t.lines.reserve(lines.size());
    for (const QByteArrayView l : lines) {
        bool bad = false;
        QString text = cp932::decode(l, &bad);
        // What matters is whether saving loses anything. Bytes that do not decode are lost. The
        // characters with two codes (NEC-selected IBM extensions, NEC row 13) are not: they are
        // written with Windows' preferred code and read back as the same character.
        if (!bad && !t.invalidBytes && cp932::encode(text) != l) {
            bool unencodable = false;
            const QByteArray written = cp932::encode(text, &unencodable);
            bad = unencodable || cp932::decode(written) != text;
        }
        t.invalidBytes = t.invalidBytes || bad;
        t.lines << std::move(text);
    }
    return t;
}

QByteArray formationBytes(const QStringList& rows, bool* unencodable) {
    QByteArray out;
    bool anyBad = false;
    for (const QString& r : rows) {
        bool bad = false;
        out += cp932::encode(r, &bad);
        out += "\r\n";
        anyBad = anyBad || bad;
    }
    if (unencodable) *unencodable = anyBad;
    return out;
}

}  // namespace ksn
