#include "mainwindow/qtmodal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTreeView>
#include <QUrl>
#include <utility>

#include "mainwindow/qtjapanese.h"
#include "support/messages.h"
#include "support/paths/winpath.h"
#include "support/product/version.h"

namespace ksn {

namespace {

// One Windows pattern list ("*.bmp;*.dib") as Qt patterns ("*.bmp", "*.dib"). Windows spells
// "every file" "*.*", which on a host whose names need no dot would hide "README"; Qt's "*" is
// the same choice there.
QStringList qtPatterns(const QString& windowsPatterns) {
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    QStringList patterns;
    for (const QString& p : windowsPatterns.split(separators, Qt::SkipEmptyParts)) {
        const QString pattern = p == u"*.*" ? QStringLiteral("*") : p;
        if (!patterns.contains(pattern, Qt::CaseInsensitive)) patterns << pattern;
    }
    return patterns;
}

bool samePatterns(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) return false;
    return true;
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The nearest existing folder at or above a host path: a remembered folder that has since been
// removed still opens the dialog close to where the user was.
QString nearestFolder(const QString& hostPath) {
    QString path = QDir::cleanPath(QFileInfo(hostPath).absoluteFilePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path) return {};
        path = parent;
    }
    return path;
}

// Where a file dialog opens: a host folder (empty: wherever Qt opens) and a file name to offer.
struct DialogStart {
    QString folder;
    QString name;
};

DialogStart startOf(const FileSystem& fs, const FileDialogRequest& request) {
    DialogStart start;
    if (!request.initialFolder.isEmpty()) {
        if (const auto host = fs.toHost(winpath::searchFolder(request.initialFolder)))
            start.folder = nearestFolder(*host);
    }
    if (request.fileName.isEmpty()) return start;

    // A bare name is offered in the initial folder, as the platform's own dialog offers it; a path
    // opens its own folder.
    const bool bare = winpath::fileName(request.fileName) == request.fileName;
    const QString windows = bare ? fs.BuildPath(request.initialFolder, request.fileName) : request.fileName;
    const auto host = fs.toHost(windows);
    if (!host) {
        // A path on a drive this host does not have: the name is still worth offering.
        start.name = winpath::fileName(request.fileName);
        return start;
    }
    const QFileInfo info(*host);
    if (info.isDir()) {
        start.folder = info.absoluteFilePath();
    } else {
        if (info.absoluteDir().exists()) start.folder = info.absolutePath();
        start.name = info.fileName();
    }
    return start;
}

// The roots of the drives, for the folder dialog's side bar: the nearest thing to the computer
// with its drives that Windows roots its folder dialog at.
QList<QUrl> driveRoots(const DriveMap& drives) {
    QList<QUrl> urls;
    if (drives.isIdentity()) {
        for (const QFileInfo& drive : QDir::drives()) urls << QUrl::fromLocalFile(drive.absoluteFilePath());
    } else {
        for (const auto& [letter, root] : drives.drives()) urls << QUrl::fromLocalFile(root);
    }
    return urls;
}

// The file dialog's size and date columns in Japanese. Qt's file list formats them in the
// system's locale, which on a desktop set to another language (or none) gives "156 bytes" and
// "6 Dec"; every other text of the dialog comes from Qt's translation.
class JapaneseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        if (index.column() == 3) return japanese.toString(files->lastModified(source), QLocale::ShortFormat);
        return files->isDir(source) ? QString() : japanese.formattedDataSize(files->size(source));
    }
};

// Room for the Japanese columns: Qt sizes them for its English headers, which cut "156 バイト" and
// the type names short.
void fitColumns(QFileDialog& dialog) {
    QTreeView* details = dialog.findChild<QTreeView*>();
    if (!details) return;
    const QFontMetrics metrics(details->font());
    const int margin = metrics.horizontalAdvance(u'M') * 2;
    details->header()->resizeSection(1, metrics.horizontalAdvance(QStringLiteral("9,999 キロバイト")) + margin);
    details->header()->resizeSection(2, metrics.horizontalAdvance(QStringLiteral("平文テキストドキュメント")) + margin);
    details->header()->resizeSection(3, metrics.horizontalAdvance(QStringLiteral("2026/12/31 23:59")) + margin);
    details->header()->resizeSection(0, metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMMMM.KSN")) + margin);
    int columns = 0;
    for (int i = 0; i < 4; ++i) columns += details->header()->sectionSize(i);
    // The side bar and the frames beside the list.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(columns + 7 * margin, metrics.height() * 28)));
}

// A file dialog that also takes the Windows paths users of Windows programs type: "K:\KSN\a.KSN",
// "\KSN\a.KSN", "Sub\a.KSN". Qt's dialog knows host paths only and would take such a text for one
// odd file name in the folder shown; it is resolved through the drive map, against the folder
// shown, before the dialog sees it. A drive this host does not have is said so, and the dialog
// stays open, as it does for a file that is not there.
class DriveFileDialog : public QFileDialog {
public:
    DriveFileDialog(QWidget* parent, const FileSystem& fs) : QFileDialog(parent), fs_(fs) {
        setOption(QFileDialog::DontUseNativeDialog);
        setProxyModel(new JapaneseFileColumns(this));
        fitColumns(*this);
    }

    void accept() override {
        QLineEdit* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = edit ? edit->text().trimmed() : QString();
        if (!typed.startsWith(u'/') && (!winpath::driveName(typed).isEmpty() || typed.contains(u'\\'))) {
            const auto folder = fs_.toWindows(directory().absolutePath());
            const auto host =
                fs_.toHost(folder ? winpath::absolutePath(typed, *folder) : fs_.GetAbsolutePathName(typed));
            if (!host) {
                QMessageBox::warning(this, windowTitle(), typed + u'\n' + supportmsg::noSuchDrive());
                return;
            }
            edit->setText(*host);
        }
        QFileDialog::accept();
    }

private:
    const FileSystem& fs_;
};

}  // namespace

