#include "support/paths/winpath.h"

#include <QStringList>

namespace ksn::winpath {

namespace {

bool isDriveLetterPath(const QString& p) {
    return p.size() >= 2 && p[1] == u':' && p[0].unicode() < 128 && p[0].isLetter();
}

bool isUnc(const QString& p) { return p.size() >= 2 && isSeparator(p[0]) && isSeparator(p[1]); }

// Index just past the drive part of p (0 when there is none).
qsizetype driveLength(const QString& p) {
    if (isDriveLetterPath(p)) return 2;
    if (!isUnc(p)) return 0;
    qsizetype i = 2;
    while (i < p.size() && !isSeparator(p[i])) ++i;  // server
    if (i >= p.size()) return i;
    ++i;
    while (i < p.size() && !isSeparator(p[i])) ++i;  // share
    return i;
}

QString toBackslashes(QString p) {
    p.replace(u'/', u'\\');
    return p;
}

QStringList splitComponents(const QString& text) {
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isSeparator(text[i])) {
            if (i > start) out << text.mid(start, i - start);
            start = i + 1;
        }
    }
    return out;
}

QString stripTrailingDotsAndBlanks(QString c) {
    while (!c.isEmpty() && (c.back() == u'.' || c.back() == u' ')) c.chop(1);
    return c;
}

}  // namespace

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

QString driveName(const QString& path) { return path.left(driveLength(path)); }

QString fileName(const QString& path) {
    const qsizetype start = driveLength(path);
    qsizetype i = path.size();
    while (i > start && !isSeparator(path[i - 1])) --i;
    return path.mid(i);
}

QString baseName(const QString& path) {
    const QString f = fileName(path);
    const qsizetype dot = f.lastIndexOf(u'.');
    return dot < 0 ? f : f.left(dot);
}

QString extensionName(const QString& path) {
    const QString f = fileName(path);
    const qsizetype dot = f.lastIndexOf(u'.');
    return dot < 0 ? QString() : f.mid(dot + 1);
}

QString buildPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    if (name.isEmpty()) return folder;
    const bool folderEnds = isSeparator(folder.back());
    const bool nameStarts = isSeparator(name.front());
    if (folderEnds && nameStarts) return folder + name.mid(1);
    if (folderEnds || nameStarts) return folder + name;
    return folder + u'\\' + name;
}

QString searchFolder(const QString& folder) {
    return folder.size() == 2 && isDriveLetterPath(folder) ? folder + u'\\' : folder;
}

bool isBareFileName(const QString& name) { return name == baseName(name) + u'.' + extensionName(name); }

QChar driveLetter(const QString& path) { return isDriveLetterPath(path) ? path[0].toUpper() : QChar(); }

QString rootOf(const QString& absolute) {
    const QString p = toBackslashes(absolute);
    if (isDriveLetterPath(p)) return p.left(2) + u'\\';
    if (isUnc(p)) return p.left(driveLength(p)) + u'\\';
    return {};
}

QStringList componentsAfterRoot(const QString& absolute) {
    return splitComponents(absolute.mid(driveLength(absolute)));
}

QString absolutePath(const QString& path, const QString& currentDir) {
    QString cur = toBackslashes(currentDir);
    if (rootOf(cur).isEmpty()) cur = QStringLiteral("C:\\");
    // An empty path is the current directory itself, which then keeps a network root as written.
    const QString p = path.isEmpty() ? cur : toBackslashes(path);

    QString root;       // "\\server\share" without a separator only for a bare network root
    QStringList parts;  // components to normalise, base components first
    if (isUnc(p)) {
        root = p.left(driveLength(p));
        parts = splitComponents(p.mid(root.size()));
        // Below the share the root is "\\server\share\", as "C:\" is for a drive.
        if (p.size() > root.size()) root += u'\\';
    } else if (isDriveLetterPath(p)) {
        root = p.left(2) + u'\\';
        const QString rest = p.mid(2);
        const bool rooted = !rest.isEmpty() && isSeparator(rest[0]);
        if (!rooted && driveLetter(cur) == driveLetter(p)) parts = componentsAfterRoot(cur);
        parts += splitComponents(rest);
    } else if (!p.isEmpty() && isSeparator(p[0])) {
        root = rootOf(cur);
        parts = splitComponents(p);
    } else {
        root = rootOf(cur);
        parts = componentsAfterRoot(cur) + splitComponents(p);
    }

    QStringList out;
    for (QString c : parts) {
        if (c == u".") continue;
        if (c == u"..") {
            if (!out.isEmpty()) out.removeLast();
            continue;
        }
        // A component ending in a single period loses that period ("foo." names "foo").
        if (c.endsWith(u'.') && !c.endsWith(u"..")) c.chop(1);
        out << c;
    }
    // The last component loses every trailing dot and blank; one left empty is dropped, and the one
    // before it is then the last.
    while (!out.isEmpty()) {
        const QString s = stripTrailingDotsAndBlanks(out.back());
        if (!s.isEmpty()) {
            out.back() = s;
            break;
        }
        out.removeLast();
    }

    if (root.endsWith(u'\\')) return root + out.join(u'\\');
    return out.isEmpty() ? root : root + u'\\' + out.join(u'\\');
}

bool matchesWildcard(const QString& name, const QString& pattern) {
    // Greedy with one step back: on a mismatch the last "*" takes one more character. Linear in
    // practice, and no regular expression engine to start for every folder listed.
    qsizetype n = 0, p = 0, star = -1, resume = 0;
    const auto same = [](QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace ksn::winpath
