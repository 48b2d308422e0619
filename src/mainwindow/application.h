// What the editor's program sets up on its application before the first window: its names, its
// icon, Qt's texts in Japanese and the style. Shared by main and the start-up benchmark, so that
// what is measured is what starts.
#pragma once

#include <QIcon>
#include <QString>

#include <functional>

namespace ksn {

// Names, the program's icon, the desktop file name, Qt's Japanese translation and the style.
// Call once, right after the QApplication is made.
void setUpApplication();

// An icon made by make() the first time it is drawn or measured, not before: a window icon on a
// platform that never shows one (offscreen) and a button that is never shown cost nothing.
QIcon lazyIcon(std::function<QIcon()> make);

}  // namespace ksn
