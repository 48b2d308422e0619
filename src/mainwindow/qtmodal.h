// The editor's modal seam: Qt's message box, input box and file dialogs.
//
// The rules hand this object Windows paths and expect Windows paths back; the dialogs work on host
// folders. The conversion happens here, through the shared FileSystem, so that no dialog ever
// leaks a host path into the document. The file dialogs are always Qt's own widgets (never the
// desktop's native ones) so that they look and behave the same on every desktop and under test.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "support/paths/filesystem.h"
#include "support/ui/modal.h"

namespace ksn {

// A Windows dialog filter, pairs of description and pattern list separated by "|"
// ("KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|"), as Qt's name filters, one per pair and in the
// same order, so that a 1-based filter index still names the same entry: "KSN File (*.KSN)",
// "All Files (*)". Patterns keep their spelling except "*.*", which becomes "*". A description
// that ends with its own pattern list in parentheses gets the list respelt in place; any other
// description keeps its text and gets the list appended. The list ends at the first empty
// description or pattern, where the platform's own NUL-separated form ends.
QStringList qtFilters(const QString& windowsFilter);

// Message and prompt texts break lines with CR LF (or a lone CR); Qt's labels want "\n".
QString qtLineBreaks(const QString& text);

class QtModal : public Modal {
public:
    // owner: the window the boxes are modal to and centred on (may be null). fs: the shared file
    // system, for the drive map; it must outlive this object.
    QtModal(QWidget* owner, const FileSystem& fs);

    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }

    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
    QString input(const QString& prompt, const QString& title, const QString& initial) override;
    FileChoice fileDialog(const FileDialogRequest& request) override;
    QString browseFolder(const QString& title, const QString& initialFolder) override;
    void processEvents() override;

private:
    // The Windows form of a host path the user chose; nothing, after telling the user, when the
    // path lies under no drive.
    std::optional<QString> windowsFormOf(const QString& hostPath);

    QPointer<QWidget> owner_;
    const FileSystem& fs_;
};

}  // namespace ksn
