#pragma once
// The board geometry: sixteen step functions (eight line directions, eight knight jumps). Pin
// directions are stored as step functions and compared by identity, so every direction has
// exactly one function.

#include <array>
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
