// What ksnparade says: one line on stderr for a formation it skips, one line in the window when a
// folder gives it nothing to run.
#pragma once

#include <QString>

namespace ksn::parade::msg {

QString unreadable(const QString& file);
QString readerStopped(const QString& file, const QString& reason);
QString noCar(const QString& file);
QString skipped(const QString& reason);
QString noFormations(const QString& folder);
QString noSuchFolder(const QString& folder);
QString noDefaultFolder();

}  // namespace ksn::parade::msg
