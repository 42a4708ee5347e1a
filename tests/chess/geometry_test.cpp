#include <gtest/gtest.h>

#include "chess/steps.h"
#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::sq;

TEST(Squares, IndexRunsFromA1AlongTheRowsToH8) {
    EXPECT_EQ(squareIndex(sq("a1")), 0u);
    EXPECT_EQ(squareIndex(sq("e1")), 4u);
    EXPECT_EQ(squareIndex(sq("h1")), 7u);
    EXPECT_EQ(squareIndex(sq("a2")), 8u);
    EXPECT_EQ(squareIndex(sq("a8")), 56u);
    EXPECT_EQ(squareIndex(sq("e8")), 60u);
    EXPECT_EQ(squareIndex(sq("h8")), 63u);
    for (std::size_t i = 0; i < 64; ++i)
        EXPECT_EQ(squareIndex(squareAt(i)), i);
    EXPECT_FALSE(isOnBoard(kNoSquare));
}

TEST(Steps, OppositeLineStepsBackOntoTheSquare) {
    const Square d4 = sq("d4");
    for (std::size_t line = dNORTH; line <= dNORTH_WEST; ++line) {
        SCOPED_TRACE(line);
        const Direction direction = static_cast<Direction>(line);
        EXPECT_EQ(advance(advance(d4, kSteps[direction]), kSteps[oppositeLine(direction)]), d4);
        EXPECT_EQ(oppositeLine(oppositeLine(direction)), direction);
    }
}

TEST(Steps, TableHoldsTheLinesThenTheKnightJumps) {
    const StepFunction functions[16] = {stepNorth, stepNorthEast, stepEast, stepSouthEast, stepSouth,
                                        stepSouthWest, stepWest, stepNorthWest, stepKnight1, stepKnight2,
                                        stepKnight3, stepKnight4, stepKnight5, stepKnight6, stepKnight7,
                                        stepKnight8};
    const int deltas[16][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1},
                               {1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    const Square d4 = sq("d4");
    for (std::size_t i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kSteps[i].function, functions[i]);
        EXPECT_EQ(kSteps[i].maxSteps, i < 8 ? 8 : 1);
        const Square expected{static_cast<char>('d' + deltas[i][0]), static_cast<std::int8_t>(4 + deltas[i][1])};
        EXPECT_EQ(functions[i](d4), expected);
        EXPECT_EQ(advance(d4, kSteps[i]), expected);
    }
}

TEST(Steps, LeavingTheBoardGivesNoSquare) {
    EXPECT_EQ(stepNorth(sq("h8")), kNoSquare);
    EXPECT_EQ(stepWest(sq("a1")), kNoSquare);
    EXPECT_EQ(stepSouthEast(sq("h5")), kNoSquare);
    EXPECT_EQ(stepKnight1(sq("g7")), kNoSquare);
    EXPECT_EQ(stepKnight6(sq("b3")), kNoSquare);
    EXPECT_EQ(stepEast(kNoSquare), kNoSquare);
}

TEST(Steps, DirectionBetweenTwoSquares) {
    const Square e4 = sq("e4");
    EXPECT_EQ(directionBetween(e4, sq("e7")), stepNorth);
    EXPECT_EQ(directionBetween(e4, sq("e1")), stepSouth);
    EXPECT_EQ(directionBetween(e4, sq("h4")), stepEast);
    EXPECT_EQ(directionBetween(e4, sq("a4")), stepWest);
    EXPECT_EQ(directionBetween(e4, sq("h7")), stepNorthEast);
    EXPECT_EQ(directionBetween(e4, sq("b1")), stepSouthWest);
    EXPECT_EQ(directionBetween(e4, sq("b7")), stepNorthWest);
    EXPECT_EQ(directionBetween(e4, sq("h1")), stepSouthEast);
    EXPECT_EQ(directionBetween(e4, sq("f6")), nullptr);
    EXPECT_EQ(directionBetween(e4, e4), nullptr);
    EXPECT_EQ(directionBetween(e4, kNoSquare), nullptr);
}

TEST(LineRays, HoldTheSquaresOfTheStepRaysNearestFirst) {
    for (std::size_t direction = 0; direction < kLineRays.size(); ++direction)
        for (std::size_t index = 0; index < 64; ++index) {
            const Ray& ray = rayFrom(index, static_cast<Direction>(direction));
            const LineRay& line = kLineRays[direction][index];
            ASSERT_EQ(line.length, ray.length);
            std::uint64_t mask = 0;
            for (std::size_t i = 0; i < ray.length; ++i) {
                EXPECT_EQ(line.squares[i], squareAt(ray.squares[i]));
                EXPECT_EQ(line.quietTargets[i].target, squareAt(ray.squares[i]));
                EXPECT_EQ(line.quietTargets[i].captureSquare, kNoSquare);
                mask |= std::uint64_t{1} << ray.squares[i];
            }
            EXPECT_EQ(line.mask, mask);
        }
}

// The nearest figure counts, whether the ray runs toward higher or lower square indices.
TEST(LineRays, FirstOccupiedIsTheNearestFigureOnTheRay) {
    const std::size_t d4 = squareIndex(sq("d4"));
    std::uint64_t occupied = 0;
    for (const char* name : {"d6", "d8", "d2", "d1", "b4", "g7", "a1", "h4"})
        occupied |= std::uint64_t{1} << squareIndex(sq(name));
    EXPECT_EQ(firstOccupied(d4, dNORTH, occupied), static_cast<int>(squareIndex(sq("d6"))));
    EXPECT_EQ(firstOccupied(d4, dSOUTH, occupied), static_cast<int>(squareIndex(sq("d2"))));
    EXPECT_EQ(firstOccupied(d4, dWEST, occupied), static_cast<int>(squareIndex(sq("b4"))));
    EXPECT_EQ(firstOccupied(d4, dEAST, occupied), static_cast<int>(squareIndex(sq("h4"))));
    EXPECT_EQ(firstOccupied(d4, dNORTH_EAST, occupied), static_cast<int>(squareIndex(sq("g7"))));
    EXPECT_EQ(firstOccupied(d4, dSOUTH_WEST, occupied), static_cast<int>(squareIndex(sq("a1"))));
    EXPECT_EQ(firstOccupied(d4, dNORTH_WEST, occupied), -1);
    EXPECT_EQ(firstOccupied(d4, dSOUTH_EAST, occupied), -1);
    EXPECT_EQ(stepsAlong(d4, dNORTH, squareIndex(sq("d6"))), 2u);
    EXPECT_EQ(stepsAlong(d4, dSOUTH_WEST, squareIndex(sq("a1"))), 3u);
    EXPECT_EQ(stepsAlong(d4, dEAST, squareIndex(sq("h4"))), 4u);
}

TEST(LineRays, LinesThroughASquareAreItsRowColumnAndDiagonals) {
    const std::uint64_t lines = linesThrough(squareIndex(sq("e4")));
    const auto holds = [lines](const char* name) { return ((lines >> squareIndex(sq(name))) & 1u) != 0; };
    for (const char* name : {"e8", "e1", "a4", "h4", "h7", "b1", "a8", "h1"})
        EXPECT_TRUE(holds(name)) << name;
    for (const char* name : {"e4", "f6", "d2", "a1"})
        EXPECT_FALSE(holds(name)) << name;
}

}  // namespace
}  // namespace vek::chess
