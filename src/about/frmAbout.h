// The about box: the program's title, name and version, the maker's credits, and the enquiry form
// copied to the clipboard. It follows the language National chose (Japanese, or English with
// "/e"), lays itself out from its texts measured in its own font, and centres itself over the
// main window.
#pragma once

#include "support/locale/national.h"
#include "support/ui/modal.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ksn {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // mainWindow: the window the box is centred over and whose icon it shows (may be null).
    frmAbout(National& national, Modal& modal, QWidget* mainWindow);

    // The load: language, texts, layout and place. Run by the constructor.
    void Form_Load();

    void cmdOk_Click();
    void cmdQuestionForm_Click();
    // A double click on the product name, the title, the version or the credits tells what it stands
    // for; on any other control it does nothing and returns false.
    bool control_DblClick(const QObject* control);

    // The contact texts, string-table entries 0 and 3, read when the box opens.
    QString EMailAddress;
    QString WebPage;

    // The controls, made with the box and kept for its life.
    QLabel* const picIcon;
    QLabel* const lblFullTitle;
    QLabel* const lblProductName;
    QLabel* const lblVersion;
    QPlainTextEdit* const txtCredit;
    QPushButton* const cmdQuestionForm;
    QPushButton* const cmdOk;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void SetFormCenter();
    QString T(int r) { return national_.GetNationalString(r); }

    National& national_;
    Modal& modal_;
    QPointer<QWidget> main_;
};

}  // namespace ksn
