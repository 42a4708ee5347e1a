// The engine's own move: legal in standard chess, even where the board's lists offer more.
#include <string>

#include <gtest/gtest.h>

#include "chess/random.h"
#include "uci/board_game.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"
#include "uci/root_choice.h"

namespace vek::uci {
namespace {

void setUp(chess::Board& board, const char* fen) {
    std::string error;
    const auto position = parseFen(fen, error);
    ASSERT_TRUE(position) << error;
    ASSERT_TRUE(setUpBoard(board, *position));
}

bool boardOffers(const chess::Board& board, const char* text) {
    const StandardMove wanted = parseMove(text).value();
    for (const chess::Move& candidate : board.listAllMoves())
        if (standardMoveOf(candidate) == wanted)
            return true;
    return false;
}

// The pawn e3 shields its king from the rook e6, which the board's pin test misses: its lists
// offer e3xd4, a pawn won, that leaves the king attacked.
TEST(RootChoice, NeverLeavesTheOwnKingAttacked) {
    chess::seedEngineRandom(11);
    chess::Board board;
    setUp(board, "1nbq1bn1/2pkpp1r/4r2p/PN3PpQ/2Pp4/3PP2P/P2N2PR/R1B1KB2 w - - 0 1");
    ASSERT_TRUE(boardOffers(board, "e3d4"));
    for (const std::int32_t depth : {1, 1, 1, 2}) {
        const auto choice = chooseRootMove(board, depth);
        ASSERT_TRUE(choice);
        EXPECT_NE(moveText(choice->move), "e3d4");
        EXPECT_TRUE(isLegal(standardPositionOf(board), choice->move)) << moveText(choice->move);
        EXPECT_EQ(choice->legalCount, legalMoves(standardPositionOf(board)).size());
    }
}

TEST(RootChoice, TakesTheBestScoreForTheSideToMove) {
    chess::Board board;
    setUp(board, "4k3/8/8/r2Q4/8/8/8/4K3 w - - 0 1");  // the queen takes the rook
    const auto white = chooseRootMove(board, 1);
    ASSERT_TRUE(white);
    EXPECT_EQ(moveText(white->move), "d5a5");
    EXPECT_GT(white->score, 0);
    setUp(board, "4k3/8/8/R2q4/8/8/8/4K3 b - - 0 1");
    const auto black = chooseRootMove(board, 1);
    ASSERT_TRUE(black);
    EXPECT_EQ(moveText(black->move), "d5a5");
    EXPECT_LT(black->score, 0);
}

TEST(RootChoice, NoneWhenMatedOrStalemated) {
    chess::Board board;
    setUp(board, "r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4");
    EXPECT_FALSE(chooseRootMove(board, 2));
    setUp(board, "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_FALSE(chooseRootMove(board, 2));
}

}  // namespace
}  // namespace vek::uci
