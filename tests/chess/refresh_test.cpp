#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::play;
using testing::setUp;
using testing::sq;
using testing::targetsOf;
using Names = std::vector<std::string>;

// Lists that a refresh keeps must be those it would generate: trial moves open and close lines
// between refreshes, also when they are taken back without one.
TEST(RefreshLists, StayTrueAfterTrialMovesAreTakenBack) {
    Board board;
    setUp(board, {"Ta1", "Ba2", "Lc1", "Sb1", "Ke1", "ke8", "ba7"});
    const Names rookBefore = targetsOf(board, "a1");
    const Names bishopBefore = targetsOf(board, "c1");
    MoveList list = board.listAllMoves();
    for (Move& move : list) {
        board.applyMove(move);
        board.refresh();
        board.takeBack(move);
    }
    board.refresh();
    EXPECT_EQ(targetsOf(board, "a1"), rookBefore);
    EXPECT_EQ(targetsOf(board, "c1"), bishopBefore);
}

TEST(RefreshLists, AfterATrialMoveMatchThoseOfTheSamePositionLoaded) {
    Board board;
    setUp(board, {"Ta1", "Ba2", "Lc1", "Sb1", "Ke1", "ke8", "ba7"});
    Move advance;
    advance.figure = board.figureAt(sq("a2"));
    advance.from = sq("a2");
    advance.to = sq("a4");
    board.applyMove(advance);
    board.refresh();
    Board loaded;
    setUp(loaded, {"Ta1", "Ba4", "Lc1", "Sb1", "Ke1", "ke8", "ba7"});
    for (const char* square : {"a1", "a4", "c1", "b1", "e1", "e8", "a7"}) {
        EXPECT_EQ(targetsOf(board, square), targetsOf(loaded, square)) << square;
        EXPECT_EQ(testing::coveredOf(board, square), testing::coveredOf(loaded, square)) << square;
    }
}

TEST(Pins, RookOnALowerSquarePinsTheBishopOnTheFirstRefresh) {
    Board board;
    setUp(board, {"ke8", "le7", "Te1", "Kh1"}, 'W', false);
    const Figure* bishop = board.figureAt(sq("e7"));
    EXPECT_EQ(bishop->pinTowardKing(), stepNorth);
    EXPECT_EQ(bishop->pinAwayFromKing(), stepSouth);
    EXPECT_EQ(targetsOf(board, "e7"), Names{});
}

TEST(Pins, FiguresBetweenThePinnedFigureAndItsKingAreIgnored) {
    Board board;
    setUp(board, {"ke8", "se7", "le6", "Te1", "Kh1"}, 'W', false);
    EXPECT_EQ(board.figureAt(sq("e6"))->pinAwayFromKing(), stepSouth);
    EXPECT_EQ(targetsOf(board, "e6"), Names{});
    EXPECT_EQ(board.figureAt(sq("e7"))->pinAwayFromKing(), nullptr);
    EXPECT_FALSE(targetsOf(board, "e7").empty());
}

TEST(Pins, PinnerOnAHigherSquareIsSeenFromTheSecondRefreshOn) {
    Board board;
    setUp(board, {"Ke1", "Le2", "te8", "ka8"}, 'W', false);
    EXPECT_EQ(board.figureAt(sq("e2"))->pinAwayFromKing(), nullptr);
    EXPECT_FALSE(targetsOf(board, "e2").empty());
    board.refresh();
    EXPECT_EQ(board.figureAt(sq("e2"))->pinAwayFromKing(), stepNorth);
    EXPECT_EQ(targetsOf(board, "e2"), Names{});
}

TEST(Pins, PinnedKnightNeitherMovesNorCovers) {
    Board board;
    setUp(board, {"Ke1", "Se2", "te8", "ka8"});
    EXPECT_EQ(board.figureAt(sq("e2"))->moves().targetCount, 0u);
    EXPECT_EQ(board.figureAt(sq("e2"))->moves().coveredCount, 0u);
}

TEST(GameStates, CheckWithAnAnswerKeepsTheGameRunning) {
    Board board;
    setUp(board, {"Ke1", "te8", "ka8"});
    EXPECT_EQ(board.state(), WHITE_IN_CHECK);
}

TEST(GameStates, CheckWithoutAnyAnswerIsMate) {
    Board board;
    setUp(board, {"Kh1", "Bg2", "Bh2", "ta1", "ka8"});
    EXPECT_EQ(board.state(), BLACK_WINS);
    setUp(board, {"kh8", "bg7", "bh7", "Ta8", "Ka1"}, 'S');
    EXPECT_EQ(board.state(), WHITE_WINS);
}

TEST(GameStates, NoMoveWithoutCheckIsStalemate) {
    Board board;
    setUp(board, {"ka8", "Db6", "Kh1"}, 'S');
    EXPECT_EQ(board.state(), STALEMATE);
}

TEST(GameStates, RefreshOfAFinishedGameRecomputesTheFiguresOnly) {
    Board board;
    setUp(board, {"ka8", "Db6", "Kh1"}, 'S');
    Move move;
    move.figure = board.figureAt(sq("b6"));
    move.from = sq("b6");
    move.to = sq("c6");
    board.applyMove(move);
    board.refresh();
    EXPECT_EQ(board.state(), STALEMATE);
    EXPECT_EQ(targetsOf(board, "c6").front(), "c7");
}

TEST(GameStates, LeavingTheOwnKingAttackedLosesTheGame) {
    Board board;
    setUp(board, {"Ke1", "Bf2", "lh4", "ka8"});
    const Figure* pawn = board.figureAt(sq("f2"));
    EXPECT_FALSE(board.isMoveRejected(pawn, sq("f2"), sq("f3"), 0));  // the uncovered line is not seen
    play(board, "f2f3");
    EXPECT_EQ(board.state(), BLACK_WINS);
}

TEST(GameStates, WhenBothKingsAreAttackedTheLowestSquareDecides) {
    Board board;
    setUp(board, {"Ta1", "ka8", "th8", "Kh1"}, 'S');
    EXPECT_EQ(board.state(), BLACK_IN_CHECK);
}

}  // namespace
}  // namespace vek::chess
