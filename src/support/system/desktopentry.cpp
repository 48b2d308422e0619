#include "support/system/desktopentry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

namespace ksn::xdg {

namespace {

QStringList pathList(const QByteArray& var, const QStringList& fallback) {
    const QString value = qEnvironmentVariable(var.constData());
    QStringList out;
    for (const QString& p : value.split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(p)) out << p;
    return out.isEmpty() ? fallback : out;
}

QString homeDir(const QByteArray& var, const QString& underHome) {
    const QString value = qEnvironmentVariable(var.constData());
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + u'/' + underHome;
}

// The key=value lines of one group of a desktop-entry style file. Localised keys ("Name[ja]") are
// kept under their full name; the first of two equal keys wins, as the format wants.
QHash<QString, QString> readGroup(const QString& path, const QString& group) {
    QHash<QString, QString> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return out;
    bool inGroup = false;
    const QString text = QString::fromUtf8(file.readAll());
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            inGroup = line == u'[' + group + u']';
            continue;
        }
        if (!inGroup) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        if (!out.contains(key)) out.insert(key, line.mid(eq + 1).trimmed());
    }
    return out;
}

QStringList listValue(const QString& value) { return value.split(u';', Qt::SkipEmptyParts); }

QStringList applicationDirs(const Dirs& dirs) {
    QStringList out{dirs.dataHome + QStringLiteral("/applications")};
    for (const QString& d : dirs.dataDirs) out << d + QStringLiteral("/applications");
    return out;
}

// The desktop-entry value escapes: \s, \n, \t, \r and \\.
QString unescapeValue(const QString& v) {
    QString out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] != u'\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        const QChar c = v[++i];
        if (c == u's')
            out += u' ';
        else if (c == u'n')
            out += u'\n';
        else if (c == u't')
            out += u'\t';
        else if (c == u'r')
            out += u'\r';
        else if (c == u'\\')
            out += u'\\';
        else
            out += QStringLiteral("\\") + c;
    }
    return out;
}

bool usable(const QString& path) {
    const auto entry = readGroup(path, QStringLiteral("Desktop Entry"));
    return entry.value(QStringLiteral("Hidden")) != u"true" &&
           entry.value(QStringLiteral("Type"), QStringLiteral("Application")) == u"Application";
}

}  // namespace

Dirs Dirs::fromEnvironment() {
    Dirs d;
    d.configHome = homeDir("XDG_CONFIG_HOME", QStringLiteral(".config"));
    d.configDirs = pathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    d.dataHome = homeDir("XDG_DATA_HOME", QStringLiteral(".local/share"));
    d.dataDirs = pathList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        d.desktops << desktop.toLower();
    return d;
}

QStringList mimeAppsLists(const Dirs& dirs) {
    QStringList folders{dirs.configHome};
    folders += dirs.configDirs;
    folders += applicationDirs(dirs);
    QStringList out;
    for (const QString& folder : folders) {
        for (const QString& desktop : dirs.desktops) out << folder + u'/' + desktop + QStringLiteral("-mimeapps.list");
        out << folder + QStringLiteral("/mimeapps.list");
    }
    return out;
}

QString desktopFile(const QString& id, const Dirs& dirs) {
    if (!id.endsWith(QStringLiteral(".desktop")) || id.contains(u'/')) return {};
    for (const QString& folder : applicationDirs(dirs)) {
        // The id's dashes may stand for subfolders: "a-b-c.desktop" is a-b-c.desktop, a/b-c.desktop
        // or a/b/c.desktop, the shallowest first.
        QStringList candidates{id};
        QString rest = id;
        QString prefix;
        qsizetype dash;
        while ((dash = rest.indexOf(u'-')) > 0) {
            prefix += rest.left(dash) + u'/';
            rest = rest.mid(dash + 1);
            candidates << prefix + rest;
        }
        for (const QString& c : candidates) {
            const QString path = folder + u'/' + c;
            if (QFileInfo(path).isFile()) return usable(path) ? path : QString();
        }
    }
    return {};
}

QString defaultApplication(const QString& mimeType, const Dirs& dirs) {
    const QStringList lists = mimeAppsLists(dirs);
    for (const QString& list : lists)
        for (const QString& id : listValue(readGroup(list, QStringLiteral("Default Applications")).value(mimeType)))
            if (const QString f = desktopFile(id, dirs); !f.isEmpty()) return f;

    QSet<QString> removed;
    for (const QString& list : lists)
        for (const QString& id : listValue(readGroup(list, QStringLiteral("Removed Associations")).value(mimeType)))
            removed.insert(id);
    for (const QString& list : lists)
        for (const QString& id : listValue(readGroup(list, QStringLiteral("Added Associations")).value(mimeType)))
            if (!removed.contains(id))
                if (const QString f = desktopFile(id, dirs); !f.isEmpty()) return f;

    QSet<QString> seen;
    for (const QString& folder : applicationDirs(dirs)) {
        QStringList ids;
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            ids << QDir(folder).relativeFilePath(path).replace(u'/', u'-');
        }
        ids.sort();
        for (const QString& id : ids) {
            if (seen.contains(id)) continue;  // a folder earlier in the list holds this id
            seen.insert(id);
            if (removed.contains(id)) continue;
            const QString f = desktopFile(id, dirs);
            if (f.isEmpty()) continue;
            const auto entry = readGroup(f, QStringLiteral("Desktop Entry"));
            if (listValue(entry.value(QStringLiteral("MimeType"))).contains(mimeType)) return f;
        }
    }
    return {};
}

