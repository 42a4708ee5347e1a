#pragma once
// When the clock display reads the players' clocks. The board's clock of the side to move runs
// on after mate or stalemate; the display stops both at the end of the game instead, so that
// neither shows time that nobody spent thinking.

#include <cstdint>
#include <optional>

namespace chessapp {

class ClockDisplay {
public:
    // Told at every update of the panel whether the game runs: notes the tick at which the
    // game was first seen over, and forgets it once a game runs again.
    void follow(bool gameRunning, std::int32_t now);
    // The tick to read both clocks at: now while the game runs, its end afterwards.
    std::int32_t readingTick(std::int32_t now) const { return endTick_.value_or(now); }

private:
    std::optional<std::int32_t> endTick_;
};

}  // namespace chessapp
