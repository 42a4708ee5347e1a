#include <gtest/gtest.h>

#include "app/board_snapshot.h"
#include "chess_test_support.h"

namespace chessapp {
namespace {

using vek::chess::Board;
using vek::chess::testing::FakeTime;
using vek::chess::testing::play;
using vek::chess::testing::sq;

TEST(BoardSnapshot, CopiesSquaresSelectionTargetsAndClocks) {
    FakeTime::now = 1000;
    Board board(FakeTime::tick);
    board.newGame();
    FakeTime::now = 4000;
    const BoardSnapshot snapshot = BoardSnapshot::of(board, board.figureAt(sq("g1")));

    const SquareView& knight = snapshot.squares[vek::chess::squareIndex(sq("g1"))];
    EXPECT_TRUE(knight.occupied);
    EXPECT_EQ(knight.colour, vek::chess::WHITE);
    EXPECT_EQ(knight.kind, vek::chess::KNIGHT);
    const SquareView& king = snapshot.squares[vek::chess::squareIndex(sq("e8"))];
    EXPECT_EQ(king.colour, vek::chess::BLACK);
    EXPECT_EQ(king.kind, vek::chess::KING);
    EXPECT_FALSE(snapshot.squares[vek::chess::squareIndex(sq("e4"))].occupied);

    ASSERT_EQ(snapshot.selected, sq("g1"));
    ASSERT_EQ(snapshot.targetCount, 2u);
    EXPECT_EQ(snapshot.targets[0], sq("h3"));
    EXPECT_EQ(snapshot.targets[1], sq("f3"));
    EXPECT_EQ(snapshot.whiteClock.shown(FakeTime::now), 3000);
    EXPECT_EQ(snapshot.blackClock.shown(FakeTime::now), 0);

    EXPECT_FALSE(BoardSnapshot::of(board, nullptr).selected);
}

TEST(BoardSnapshot, TheFrozenCopyIgnoresLaterChangesUntilThawed) {
    Board board;
    board.newGame();
    BoardViewSource source;
    EXPECT_FALSE(source.isFrozen());
    source.freeze(board, board.figureAt(sq("e2")));
    play(board, "e2e4");  // what the engine thread would do meanwhile

    const BoardSnapshot frozen = source.current(board, nullptr);
    EXPECT_TRUE(frozen.squares[vek::chess::squareIndex(sq("e2"))].occupied);
    EXPECT_FALSE(frozen.squares[vek::chess::squareIndex(sq("e4"))].occupied);
    EXPECT_EQ(frozen.selected, sq("e2"));
    EXPECT_TRUE(frozen.whiteClock.running);

    source.thaw();
    const BoardSnapshot live = source.current(board, nullptr);
    EXPECT_TRUE(live.squares[vek::chess::squareIndex(sq("e4"))].occupied);
    EXPECT_FALSE(live.selected);
    EXPECT_TRUE(live.blackClock.running);
}

TEST(BoardSnapshot, ACapturedSelectionIsNotMarked) {
    Board board;
    board.newGame();
    for (const char* move : {"e2e4", "d7d5", "e4d5"})
        play(board, move);
    const vek::chess::Figure* captured = board.history()[2].captured;
    ASSERT_NE(captured, nullptr);
    const BoardSnapshot snapshot = BoardSnapshot::of(board, captured);
    EXPECT_FALSE(snapshot.selected);
    EXPECT_EQ(snapshot.targetCount, 0u);
}

}  // namespace
}  // namespace chessapp
