#include "admodule/Clock.h"

#include <ctime>

namespace tavi {

Clock Clock::System() {
    Clock clock;
    clock.secondsSince1970 = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    clock.localTimeText = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char text[32];
        const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
        return std::string(text, length);
    };
    return clock;
}

}  // namespace tavi
