// The texts the editor's windows and their modal seam build for the user, each made in one place.
#pragma once

#include <QString>

namespace ksn::msg {

// Help was found but the program that shows it would not start.
QString helpNotStarted(const QString& program);

// The drive letters of KSNED_DRIVES could not be read; error says which one and why.
QString drivesVariableInvalid(const QString& error);

}  // namespace ksn::msg
