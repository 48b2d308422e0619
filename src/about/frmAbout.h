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
    void lblProductName_DblClick();
    void lblFullTitle_DblClick();
    void lblVersion_DblClick();
    void txtCredit_DblClick();

    // The contact texts, string-table entries 0 and 3, read when the box opens.
    QString EMailAddress;
    QString WebPage;

    QLabel* picIcon = nullptr;
    QLabel* lblFullTitle = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QPlainTextEdit* txtCredit = nullptr;
    QPushButton* cmdQuestionForm = nullptr;
    QPushButton* cmdOk = nullptr;

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
