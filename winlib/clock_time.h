#pragma once
// What a date-time picker shows for a running time: the elapsed time as a time of day.

#include <cstdint>

namespace winlib {

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend constexpr bool operator==(ClockTime, ClockTime) = default;
};

// Hours wrap at 24; a negative time shows as 00:00:00.
ClockTime clockTime(std::int64_t elapsedMs);

}  // namespace winlib