namespace {

// The words of an Exec value whose value escapes are resolved: blanks part them outside quotes.
// Each word also tells whether any of it was quoted, so that "" stays an (empty) argument.
struct ExecWord {
    QString text;
    bool quoted = false;
};

QList<ExecWord> splitExec(const QString& s) {
    QList<ExecWord> words;
    ExecWord word;
    bool inWord = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            inWord = word.quoted = true;
            for (++i; i < s.size() && s[i] != u'"'; ++i) {
                // Only these four are escaped inside double quotes; any other backslash is itself.
                if (s[i] == u'\\' && i + 1 < s.size() && QStringView(u"\"`$\\").contains(s[i + 1])) ++i;
                word.text += s[i];
            }
        } else if (c == u'\'') {
            inWord = word.quoted = true;
            for (++i; i < s.size() && s[i] != u'\''; ++i) word.text += s[i];
        } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            if (inWord) words << word;
            word = {};
            inWord = false;
        } else {
            if (c == u'\\' && i + 1 < s.size()) ++i;
            word.text += s[i];
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}

bool isFileCode(QChar c) { return c == u'f' || c == u'F' || c == u'u' || c == u'U'; }

}  // namespace

QStringList execArguments(const QString& exec, const QString& file, const ExecEntry& entry) {
    const QList<ExecWord> words = splitExec(unescapeValue(exec));
    if (words.isEmpty() || words.first().text.isEmpty()) return {};
    const QString url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    QStringList out;
    bool fileGiven = false;
    for (qsizetype w = 0; w < words.size(); ++w) {
        const QString& text = words[w].text;
        // The program is taken as written: a percent sign in its name is no field code.
        if (w == 0) {
            out << text;
            continue;
        }
        if (text == u"%i") {
            if (!entry.icon.isEmpty()) out << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        QString arg;
        bool literal = words[w].quoted;  // something of the word itself is kept
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] != u'%' || i + 1 == text.size()) {
                arg += text[i];
                literal = true;
                continue;
            }
            const QChar code = text[++i];
            if (isFileCode(code)) {
                arg += code.toLower() == u'f' ? file : url;
                fileGiven = literal = true;
            } else if (code == u'%') {
                arg += u'%';
                literal = true;
            } else if (code == u'c') {
                arg += entry.name;
            } else if (code == u'k') {
                arg += entry.location;
            }
            // %d %D %n %N %v %m and %i inside a word are dropped, and so is a code no launcher knows.
        }
        if (literal || !arg.isEmpty()) out << arg;
    }
    if (!fileGiven) out << file;
    return out;
}

QStringList desktopCommand(const QString& desktopFilePath, const QString& file) {
    const auto entry = readGroup(desktopFilePath, QStringLiteral("Desktop Entry"));
    // The name in the user's language where the entry has it: Name[ja_JP], then Name[ja], then Name.
    const QString locale = QLocale::system().name();
    QString name;
    for (const QString& key : {QStringLiteral("Name[%1]").arg(locale),
                               QStringLiteral("Name[%1]").arg(locale.section(u'_', 0, 0)), QStringLiteral("Name")}) {
        if (entry.contains(key)) {
            name = unescapeValue(entry.value(key));
            break;
        }
    }
    const ExecEntry about{unescapeValue(entry.value(QStringLiteral("Icon"))), name,
                          QFileInfo(desktopFilePath).absoluteFilePath()};
    QStringList command = execArguments(entry.value(QStringLiteral("Exec")), file, about);
    if (command.isEmpty()) return {};
    QString& program = command.first();
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        if (!info.isAbsolute() || !info.isFile() || !info.isExecutable()) return {};
        program = info.absoluteFilePath();
    } else {
        program = QStandardPaths::findExecutable(program);
        if (program.isEmpty()) return {};
    }
    // A program that needs a terminal shows nothing started on its own (it leaves at once, or
    // waits unseen for input): it runs in the system's terminal emulator, or not at all.
    if (entry.value(QStringLiteral("Terminal")) == u"true") {
        const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (terminal.isEmpty()) return {};
        command = QStringList{terminal, QStringLiteral("-e")} + command;
    }
    return command;
}

}  // namespace ksn::xdg
