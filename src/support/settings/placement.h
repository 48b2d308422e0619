// Window placement kept between runs: SavePossition records where a window is and how big, and
// RestorePossition puts it back there, no smaller than a minimum and pulled back onto the screen.
//
// Values are kept in twips (1/1440 inch) in the per-user settings store, application "KSNED32",
// section window name + "Possition", keys "Top", "Left", "Height", "Width". The rules here work on
// any window that can report and take its outer edges in twips; the widget adapter lives in
// src/platform.
#pragma once

#include <QString>

namespace ksn {

// What the placement rules need of a window, every value in twips.
class PlacedWindow {
public:
    virtual ~PlacedWindow() = default;
    virtual QString name() const = 0;
    virtual double top() const = 0;
    virtual double left() const = 0;
    virtual double width() const = 0;   // outer width
    virtual double height() const = 0;  // outer height
    virtual void setTop(double twips) = 0;
    virtual void setLeft(double twips) = 0;
    virtual void setWidth(double twips) = 0;
    virtual void setHeight(double twips) = 0;
    // The whole screen the window is on.
    virtual double screenWidth() const = 0;
    virtual double screenHeight() const = 0;
};

// The application name of the settings store.
QString possitionApplication();
// The section of a window: its name followed by "Possition".
QString possitionSection(const QString& windowName);
// The stored text of a value: the shortest decimal form of its single-precision value, with a
// point ("1200", "1234.5", "-300").
QString possitionText(float value);

void SavePossition(const PlacedWindow& form);
void RestorePossition(PlacedWindow& form, double MinWidth, double MinHeight);

}  // namespace ksn
