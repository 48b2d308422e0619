#include "about/rules/aboutbox.h"

#include "support/text/numtext.h"

#include <algorithm>

namespace ksn {

AboutLayout layoutAbout(const AboutMetrics& a) {
    const int m = a.m;
    AboutLayout l;
    l.icon = QRect(QPoint(m, m), a.icon);
    const int x0 = l.icon.left() + l.icon.width() + 2 * m;
    l.title = QRect(QPoint(x0, 10), a.title);

    const int productWidth = int(roundHalfEven(a.productText.width() * a.ratio));
    const int productHeight = int(roundHalfEven(a.productText.height() * a.ratio));
    l.product = QRect(x0, l.title.top() + l.title.height() + 10, productWidth, productHeight);

    // The bottoms of the product name and the version line up.
    l.version =
        QRect(QPoint(x0 + l.product.width() + m, l.product.top() + l.product.height() - a.version.height()), a.version);

    l.credit = QRect(QPoint(m, (l.product.top() + l.product.height() + 10) + 10), a.credit);
    const int y3 = l.credit.top() + 10 + l.credit.height();

    const int w = std::max({l.version.left() + l.version.width() + m, l.credit.width() + 2 * m,
                            a.questionForm.width() + a.ok.width() + 3 * m});
    l.credit.moveLeft((w - l.credit.width()) / 2);

    // The two buttons, 2m apart, centred as a pair.
    l.questionForm = QRect(QPoint((w - a.questionForm.width() - a.ok.width() - 2 * m) / 2, y3), a.questionForm);
    l.ok = QRect(QPoint(l.questionForm.left() + l.questionForm.width() + 2 * m, y3), a.ok);

    l.inner = QSize(w, l.questionForm.top() + l.questionForm.height() + 2 * m);
    return l;
}

QPoint centreOver(const QRect& mainWindow, const QSize& box, const QRect& screen) {
    // Integer division truncates toward zero, as the halving of a negative difference must.
    int left = mainWindow.left() + (mainWindow.width() - box.width()) / 2;
    if (left < screen.left())
        left = screen.left();
    else if (left + box.width() > screen.left() + screen.width())
        left = screen.left() + screen.width() - box.width();

    int top = mainWindow.top() + (mainWindow.height() - box.height()) / 2;
    if (top < screen.top())
        top = screen.top();
    else if (top + box.height() > screen.top() + screen.height())
        top = screen.top() + screen.height() - box.height();
    return {left, top};
}

QString creditText(const QString& company, const QString& legal, const QString& email, const QString& web) {
    return company + QStringLiteral("\r\n") + legal + QStringLiteral("\r\n") + email + QStringLiteral("\r\n") + web;
}

QString enquiryForm(const QString& product, const std::function<QString(int)>& T, const QString& email, int major,
                    int minor, int revision) {
    const QString crlf = QStringLiteral("\r\n");
    QString s;
    s += QStringLiteral("SUB:") + product + u' ' + T(3) + crlf;
    s += QStringLiteral("TO:") + email + crlf;
    s += T(4) + u':' + crlf;
    s += T(5) + u':' + crlf;
    s += product + T(6) + QStringLiteral(": Ver%1.%2.%3").arg(major).arg(minor).arg(revision) + crlf;
    s += T(7) + u':' + crlf;
    s += crlf;
    s += T(8) + u':' + crlf;
    s += crlf;
    s += crlf;
    return s;
}

QString revisionText(int revision) {
    const QString digits = QString::number(qAbs(revision)).rightJustified(4, u'0');
    return QStringLiteral("Revision=") + (revision < 0 ? QStringLiteral("-") : QString()) + digits;
}

QString aboutCaption(const QString& product, const QString& information) { return product + u' ' + information; }

QString enquiryQuestion(const QString& product, const QString& question) { return product + question; }

}  // namespace ksn
