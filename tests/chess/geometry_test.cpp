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

}  // namespace
}  // namespace vek::chess
