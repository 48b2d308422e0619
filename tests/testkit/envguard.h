// Environment variables a test sets, put back as they were afterwards.
#pragma once

#include <initializer_list>
#include "testkit/common.h"

namespace ksn::test {

struct EnvGuard {
    EnvGuard(std::initializer_list<const char*> names) {
        for (const char* n : names)
            saved.emplace_back(n, qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt);
    }
    ~EnvGuard() {
        for (const auto& [n, v] : saved) v ? qputenv(n, *v) : qunsetenv(n);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
};

}  // namespace ksn::test