QStringList qtFilters(const QString& windowsFilter) {
    QStringList filters;
    const QStringList parts = windowsFilter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QStringList patterns = qtPatterns(parts[i + 1]);
        // The platform's filter is a list of NUL-ended texts that ends at the first empty one.
        if (description.isEmpty() || patterns.isEmpty()) break;

        // Qt reads the patterns from the parentheses at the end of the entry. A description that
        // already ends with its patterns ("KSN File (*.KSN)") gets them in Qt's spelling in place;
        // any other gets them appended, so that its own text stays as written.
        QString shown = description;
        static const QRegularExpression tail(QStringLiteral("\\(([^()]*)\\)$"));
        const auto m = tail.match(description);
        if (m.hasMatch() && samePatterns(qtPatterns(m.captured(1)), patterns))
            shown = description.left(m.capturedStart()).trimmed();
        filters << shown + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

QString qtLineBreaks(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QtModal::QtModal(QWidget* owner, const FileSystem& fs) : owner_(owner), fs_(fs) {}

MsgAnswer QtModal::message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(owner_);
    box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    // Paths and file contents appear in messages; "<" in one must not turn it into markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(qtLineBreaks(text));
    box.setIcon(qtIcon(icon));
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Closing the box without an answer declines, the answer that changes nothing.
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    // The messages name the buttons in Japanese (｢はい｣, キャンセル); without Qt's translation the
    // buttons still have to read so.
    if (!qtTextsTranslated()) {
        const std::pair<QMessageBox::StandardButton, const char16_t*> names[] = {
            {QMessageBox::Yes, u"はい"}, {QMessageBox::No, u"いいえ"}, {QMessageBox::Ok, u"OK"}};
        for (const auto& [which, name] : names)
            if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf16(name));
    }
    box.exec();
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? MsgAnswer::Yes : MsgAnswer::No;
}

QString QtModal::input(const QString& prompt, const QString& title, const QString& initial) {
    QInputDialog dialog(owner_);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    dialog.setLabelText(qtLineBreaks(prompt));
    // Prompts quote paths and comments; keep them as text, never markup.
    for (QLabel* label : dialog.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(initial);
    if (!qtTextsTranslated()) {
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue();
}

FileChoice QtModal::fileDialog(const FileDialogRequest& request) {
    DriveFileDialog dialog(owner_, fs_);
    if (request.kind == FileDialogRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Saving over an existing formation is the usual case; the editor never asks first.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.title.isEmpty()) dialog.setWindowTitle(request.title);

    // Formation files from Windows come as "A.KSN", "a.ksn" or "A.Ksn"; the patterns are written
    // in one spelling, so they must match without regard to case. Qt's model does when the
    // filter does not ask for case; say so rather than rely on its default.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    QString suffix = request.defaultExt;
    while (suffix.startsWith(u'.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);

    // The filter goes first: choosing a filter in a save dialog rewrites the offered name's extension.
    const DialogStart start = startOf(fs_, request);
    if (!start.folder.isEmpty()) dialog.setDirectory(start.folder);
    if (!start.name.isEmpty()) dialog.selectFile(start.name);

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    // A file under no drive has no Windows path to give back: that is reported here, and the
    // command goes on as after a failed dialog, not as after Cancel.
    const auto windows = windowsFormOf(chosen.front());
    return windows ? FileChoice(*windows) : FileChoice::failure();
}

QString QtModal::browseFolder(const QString& title, const QString& initialFolder) {
    DriveFileDialog dialog(owner_, fs_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!title.isEmpty()) dialog.setWindowTitle(title);

    const QList<QUrl> roots = driveRoots(fs_.drives());
    dialog.setSidebarUrls(roots);
    QString folder;
    if (!initialFolder.isEmpty()) {
        if (const auto host = fs_.toHost(winpath::searchFolder(initialFolder))) folder = nearestFolder(*host);
    }
    // Without a folder to show, the first drive rather than wherever the program was started.
    if (folder.isEmpty() && !roots.isEmpty()) folder = roots.front().toLocalFile();
    if (!folder.isEmpty()) dialog.setDirectory(folder);

    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    // The default folder is kept in lower case, as the folder dialog has always returned it.
    return windowsFormOf(chosen.front()).value_or(QString()).toLower();
}

void QtModal::processEvents() { QCoreApplication::processEvents(); }

std::optional<QString> QtModal::windowsFormOf(const QString& hostPath) {
    QString error;
    if (auto windows = fs_.toWindows(hostPath, &error)) return windows;
    message(error, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return std::nullopt;
}

}  // namespace ksn
