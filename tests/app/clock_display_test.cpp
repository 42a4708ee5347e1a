#include <gtest/gtest.h>

#include "app/clock_display.h"

namespace chessapp {
namespace {

TEST(ClockDisplay, StandsStillFromTheEndOfTheGameUntilAGameRunsAgain) {
    ClockDisplay display;
    display.follow(true, 100);
    EXPECT_EQ(display.readingTick(250), 250);
    display.follow(false, 300);  // mate
    display.follow(false, 900);  // the engine's end message: still the moment of the mate
    EXPECT_EQ(display.readingTick(5000), 300);
    display.follow(true, 6000);  // "Neustart"
    EXPECT_EQ(display.readingTick(6100), 6100);
}

}  // namespace
}  // namespace chessapp
