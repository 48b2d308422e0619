// Run-time errors of the formation reader model, as typed exceptions.
//
// Each carries the error number and description a user sees in the "Err.Number= " message, so
// that the reader can report them the same way whether it traps them itself or a caller does.
#pragma once

#include <QString>

#include <stdexcept>

namespace ksn {

class KsnError : public std::runtime_error {
public:
    KsnError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The description of each error number the reader model raises.
inline QString ksnErrorDescription(int number) {
    switch (number) {
        case 9:
            return QStringLiteral("Subscript out of range");
        case 11:
            return QStringLiteral("Division by zero");
        case 62:
            return QStringLiteral("Input past end of file");
        case 75:
            return QStringLiteral("Path/File access error");
        default:
            return QStringLiteral("Application-defined or object-defined error");
    }
}

// One type per error number, so that a caller catches exactly the errors it expects.
template <int Number>
class NumberedKsnError : public KsnError {
public:
    NumberedKsnError() : KsnError(Number, ksnErrorDescription(Number)) {}
};

// An index beyond a fixed table: the 102nd car of a train, the 1002nd distinct image, a cursor
// above the last record.
using OutOfRangeError = NumberedKsnError<9>;
// An image whose height field is 0: its proportions have no value.
using DivisionByZeroError = NumberedKsnError<11>;
// An item read after the last one of the file.
using InputPastEndError = NumberedKsnError<62>;
// A formation file that exists but cannot be read.
using FileAccessError = NumberedKsnError<75>;

}  // namespace ksn
