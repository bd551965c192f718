#pragma once
// The module's sources of the current time, replaceable in tests.

#include <cstdint>
#include <functional>
#include <string>

namespace tavi {

struct Clock {
    // Whole seconds since 1970-01-01 00:00 UTC.
    std::function<std::int64_t()> secondsSince1970;
    // The local time as "%Y%m%d%H%M%S".
    std::function<std::string()> localTimeText;

    static Clock System();
};

}  // namespace tavi
