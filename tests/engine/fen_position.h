#pragma once
// Engine positions from FEN, for the tests.

#include <string_view>

#include "engine/position.h"

namespace vek::engine::testing {

// The position of a well-formed FEN text with the given counters (the test fails on a bad one),
// read by the rules of standard chess or of Chess960.
Position positionFromFen(std::string_view fen, int halfmoveClock = 0, int fullmoveNumber = 1, bool chess960 = false);

}  // namespace vek::engine::testing
