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

// An index beyond a fixed table: the 102nd car of a train, the 1002nd distinct image, a cursor
// above the last record.
class OutOfRangeError : public KsnError {
public:
    OutOfRangeError() : KsnError(9, QStringLiteral("Subscript out of range")) {}
};

// An image whose height field is 0: its proportions have no value.
class DivisionByZeroError : public KsnError {
public:
    DivisionByZeroError() : KsnError(11, QStringLiteral("Division by zero")) {}
};

// An item read after the last one of the file.
class InputPastEndError : public KsnError {
public:
    InputPastEndError() : KsnError(62, QStringLiteral("Input past end of file")) {}
};

// A formation file that exists but cannot be read.
class FileAccessError : public KsnError {
public:
    FileAccessError() : KsnError(75, QStringLiteral("Path/File access error")) {}
};

}  // namespace ksn
