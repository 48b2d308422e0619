#include "about/frmAbout.h"

#include "about/rules/aboutbox.h"
#include "platform/named.h"
#include "platform/nationalform.h"
#include "support/product/version.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace ksn {

namespace {

constexpr int kIconSize = 32;
constexpr int kProductPointSize = 36;

}  // namespace

frmAbout::frmAbout(National& national, Modal& modal, QWidget* mainWindow)
    : QDialog(mainWindow),
      picIcon(named(new QLabel(this), "picIcon")),
      lblFullTitle(named(new QLabel(this), "lblFullTitle")),
      lblProductName(named(new QLabel(this), "lblProductName")),
      lblVersion(named(new QLabel(this), "lblVersion")),
      txtCredit(named(new QPlainTextEdit(this), "txtCredit")),
      cmdQuestionForm(named(new QPushButton(this), "cmdQuestionForm")),
      cmdOk(named(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk")),
      national_(national),
      modal_(modal),
      main_(mainWindow) {
    setObjectName(QStringLiteral("frmAbout"));
    // The designer's text numbers: the caption's, and the enquiry button's.
    setProperty("Tag", QStringLiteral("37"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cmdQuestionForm->setProperty("Tag", QStringLiteral("36"));
    cmdOk->setDefault(true);

    // The credits can be read and selected, never changed: no typing, no pasting, no dropping.
    txtCredit->setReadOnly(true);
    txtCredit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtCredit->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtCredit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCredit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCredit->setContextMenuPolicy(Qt::NoContextMenu);
    txtCredit->setAcceptDrops(false);
    txtCredit->setTabChangesFocus(true);
    txtCredit->installEventFilter(this);
    txtCredit->viewport()->installEventFilter(this);
    for (QLabel* l : {lblProductName, lblFullTitle, lblVersion}) l->installEventFilter(this);

    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);
    connect(cmdQuestionForm, &QPushButton::clicked, this, &frmAbout::cmdQuestionForm_Click);

    Form_Load();
}

void frmAbout::Form_Load() {
    const int m = 10;
    SetNationalForm(*this, national_);
    setWindowTitle(aboutCaption(kProductName, T(37)));

    EMailAddress = National::LoadResString(0).value_or(QString());
    WebPage = National::LoadResString(3).value_or(QString());

    const QIcon icon = main_ ? main_->windowIcon() : QApplication::windowIcon();
    picIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));

    lblFullTitle->setText(version::kFileDescription);
    lblProductName->setText(kProductName);
    QFont big = lblProductName->font();
    big.setPointSize(kProductPointSize);
    lblProductName->setFont(big);
    lblVersion->setText(QStringLiteral("Ver %1.%2").arg(version::kMajor).arg(version::kMinor));
    const QString credit = creditText(version::kCompanyName, version::kLegalCopyright, EMailAddress, WebPage);
    txtCredit->setPlainText(QString(credit).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // Every size below is measured in the window's own font, which the language chose.
    const QFontMetrics fm(font());
    AboutMetrics a;
    a.m = m;
    a.icon = QSize(kIconSize, kIconSize);
    a.title = fm.size(0, lblFullTitle->text());
    a.productText = fm.size(0, lblProductName->text());
    a.ratio = lblProductName->font().pointSizeF() / font().pointSizeF();
    a.version = fm.size(0, lblVersion->text());
    // The text box's frame and document margin surround the text itself; its caret needs room
    // after the longest line, and it counts its last line as shown only with a pixel to spare.
    const int chrome = 2 * txtCredit->frameWidth() + 2 * int(txtCredit->document()->documentMargin());
    const QSize creditText = fm.size(0, txtCredit->toPlainText());
    a.credit = QSize(creditText.width() + chrome + txtCredit->cursorWidth(), creditText.height() + chrome + 1);
    a.questionForm = cmdQuestionForm->sizeHint();
    a.ok = cmdOk->sizeHint();

    const AboutLayout l = layoutAbout(a);
    picIcon->setGeometry(l.icon);
    lblFullTitle->setGeometry(l.title);
    lblProductName->setGeometry(l.product);
    lblVersion->setGeometry(l.version);
    txtCredit->setGeometry(l.credit);
    cmdQuestionForm->setGeometry(l.questionForm);
    cmdOk->setGeometry(l.ok);
    setFixedSize(l.inner);
    cmdOk->setFocus();  // Enter closes the box at once

    SetFormCenter();
}

void frmAbout::SetFormCenter() {
    QScreen* screen = main_ ? main_->screen() : QGuiApplication::primaryScreen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // The box has no frame until it is shown; it will get one like the main window's.
    const QSize frame = main_ ? main_->frameGeometry().size() - main_->size() : QSize();
    const QRect over = main_ ? main_->frameGeometry() : screen->geometry();
    move(centreOver(over, size() + frame, screen->geometry()));
}

void frmAbout::cmdOk_Click() { accept(); }

void frmAbout::cmdQuestionForm_Click() {
    if (modal_.message(enquiryQuestion(kProductName, T(2)), QString(), MsgButtons::YesNo, MsgIcon::Information) !=
        MsgAnswer::Yes)
        return;
    const QString form = enquiryForm(
        kProductName, [this](int r) { return T(r); }, EMailAddress, version::kMajor, version::kMinor,
        version::kRevision);
    QApplication::clipboard()->setText(form);
}

bool frmAbout::control_DblClick(const QObject* control) {
    if (control == lblProductName || control == lblFullTitle) {
        modal_.message(T(0), QString(), MsgButtons::Ok, MsgIcon::None);
    } else if (control == txtCredit->viewport()) {
        modal_.message(T(1), QString(), MsgButtons::Ok, MsgIcon::None);
    } else if (control == lblVersion) {
        modal_.message(revisionText(version::kRevision), QString(), MsgButtons::Ok, MsgIcon::Information);
    } else {
        return false;
    }
    return true;
}

bool frmAbout::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick && control_DblClick(watched)) return true;
    // Every character typed into the credits is discarded before the box sees it, Enter and
    // Escape included, so that typing there neither edits nor closes anything.
    if (watched == txtCredit && e->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(e)->text().isEmpty()) {
        const QString text = static_cast<QKeyEvent*>(e)->text();
        if (text != u"\t") return true;
    }
    return QDialog::eventFilter(watched, e);
}

}  // namespace ksn
