// Numbers read from text the way the program's designer numbers and stored settings are read.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace ksn {

// The nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double roundHalfEven(double value);

// The number at the start of text: leading blanks and tabs skipped, then an optional sign, digits,
// an optional fraction and an optional exponent. 0 when text does not start with a number
// ("12abc" -> 12, "abc" -> 0, " -3.5" -> -3.5).
double leadingNumber(QStringView text);

// The whole text read as one number (blanks around it allowed) and rounded halves to even; nothing
// when the text is empty, holds anything else, or is out of the 32-bit range.
std::optional<qint32> wholeNumber(QStringView text);

}  // namespace ksn
