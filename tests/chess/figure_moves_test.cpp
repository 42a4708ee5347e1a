#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::coveredOf;
using testing::play;
using testing::setUp;
using testing::sq;
using testing::targetsOf;
using Names = std::vector<std::string>;

TEST(LineFigures, RookStopsAtItsOwnKingAndCoversIt) {
    Board board;
    setUp(board, {"Ta1", "Ke1", "kh8"});
    EXPECT_EQ(targetsOf(board, "a1"), (Names{"a2", "a3", "a4", "a5", "a6", "a7", "a8", "b1", "c1", "d1"}));
    EXPECT_EQ(coveredOf(board, "a1").back(), "e1");
}

TEST(LineFigures, BishopCoversTheEnemyKingWithoutTargetingIt) {
    Board board;
    setUp(board, {"Lb2", "ke5", "Kh1"}, 'S');
    EXPECT_EQ(targetsOf(board, "b2"), (Names{"c3", "d4", "c1", "a1", "a3"}));
    EXPECT_EQ(coveredOf(board, "b2"), (Names{"c3", "d4", "e5", "c1", "a1", "a3"}));
    EXPECT_FALSE(board.figureAt(sq("b2"))->moves().canCapture);
}

TEST(LineFigures, PinnedQueenWalksOnlyAlongItsPinLine) {
    Board board;
    setUp(board, {"Ke1", "De4", "te8", "ka8"});
    const Figure* queen = board.figureAt(sq("e4"));
    EXPECT_EQ(queen->pinTowardKing(), stepSouth);
    EXPECT_EQ(queen->pinAwayFromKing(), stepNorth);
    EXPECT_EQ(targetsOf(board, "e4"), (Names{"e5", "e6", "e7", "e8", "e3", "e2"}));
    EXPECT_EQ(queen->moves().targets[3].captureSquare, sq("e8"));
}

// A queen in the open reaches the most squares of any figure; her runs are copied whole into
// the record, past the counted entries.
TEST(LineFigures, QueenInTheOpenReachesTwentySevenSquares) {
    Board board;
    setUp(board, {"Dd4", "Kh2", "kb8"});
    EXPECT_EQ(targetsOf(board, "d4"),
              (Names{"d5", "d6", "d7", "d8", "e5", "f6", "g7", "h8", "e4", "f4", "g4", "h4", "e3", "f2", "g1",
                     "d3", "d2", "d1", "c3", "b2", "a1", "c4", "b4", "a4", "c5", "b6", "a7"}));
    EXPECT_EQ(coveredOf(board, "d4").size(), 27u);
}

// A record keeps what earlier lists left past its counts; the split search compares the lists
// that boards leave behind, and must find the same lists equal.
TEST(LineFigures, RecordsWithTheSameListsCompareEqualWhateverLiesPastTheirCounts) {
    Board board;
    setUp(board, {"Dd4", "Kh2", "kb8"});
    FigureMoves reused;
    board.figureAt(sq("d4"))->generateMoves(reused);
    setUp(board, {"Dd4", "Bd5", "Be4", "Bc4", "Bd3", "Be5", "Bc5", "Be3", "Bc3", "Kh2", "kb8"});
    Figure* hemmedIn = board.figureAt(sq("d4"));
    FigureMoves fresh;
    hemmedIn->generateMoves(fresh);
    hemmedIn->generateMoves(reused);
    EXPECT_EQ(reused.targetCount, 0u);
    EXPECT_EQ(reused.coveredCount, 8u);
    EXPECT_TRUE(reused == fresh);
    reused.covered[7] = sq("a1");
    EXPECT_FALSE(reused == fresh);
}

TEST(Knights, CornerKnightJumpsInTableOrder) {
    Board board;
    setUp(board, {"Sa1", "Ke1", "kh8"});
    EXPECT_EQ(targetsOf(board, "a1"), (Names{"b3", "c2"}));
}

TEST(Knights, OwnFiguresAndTheEnemyKingAreCoveredButNoTargets) {
    Board board;
    setUp(board, {"Sd4", "Be6", "tf5", "kf3", "Kh1"}, 'S');
    EXPECT_EQ(targetsOf(board, "d4"), (Names{"f5", "e2", "c2", "b3", "b5", "c6"}));
    EXPECT_EQ(coveredOf(board, "d4"), (Names{"e6", "f5", "f3", "e2", "c2", "b3", "b5", "c6"}));
    EXPECT_TRUE(board.figureAt(sq("d4"))->moves().canCapture);
}

