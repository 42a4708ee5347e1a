#pragma once
// A player's thinking time in milliseconds. The operations take the current tick, so that the
// Board decides where time comes from (the system's tick, or a fake one in tests).

#include <cstdint>

namespace vek::chess {

// A source of millisecond ticks; only differences of two ticks mean something.
using TickSource = std::int32_t (*)();

// The system's monotonic millisecond tick, cut to 32 bits (differences stay right across the
// wrap-around).
std::int32_t systemTick();

struct PlayerClock {
    std::int32_t startTick = 0;    // tick of the last start
    std::int32_t stopTick = 0;     // tick of the last stop
    std::int32_t accumulated = 0;  // milliseconds of the earlier turns
    bool running = false;

    void start(std::int32_t now);
    // Adds the running turn to accumulated; does nothing when the clock is stopped.
    void stop(std::int32_t now);
    void reset(std::int32_t now);
    // The milliseconds to show: the earlier turns plus the running one.
    std::int32_t shown(std::int32_t now) const;
};

}  // namespace vek::chess
