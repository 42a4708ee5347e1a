#include <gtest/gtest.h>

#include "app/move_input.h"
#include "chess_test_support.h"

namespace chessapp {
namespace {

using vek::chess::Board;
using vek::chess::testing::setUp;
using vek::chess::testing::sq;

constexpr PromotionPanel kHidden{};

PromotionPanel shownWith(bool bishop, bool knight, bool rook, bool queen) {
    return PromotionPanel{true, bishop, knight, rook, queen};
}

void expectResult(const ClickResult& result, bool handled, PanelAction panel, bool movePlayed) {
    EXPECT_EQ(result.handled, handled);
    EXPECT_EQ(result.panel, panel);
    EXPECT_EQ(result.movePlayed, movePlayed);
}

class MoveInputTest : public ::testing::Test {
protected:
    MoveInputTest() { board.newGame(); }

    ClickResult click(const char* square, const PromotionPanel& panel = kHidden) {
        return input.releaseOn(sq(square), panel);
    }

    Board board;
    MoveInput input{board};
};

TEST(PromotionPanel, TheFirstCheckedButtonOfAShownPanelCounts) {
    EXPECT_EQ(PromotionPanel{}.choice(), 0);
    EXPECT_EQ((PromotionPanel{false, false, false, false, true}.choice()), 0);
    EXPECT_EQ(shownWith(false, false, false, false).choice(), 0);
    EXPECT_EQ(shownWith(false, false, false, true).choice(), vek::chess::QUEEN);
    EXPECT_EQ(shownWith(false, false, true, true).choice(), vek::chess::ROOK);
    EXPECT_EQ(shownWith(false, true, true, true).choice(), vek::chess::KNIGHT);
    EXPECT_EQ(shownWith(true, true, true, true).choice(), vek::chess::BISHOP);
}

TEST_F(MoveInputTest, PickingUpOnlyTakesFiguresOfTheSideToMove) {
    expectResult(click("e4"), true, paKEEP, false);  // empty square
    EXPECT_EQ(input.selectedFigure(), nullptr);
    expectResult(click("e7"), true, paHIDE, false);  // Black's pawn, White to move
    EXPECT_EQ(input.selectedFigure(), nullptr);
    expectResult(click("g1"), true, paKEEP, false);
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("g1")));
}

TEST_F(MoveInputTest, TheOwnSquareKeepsTheFigureAndAnotherRefusedSquareDropsIt) {
    click("g1");
    expectResult(click("g1"), true, paKEEP, false);
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("g1")));
    // A second own figure does not take over the selection.
    expectResult(click("b1"), true, paHIDE, false);
    EXPECT_EQ(input.selectedFigure(), nullptr);
    click("b1");
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("b1")));
    EXPECT_EQ(board.history().getCount(), 0u);
}

TEST_F(MoveInputTest, AnAcceptedMoveIsPlayedAndEndsTheSelection) {
    click("e2");
    expectResult(click("e4"), true, paHIDE, true);
    EXPECT_EQ(input.selectedFigure(), nullptr);
    ASSERT_EQ(board.history().getCount(), 1u);
    EXPECT_EQ(board.history()[0].to, sq("e4"));
    EXPECT_EQ(board.sideToMove(), vek::chess::BLACK);
    click("d7");  // Black moves the same way
    expectResult(click("d5"), true, paHIDE, true);
    EXPECT_EQ(board.history().getCount(), 2u);
}

TEST_F(MoveInputTest, PromotionNeedsAChosenFigure) {
    setUp(board, {"Bb7", "Ke1", "kh8"});
    expectResult(click("b7"), true, paSHOW, false);
    // The panel is shown, but no figure is chosen: the move is refused.
    expectResult(click("b8", shownWith(false, false, false, false)), true, paHIDE, false);
    EXPECT_EQ(input.selectedFigure(), nullptr);

    click("b7");
    expectResult(click("b8", shownWith(false, false, false, true)), true, paHIDE, true);
    EXPECT_EQ(board.figureAt(sq("b8"))->kind(), vek::chess::QUEEN);
    EXPECT_EQ(board.history()[0].promotionKind, vek::chess::QUEEN);
}

