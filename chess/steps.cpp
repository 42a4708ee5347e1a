#include "chess/steps.h"

#include <cassert>

namespace vek::chess {

Square stepNorth(Square s) { return stepBy(s, 0, 1); }
Square stepNorthEast(Square s) { return stepBy(s, 1, 1); }
Square stepEast(Square s) { return stepBy(s, 1, 0); }
Square stepSouthEast(Square s) { return stepBy(s, 1, -1); }
Square stepSouth(Square s) { return stepBy(s, 0, -1); }
Square stepSouthWest(Square s) { return stepBy(s, -1, -1); }
Square stepWest(Square s) { return stepBy(s, -1, 0); }
Square stepNorthWest(Square s) { return stepBy(s, -1, 1); }
Square stepKnight1(Square s) { return stepBy(s, 1, 2); }
Square stepKnight2(Square s) { return stepBy(s, 2, 1); }
Square stepKnight3(Square s) { return stepBy(s, 2, -1); }
Square stepKnight4(Square s) { return stepBy(s, 1, -2); }
Square stepKnight5(Square s) { return stepBy(s, -1, -2); }
Square stepKnight6(Square s) { return stepBy(s, -2, -1); }
Square stepKnight7(Square s) { return stepBy(s, -2, 1); }
Square stepKnight8(Square s) { return stepBy(s, -1, 2); }

constexpr std::array<Step, 16> kSteps{{
    {stepNorth, 8, 0, 1},
    {stepNorthEast, 8, 1, 1},
    {stepEast, 8, 1, 0},
    {stepSouthEast, 8, 1, -1},
    {stepSouth, 8, 0, -1},
    {stepSouthWest, 8, -1, -1},
    {stepWest, 8, -1, 0},
    {stepNorthWest, 8, -1, 1},
    {stepKnight1, 1, 1, 2},
    {stepKnight2, 1, 2, 1},
    {stepKnight3, 1, 2, -1},
    {stepKnight4, 1, 1, -2},
    {stepKnight5, 1, -1, -2},
    {stepKnight6, 1, -2, -1},
    {stepKnight7, 1, -2, 1},
    {stepKnight8, 1, -1, 2},
}};

namespace {

using RayTable = std::array<std::array<Ray, 64>, 16>;

constexpr RayTable makeRays() {
    RayTable rays{};
    for (std::size_t direction = 0; direction < kSteps.size(); ++direction)
        for (std::size_t index = 0; index < 64; ++index) {
            Ray& ray = rays[direction][index];
            for (Square s = advance(squareAt(index), kSteps[direction]); s != kNoSquare;
                 s = advance(s, kSteps[direction]))
                ray.squares[ray.length++] = static_cast<std::uint8_t>(squareIndex(s));
        }
    return rays;
}

// The line direction from square index a toward b, or -1.
constexpr int lineDirection(std::size_t a, std::size_t b) {
    const Square from = squareAt(a);
    const Square to = squareAt(b);
    const int columnDelta = to.column - from.column;
    const int rowDelta = to.row - from.row;
    if (columnDelta == 0) {
        if (rowDelta == 0)
            return -1;
        return rowDelta > 0 ? dNORTH : dSOUTH;
    }
    if (rowDelta == 0)
        return columnDelta > 0 ? dEAST : dWEST;
    if (columnDelta == rowDelta)
        return rowDelta > 0 ? dNORTH_EAST : dSOUTH_WEST;
    if (columnDelta == -rowDelta)
        return rowDelta > 0 ? dNORTH_WEST : dSOUTH_EAST;
    return -1;
}

using LineTable = std::array<std::array<std::int8_t, 64>, 64>;

constexpr LineTable makeLines() {
    LineTable lines{};
    for (std::size_t a = 0; a < 64; ++a)
        for (std::size_t b = 0; b < 64; ++b)
            lines[a][b] = static_cast<std::int8_t>(lineDirection(a, b));
    return lines;
}

}  // namespace

constexpr LineTable kLines = makeLines();

constexpr std::array<std::array<Ray, 64>, 16> kRays = makeRays();

namespace {

using LineRayTable = std::array<std::array<LineRay, 64>, 8>;

constexpr LineRayTable makeLineRays() {
    LineRayTable lines{};
    for (std::size_t direction = 0; direction < lines.size(); ++direction)
        for (std::size_t index = 0; index < 64; ++index) {
            const Ray& ray = kRays[direction][index];
            LineRay& line = lines[direction][index];
            line.length = ray.length;
            for (std::size_t i = 0; i < ray.length; ++i) {
                line.mask |= std::uint64_t{1} << ray.squares[i];
                line.squares[i] = squareAt(ray.squares[i]);
                line.quietTargets[i] = MoveTarget{line.squares[i], kNoSquare};
            }
        }
    return lines;
}

}  // namespace

constexpr LineRayTable kLineRays = makeLineRays();

const Step& stepOf(StepFunction function) {
    for (const Step& step : kSteps)
        if (step.function == function)
            return step;
    assert(false && "not a step function of the table");
    return kSteps[0];
}

StepFunction directionBetween(Square a, Square b) {
    const Step* step = lineStepBetween(a, b);
    return step ? step->function : nullptr;
}

}  // namespace vek::chess
