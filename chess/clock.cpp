#include "chess/clock.h"

#include "foundation/platform.h"

namespace vek::chess {
namespace {

// Tick arithmetic wraps like the ticks themselves instead of overflowing.
std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t wrappingDifference(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier));
}

}  // namespace

std::int32_t systemTick() { return static_cast<std::int32_t>(vek::tickMilliseconds()); }

void PlayerClock::start(std::int32_t now) {
    startTick = now;
    running = true;
}

void PlayerClock::stop(std::int32_t now) {
    if (!running)
        return;
    stopTick = now;
    accumulated = wrappingAdd(accumulated, wrappingDifference(stopTick, startTick));
    running = false;
}

void PlayerClock::reset(std::int32_t now) {
    stop(now);
    accumulated = 0;
}

std::int32_t PlayerClock::shown(std::int32_t now) const {
    return running ? wrappingAdd(accumulated, wrappingDifference(now, startTick)) : accumulated;
}

}  // namespace vek::chess
