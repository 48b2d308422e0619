// The rules of the about box that need no widget: where each control goes, where the box goes on
// the screen, and the texts it shows or copies. The box itself (src/about) measures its texts with
// its own font and hands the sizes in.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

namespace ksn {

// Sizes the layout starts from, in pixels.
struct AboutMetrics {
    QSize icon;          // picIcon
    QSize title;         // lblFullTitle, sized to its text
    QSize productText;   // the product name measured in the window's font
    double ratio = 1;    // the product label's font size / the window's font size
    QSize version;       // lblVersion, sized to its text
    QSize credit;        // txtCredit, sized to its text
    QSize questionForm;  // cmdQuestionForm
    QSize ok;            // cmdOk
    int m = 10;          // the margin
};

struct AboutLayout {
    QRect icon, title, product, version, credit, questionForm, ok;
    QSize inner;  // the window's inner size
};

AboutLayout layoutAbout(const AboutMetrics& metrics);

// The top left corner of a box of outer size `box` centred over the main window's outer rectangle,
// kept on the screen: an edge before the screen's start goes to the start; otherwise an edge beyond
// the screen's end is pulled back so that the box ends there.
QPoint centreOver(const QRect& mainWindow, const QSize& box, const QRect& screen);

// The credit text: company, legal notice, contact e-mail address and web page, lines joined by CR LF.
QString creditText(const QString& company, const QString& legal, const QString& email, const QString& web);

// The enquiry form put on the clipboard. product: the product name; T: the localised text of a
// relative number.
QString enquiryForm(const QString& product, const std::function<QString(int)>& T, const QString& email, int major,
                    int minor, int revision);

// "Revision=" and the revision with at least four digits.
QString revisionText(int revision);

// The box's caption: the product name and the localised word for "information".
QString aboutCaption(const QString& product, const QString& information);

// The question before the enquiry form is copied: the product name and the localised question.
QString enquiryQuestion(const QString& product, const QString& question);

}  // namespace ksn
