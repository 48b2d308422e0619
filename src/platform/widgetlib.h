// The members of MyLibClass that act on windows: showing and enabling controls, breaking text to
// a window's font, and keeping a window's place between runs. The rules behind them live in
// ksned_support (mylib.h, possition.h); these functions apply them to Qt widgets.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace ksn {

// Shows or hides every push button of the window.
void ButtonVisible(QWidget& frm, bool OnOff);

// Recording (Restore false): for each control of the window whose name starts with PriFix, in
// control order, stores "T" or "F" (its enabled state) and its name in the next slot of OnOffData;
// with the prefix "mnu" each menu item that is no separator is also enabled or disabled by OnOff.
// At most size - 1 slots are used. Restoring (Restore true): each such control whose name a used
// slot holds after its first letter is enabled when the slot starts with "T", else disabled.
void EnableAPI(QWidget& objFrm, const QString& PriFix, QStringList& OnOffData, bool OnOff, bool Restore);

// MyLibClass::FormatText with the widths of window's font.
QString FormatText(const QString& Str, const QWidget& window);

// Twips (1/1440 inch) per logical pixel of the screen the window is on: 15 at 96 dots per inch.
double twipsPerPixel(const QWidget& window);

// The placement of a top-level window kept in the settings store under its object name; values
// in twips, MinWidth and MinHeight too.
void SavePossition(QWidget& Form);
void RestorePossition(QWidget& Form, double MinWidth, double MinHeight);

// The PNG picture at path (a resource) as an icon, decoded now. Read as PNG on purpose: an icon
// made from a file name asks every image format plugin whether the file is its kind first, which
// cost more than decoding the toolbar's small pictures, all shown at once anyway.
QIcon pngIcon(const QString& path);

}  // namespace ksn
