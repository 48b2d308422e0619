// What the tests share: GoogleTest, common Qt and standard types, texts shown as text in failures.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace test {}
using namespace test;
using namespace Qt::StringLiterals;
inline QString q(const char* s) { return QString::fromUtf8(s); }
}  // namespace ksn
