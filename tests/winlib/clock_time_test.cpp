// The time of day a clock display shows for an elapsed time.
#include <gtest/gtest.h>

#include "winlib/clock_time.h"

namespace winlib {
namespace {

TEST(ClockTime, HoursMinutesAndSecondsOfTheElapsedTime) {
    EXPECT_EQ(clockTime(3723000), (ClockTime{1, 2, 3}));
    EXPECT_EQ(clockTime(0), (ClockTime{0, 0, 0}));
    EXPECT_EQ(clockTime(59999), (ClockTime{0, 0, 59}));
    EXPECT_EQ(clockTime(86401000), (ClockTime{0, 0, 1}));  // hours wrap at 24
    EXPECT_EQ(clockTime(-5), (ClockTime{0, 0, 0}));
}

}  // namespace
}  // namespace winlib
