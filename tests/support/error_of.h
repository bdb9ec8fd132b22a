// The number of the platform error an operation raises, for tables of
// operations and the errors they must raise.
#pragma once

#include <functional>

#include "platform/error.h"

namespace testsupport {

// Runs f and gives the number of the platform::Error it raised (0 when none).
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
