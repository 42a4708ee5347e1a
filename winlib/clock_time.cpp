#include "winlib/clock_time.h"

namespace winlib {

ClockTime clockTime(std::int64_t elapsedMs) {
    if (elapsedMs < 0)
        return {};
    return ClockTime{static_cast<int>(elapsedMs / 3600000 % 24), static_cast<int>(elapsedMs / 60000 % 60),
                     static_cast<int>(elapsedMs / 1000 % 60)};
}

}  // namespace winlib
