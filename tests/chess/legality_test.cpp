#include <algorithm>

#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::setUp;
using testing::sq;
using testing::targetsOf;

bool rejected(const Board& board, const char* from, const char* to, int kind = 0) {
    return board.isMoveRejected(board.figureAt(sq(from)), sq(from), sq(to), kind);
}

TEST(MoveRejection, NothingOutsideARunningGame) {
    Board board;
    EXPECT_TRUE(board.isMoveRejected(nullptr, sq("e2"), sq("e4"), 0));
    setUp(board, {"Kh1", "Bg2", "Bh2", "ta1", "ka8"});  // mate
    EXPECT_TRUE(rejected(board, "g2", "g3"));
}

TEST(MoveRejection, OnlyFiguresOfTheSideToMove) {
    Board board;
    board.newGame();
    EXPECT_FALSE(rejected(board, "e2", "e4"));
    EXPECT_TRUE(rejected(board, "e7", "e5"));
    EXPECT_TRUE(rejected(board, "e3", "e4"));  // no figure there
}

TEST(MoveRejection, PromotionNeedsAPawnOnTheLastRowAndAKindFromKnightToQueen) {
    Board board;
    setUp(board, {"Bb7", "Bc2", "ta8", "Ke1", "kh8"});
    EXPECT_TRUE(rejected(board, "b7", "b8"));
    EXPECT_TRUE(rejected(board, "b7", "b8", PAWN));
    EXPECT_TRUE(rejected(board, "b7", "b8", KING));
    for (const int kind : {KNIGHT, BISHOP, ROOK, QUEEN})
        EXPECT_FALSE(rejected(board, "b7", "b8", kind)) << kind;
    EXPECT_FALSE(rejected(board, "b7", "a8", QUEEN));
    EXPECT_TRUE(rejected(board, "c2", "c3", QUEEN));
    EXPECT_FALSE(rejected(board, "c2", "c3"));
    EXPECT_TRUE(rejected(board, "e1", "e2", QUEEN));
}

TEST(MoveRejection, OnlyToStoredTargets) {
    Board board;
    board.newGame();
    EXPECT_TRUE(rejected(board, "e2", "e5"));
    EXPECT_TRUE(rejected(board, "g1", "g3"));
    EXPECT_FALSE(rejected(board, "g1", "f3"));
}

TEST(MoveRejection, InCheckEveryCheckerMustBeBlockedOrTaken) {
    Board board;
    setUp(board, {"Ke1", "te5", "Ta3", "Sg1", "Lb2", "kg8"});
    ASSERT_EQ(board.state(), WHITE_IN_CHECK);
    EXPECT_FALSE(rejected(board, "a3", "e3"));  // blocks
    EXPECT_FALSE(rejected(board, "b2", "e5"));  // takes the rook
    EXPECT_TRUE(rejected(board, "g1", "f3"));
    EXPECT_TRUE(rejected(board, "a3", "a4"));
    EXPECT_EQ(board.whiteKing()->findCheckingFigure(sq("g1"), sq("f3")), board.figureAt(sq("e5")));
    EXPECT_EQ(board.whiteKing()->findCheckingFigure(sq("a3"), sq("e3")), nullptr);
    const auto kingTargets = targetsOf(board, "e1");
    EXPECT_EQ(std::count(kingTargets.begin(), kingTargets.end(), "e2"), 0);  // no step along the check line
    EXPECT_FALSE(rejected(board, "e1", "d1"));  // king targets are safe already
}

TEST(MoveRejection, ProbeLineTreatsTheFromSquareAsEmptyAndTheTargetAsBlocked) {
    Board board;
    setUp(board, {"Ke1", "Te2", "te8", "ka8"});
    const King* king = board.whiteKing();
    EXPECT_EQ(king->probeLine(stepNorth, sq("a1"), sq("a2"), 8).figure, nullptr);  // the rook e2 shields
    const RayProbe exposed = king->probeLine(stepNorth, sq("e2"), sq("d2"), 8);
    EXPECT_EQ(exposed.figure, nullptr);  // the rook e8 covers only down to e2 in the stored lists
    setUp(board, {"Ke1", "te8", "ka8"});
    const RayProbe checker = board.whiteKing()->probeLine(stepNorth, sq("a1"), sq("a2"), 8);
    EXPECT_EQ(checker.figure, board.figureAt(sq("e8")));
    EXPECT_EQ(checker.distance, 7);
    EXPECT_EQ(board.whiteKing()->probeLine(stepNorth, sq("a1"), sq("e5"), 8).figure, nullptr);
}

}  // namespace
}  // namespace vek::chess