TEST(Pawns, StepOnceOrTwiceFromTheStartRow) {
    Board board;
    setUp(board, {"Be2", "Bd2", "sd3", "Ke1", "ke8"});
    EXPECT_EQ(targetsOf(board, "e2"), (Names{"e3", "e4", "d3"}));
    EXPECT_EQ(coveredOf(board, "e2"), (Names{"f3", "d3"}));
    EXPECT_EQ(targetsOf(board, "d2"), Names{});  // blocked: no double step over d3
}

TEST(Pawns, CaptureTowardHFirstAndNotForward) {
    Board board;
    setUp(board, {"Be4", "bd5", "bf5", "be5", "Ba2", "Ke1", "ke8"});
    EXPECT_EQ(targetsOf(board, "e4"), (Names{"f5", "d5"}));
    EXPECT_EQ(coveredOf(board, "a2"), Names{"b3"});
}

TEST(Pawns, EnemyKingOnTheDiagonalIsACaptureTarget) {
    Board board;
    setUp(board, {"Bd6", "ke7", "Kh1"}, 'S');
    EXPECT_EQ(targetsOf(board, "d6"), (Names{"d7", "e7"}));
    EXPECT_EQ(board.state(), BLACK_IN_CHECK);
}

TEST(Pawns, EnPassantOnlyRightAfterTheDoubleStep) {
    Board board;
    setUp(board, {"Be5", "bd7", "Ke1", "ke8"}, 'S');
    play(board, "d7d5");
    EXPECT_EQ(targetsOf(board, "e5"), (Names{"e6", "d6"}));
    const MoveTarget passing = board.figureAt(sq("e5"))->moves().targets[1];
    EXPECT_EQ(passing.captureSquare, sq("d5"));
    EXPECT_EQ(coveredOf(board, "e5"), (Names{"f6", "d6"}));

    setUp(board, {"Be5", "bd6", "Ke1", "ke8"}, 'S');
    play(board, "d6d5");
    EXPECT_EQ(targetsOf(board, "e5"), Names{"e6"});
}

// A double step recorded for a set-up position changes the last move and no square: the pawn
// beside sees it at the refresh that follows.
TEST(Pawns, EnPassantAfterADoubleStepRecordedForASetUpPosition) {
    Board board;
    setUp(board, {"Be5", "bd5", "Ke1", "ke8"}, 'W');
    EXPECT_EQ(targetsOf(board, "e5"), Names{"e6"});
    ASSERT_TRUE(board.recordDoubleStep(sq("d5")));
    EXPECT_EQ(targetsOf(board, "e5"), (Names{"e6", "d6"}));
}

TEST(Pawns, BlackTakesEnPassantOnItsFourthRow) {
    Board board;
    setUp(board, {"bd4", "Be2", "Ke1", "ke8"});
    play(board, "e2e4");
    EXPECT_EQ(targetsOf(board, "d4"), (Names{"d3", "e3"}));
    EXPECT_EQ(board.figureAt(sq("d4"))->moves().targets[1].captureSquare, sq("e4"));
}

TEST(Values, PawnsGainValueAsTheyAdvance) {
    Board board;
    const struct {
        Colour colour;
        const char* square;
        int value;
    } cases[] = {{WHITE, "e2", 1}, {WHITE, "e5", 1}, {WHITE, "e6", 2}, {WHITE, "e7", 3}, {WHITE, "e8", 4},
                 {BLACK, "e7", 1}, {BLACK, "e4", 1}, {BLACK, "e3", 2}, {BLACK, "e2", 3}, {BLACK, "e1", 4}};
    for (const auto& c : cases)
        EXPECT_EQ(board.createFigure(c.colour, PAWN, sq(c.square), true)->value(), c.value) << c.square;
    const int values[] = {3, 3, 5, 8, 2};
    for (int kind = KNIGHT; kind <= KING; ++kind)
        EXPECT_EQ(board.createFigure(WHITE, static_cast<FigureKind>(kind), sq("a1"), true)->value(),
                  values[kind - KNIGHT]);
}

}  // namespace
}  // namespace vek::chess