TEST_F(MoveInputTest, AShownPanelWithoutChoiceLeavesAnAcceptedMoveUnplayed) {
    click("g1");
    expectResult(click("f3", shownWith(false, false, false, false)), true, paKEEP, false);
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("g1")));
    EXPECT_EQ(board.history().getCount(), 0u);
}

TEST_F(MoveInputTest, BlackPawnsAboutToPromoteShowThePanel) {
    setUp(board, {"Ke1", "kh8", "bc2", "Bd2"}, 'S');
    expectResult(click("c2"), true, paSHOW, false);
    click("c2");
    expectResult(click("c1", shownWith(false, true, false, false)), true, paHIDE, true);
    EXPECT_EQ(board.figureAt(sq("c1"))->kind(), vek::chess::KNIGHT);
    setUp(board, {"Ke1", "kh8", "Bd2"});
    expectResult(click("d2"), true, paKEEP, false);  // a White pawn on row 2 is far from it
}

TEST_F(MoveInputTest, CastlingMovesTheRookInTheSameStep) {
    setUp(board, {"Ke1", "Ta1", "Th1", "ke8"});
    click("e1");
    expectResult(click("c1"), true, paHIDE, true);
    EXPECT_EQ(board.figureAt(sq("c1"))->kind(), vek::chess::KING);
    EXPECT_EQ(board.figureAt(sq("d1"))->kind(), vek::chess::ROOK);
    EXPECT_EQ(board.figureAt(sq("a1")), nullptr);

    setUp(board, {"Ke1", "Ta1", "Th1", "ke8"});
    click("e1");
    expectResult(click("g1"), true, paHIDE, true);
    EXPECT_EQ(board.figureAt(sq("g1"))->kind(), vek::chess::KING);
    EXPECT_EQ(board.figureAt(sq("f1"))->kind(), vek::chess::ROOK);
    EXPECT_NE(board.history()[0].castlingRook, nullptr);
}

TEST_F(MoveInputTest, AfterTheGameFiguresArePickedUpButNeverMoved) {
    for (const char* square : {"f2", "f3", "e7", "e5", "g2", "g4", "d8", "h4"}) {
        click(square);
    }
    ASSERT_EQ(board.state(), vek::chess::BLACK_WINS);
    expectResult(click("a2"), true, paKEEP, false);
    expectResult(click("a3"), true, paHIDE, false);
    EXPECT_EQ(board.history().getCount(), 4u);
}

TEST_F(MoveInputTest, ClicksAreMappedThroughTheView) {
    const BoardGeometry turned{280, 50, true};
    // Turned, the top-left cell is h1 and the bottom-right one a8.
    expectResult(input.release(turned, 285, 5, kHidden), true, paKEEP, false);
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("h1")));
    input.dropSelection();
    input.release(turned, 675, 395, kHidden);
    EXPECT_EQ(input.selectedFigure(), nullptr);  // Black's rook, White to move

    const BoardGeometry normal{280, 50, false};
    input.release(normal, 280 + 4 * 50, 6 * 50, kHidden);  // e2
    EXPECT_EQ(input.release(normal, 280 + 4 * 50, 4 * 50 + 49, kHidden).movePlayed, true);  // e4
}

TEST_F(MoveInputTest, ClicksOffTheBoardOrWithoutABoardChangeNothing) {
    click("g1");
    expectResult(input.release(BoardGeometry{280, 50, false}, 680, 10, kHidden), false, paKEEP, false);
    expectResult(input.release(BoardGeometry{280, 50, false}, 100, 10, kHidden), false, paKEEP, false);
    expectResult(input.release(BoardGeometry{280, 0, false}, 300, 10, kHidden), false, paKEEP, false);
    expectResult(input.release(BoardGeometry{280, -3, false}, 300, 10, kHidden), false, paKEEP, false);
    EXPECT_EQ(input.selectedFigure(), board.figureAt(sq("g1")));
}

TEST_F(MoveInputTest, ANewGameDropsThePickedUpFigure) {
    click("g1");
    input.startNewGame();
    EXPECT_EQ(input.selectedFigure(), nullptr);
    EXPECT_EQ(board.state(), vek::chess::RUNNING);
    click("e2");
    EXPECT_EQ(click("e4").movePlayed, true);
}

}  // namespace
}  // namespace chessapp
