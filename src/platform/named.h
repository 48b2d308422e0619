// A control made for a window: its name (what the window's code, its tests and the national texts
// find it by) and, for the windows laid out by hand, its place in the parent.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QWidget>

namespace ksn {

template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

template <class Control>
Control* named(Control* control, const char* name, const QRect& place) {
    named(control, name)->setGeometry(place);
    return control;
}

}  // namespace ksn
