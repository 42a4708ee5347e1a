#pragma once
// Engine positions from FEN, for the tests.

#include <string_view>

#include "engine/position.h"

namespace vek::engine::testing {

// The position of a well-formed FEN text with the given counters (the test fails on a bad one).
Position positionFromFen(std::string_view fen, int halfmoveClock = 0, int fullmoveNumber = 1);

}  // namespace vek::engine::testing
