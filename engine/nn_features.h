#pragma once
// The inputs of the neural evaluation: 768 a side, one for each figure kind and colour on each
// square, seen from one side. From Black's view the board is mirrored vertically and the
// colours swapped, so that both sides see their own figures as White's from their first rank
// and one set of weights serves both.

#include <array>
#include <cstdint>

#include "chess/types.h"

namespace vek::engine {

inline constexpr int kInputs = 768;
inline constexpr int kMostActive = 32;  // no more figures fit on a legal board

// The active inputs of a position from one side's view, in rising square order.
struct ActiveInputs {
    std::array<std::uint16_t, kMostActive> index{};
    int count = 0;
};

// Input of a figure (kind, negated for Black) on a square seen from `view`:
// own/other colour × 384 + (kind - 1) × 64 + square (mirrored for Black).
int inputIndex(int figure, int square, chess::Colour view);
// The same input seen from the other side.
int otherView(int input);
// squares as DataRecord holds them: 0 empty, the kind, negated for Black.
ActiveInputs activeInputs(const std::array<std::int8_t, 64>& squares, chess::Colour view);
// The other side's view of the same inputs.
ActiveInputs otherView(const ActiveInputs& inputs);

}  // namespace vek::engine
