#pragma once
// The classic error number a statement raises (0 when it completes).
#include <functional>

#include "base/app_error.h"

namespace qm::test {

inline int errorOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const AppError& e) {
        return e.number;
    }
    return 0;
}

}  // namespace qm::test
