#include "app/clock_display.h"

namespace chessapp {

void ClockDisplay::follow(bool gameRunning, std::int32_t now) {
    if (gameRunning)
        endTick_.reset();
    else if (!endTick_)
        endTick_ = now;
}

}  // namespace chessapp
