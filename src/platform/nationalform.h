// SetNationalForm: dresses a window in the chosen language, from numbers its designer put into the
// controls.
//
// Qt widgets have no tag, so the designer's numbers live in dynamic properties: "Tag" (the text
// number of a window's caption, a label's or a button's text, a tab's caption is its tab data) and
// "ToolTipText" (the number of a tool tip; the widget's own tool tip when the property is absent).
// Menu items hold their number in their text. Control types map as follows: QLabel is a label; a
// QAction of a menu is a menu item; QTabBar and QTabWidget are tab strips; QToolBar is a toolbar
// (its buttons' numbers in their tool tips); QTreeView and QTableView are lists with column
// headers (a header's number in its Qt::UserRole data); any other widget is a plain control
// (buttons and group boxes have a caption).
#pragma once

#include <QList>

class QObject;
class QWidget;

namespace ksn {

class National;

// The window's controls in its control order (creation order, depth first): named widgets and
// menu items, not the window itself, the widgets Qt makes inside its own controls, nor other windows.
QList<QObject*> formControls(QWidget& form);

void SetNationalForm(QWidget& frm, National& national);

}  // namespace ksn
