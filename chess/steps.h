#pragma once
// The board geometry: sixteen step functions (eight line directions, eight knight jumps). Pin
// directions are stored as step functions and compared by identity, so every direction has
// exactly one function.

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "chess/types.h"

namespace vek::chess {

// The neighbouring square in one fixed direction, or {0, 0} off the board.
using StepFunction = Square (*)(Square);

Square stepNorth(Square s);
Square stepNorthEast(Square s);
Square stepEast(Square s);
Square stepSouthEast(Square s);
Square stepSouth(Square s);
Square stepSouthWest(Square s);
Square stepWest(Square s);
Square stepNorthWest(Square s);
Square stepKnight1(Square s);  // +1 column, +2 rows, then clockwise
Square stepKnight2(Square s);
Square stepKnight3(Square s);
Square stepKnight4(Square s);
Square stepKnight5(Square s);
Square stepKnight6(Square s);
Square stepKnight7(Square s);
Square stepKnight8(Square s);

// One row of the step table: the function, how far the check test walks with it, and its
// deltas.
struct Step {
    StepFunction function;
    int maxSteps;
    std::int8_t columnDelta;
    std::int8_t rowDelta;
};

// Squares reached by adding the deltas, or {0, 0} off the board.
constexpr Square stepBy(Square s, std::int8_t columnDelta, std::int8_t rowDelta) {
    const int column = s.column + columnDelta;
    const int row = s.row + rowDelta;
    if (column < 'a' || column > 'h' || row < 1 || row > 8)
        return kNoSquare;
    return Square{static_cast<char>(column), static_cast<std::int8_t>(row)};
}

constexpr Square advance(Square s, const Step& step) { return stepBy(s, step.columnDelta, step.rowDelta); }

// North, north-east, east, south-east, south, south-west, west, north-west, knight 1 to 8.
extern const std::array<Step, 16> kSteps;

// Named rows of kSteps.
enum Direction : std::uint8_t {
    dNORTH, dNORTH_EAST, dEAST, dSOUTH_EAST, dSOUTH, dSOUTH_WEST, dWEST, dNORTH_WEST,
    dKNIGHT1, dKNIGHT2, dKNIGHT3, dKNIGHT4, dKNIGHT5, dKNIGHT6, dKNIGHT7, dKNIGHT8,
};

// The row of kSteps whose function is `function` (which must be one of the sixteen).
const Step& stepOf(StepFunction function);

// The name of a row of kSteps (only rows of the table may be passed).
constexpr Direction directionOf(const Step& step) { return static_cast<Direction>(&step - kSteps.data()); }

// The squares (by squareIndex) that repeated steps in one direction pass from a square, nearest
// first, up to the edge of the board. Precomputed, so that the walks of every refresh need no
// step arithmetic.
struct Ray {
    std::uint8_t length;
    std::array<std::uint8_t, 7> squares;
};

extern const std::array<std::array<Ray, 64>, 16> kRays;

inline const Ray& rayFrom(std::size_t index, Direction direction) { return kRays[direction][index]; }

// A line ray once more, for the walks that copy a whole run of empty squares at once: its
// squares as bits, as squares and as quiet targets, nearest first.
struct LineRay {
    // Entries copied at once: a ray's seven squares and one that is never counted, so that a
    // copy is a few whole vector moves.
    static constexpr std::size_t kRunLength = 8;

    std::uint64_t mask;
    std::uint8_t length;
    std::array<Square, kRunLength> squares;
    std::array<MoveTarget, kRunLength> quietTargets;
};

extern const std::array<std::array<LineRay, 64>, 8> kLineRays;

// The line direction that leads back the way `direction` went.
constexpr Direction oppositeLine(Direction direction) { return static_cast<Direction>((direction + 4) % 8); }

// The change of squareIndex with one step in each line direction.
inline constexpr std::array<int, 8> kIndexSteps{8, 9, 1, -7, -8, -9, -1, 7};

// The square index of the first square that the bits `occupied` show on the ray from square
// index `from` in line direction `direction`, or -1 when the ray is empty.
inline int firstOccupied(std::size_t from, Direction direction, std::uint64_t occupied) {
    const std::uint64_t met = occupied & kLineRays[direction][from].mask;
    if (met == 0)
        return -1;
    // Both ends are cheap, and choosing between them by a mask leaves the processor no branch
    // on the direction to mispredict.
    const int nearestUp = std::countr_zero(met);
    const int nearestDown = 63 - std::countl_zero(met);
    const int upward = -static_cast<int>(kIndexSteps[direction] > 0);
    return nearestDown ^ ((nearestUp ^ nearestDown) & upward);
}

// Every square that shares a line with the square of index `index`.
inline std::uint64_t linesThrough(std::size_t index) {
    std::uint64_t lines = 0;
    for (const auto& rays : kLineRays)
        lines |= rays[index].mask;
    return lines;
}

// 256 divided by each of kIndexSteps, rounded away from zero. A ray has at most seven steps,
// and seven times the rounding error stays below 256: the index change of n steps times the
// reciprocal, shifted right by eight bits, is exactly n (checked below for every case).
inline constexpr std::array<int, 8> kIndexStepReciprocals = [] {
    std::array<int, 8> reciprocals{};
    for (std::size_t direction = 0; direction < 8; ++direction) {
        const int step = kIndexSteps[direction];
        const int size = step < 0 ? -step : step;
        const int reciprocal = (256 + size - 1) / size;
        reciprocals[direction] = step < 0 ? -reciprocal : reciprocal;
    }
    return reciprocals;
}();
static_assert([] {
    for (std::size_t direction = 0; direction < 8; ++direction)
        for (int steps = 1; steps <= 7; ++steps)
            if ((steps * kIndexSteps[direction] * kIndexStepReciprocals[direction]) >> 8 != steps)
                return false;
    return true;
}());

// How many steps in line direction `direction` lead from square index `from` to `to`, which
// lies on that ray. The same as dividing the index change by the index step, by a multiply:
// the slides would otherwise wait for a division.
inline std::size_t stepsAlong(std::size_t from, Direction direction, std::size_t to) {
    const int change = static_cast<int>(to) - static_cast<int>(from);
    const int steps = (change * kIndexStepReciprocals[direction]) >> 8;
    assert(change == steps * kIndexSteps[direction]);
    return static_cast<std::size_t>(steps);
}

// The line direction from the square with index a toward the one with index b, or -1.
extern const std::array<std::array<std::int8_t, 64>, 64> kLines;

// The line step leading from a toward b, or none when they share no line (or are equal).
// Whether the squares between are empty is not examined.
StepFunction directionBetween(Square a, Square b);

// The same as a row of kSteps, or null. Squares off the board share no line with anything.
inline const Step* lineStepBetween(Square a, Square b) {
    if (!isOnBoard(a) || !isOnBoard(b))
        return nullptr;
    const int direction = kLines[squareIndex(a)][squareIndex(b)];
    return direction < 0 ? nullptr : &kSteps[static_cast<std::size_t>(direction)];
}

}  // namespace vek::chess
