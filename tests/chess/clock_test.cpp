#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "chess/clock.h"

namespace vek::chess {
namespace {

TEST(PlayerClock, AddsUpTheTurnsAndResetsToZero) {
    PlayerClock clock;
    clock.start(10000);
    clock.stop(13000);
    EXPECT_EQ(clock.shown(20000), 3000);
    clock.start(20000);
    EXPECT_EQ(clock.shown(22000), 5000);
    clock.reset(22000);
    EXPECT_FALSE(clock.running);
    EXPECT_EQ(clock.shown(30000), 0);
}

TEST(PlayerClock, StoppingAStoppedClockChangesNothing) {
    PlayerClock clock;
    clock.start(100);
    clock.stop(600);
    clock.stop(9000);
    EXPECT_EQ(clock.accumulated, 500);
    EXPECT_EQ(clock.stopTick, 600);
}

TEST(PlayerClock, CountsAcrossTheWrapOfTheTick) {
    PlayerClock clock;
    clock.start(std::numeric_limits<std::int32_t>::max() - 499);
    EXPECT_EQ(clock.shown(std::numeric_limits<std::int32_t>::min() + 500), 1000);
    clock.stop(std::numeric_limits<std::int32_t>::min() + 500);
    EXPECT_EQ(clock.accumulated, 1000);
}

}  // namespace
}  // namespace vek::chess
