// The desktop replaced for tests: one program registered for every file, starts recorded.
#pragma once

#include "support/system/osservices.h"
#include "testkit/common.h"

#include <QList>

namespace ksn::test {

class ScriptedShell : public Shell {
public:
    QStringList openCommand(const QString& hostFile) const override {
        return program.isEmpty() ? QStringList() : QStringList{program, hostFile};
    }
    bool start(const QString& p, const QStringList& arguments) const override {
        started << (QStringList{p} + arguments);
        return startWorks;
    }
    QString program;
    bool startWorks = true;
    mutable QList<QStringList> started;
};

}  // namespace ksn::test
