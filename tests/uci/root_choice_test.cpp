// The Minimax search's move: legal, even where the board's lists offer more.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chess/random.h"
#include "uci/board_game.h"
#include "uci/engine_game.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"
#include "uci/root_choice.h"

namespace vek::uci {
namespace {

// Sets the board up and answers the legal moves of the position.
std::vector<engine::Move> setUp(chess::Board& board, const char* fen) {
    std::string error;
    const auto setup = parseFen(fen, error);
    EXPECT_TRUE(setup) << error;
    EXPECT_TRUE(setup && setUpBoard(board, *setup));
    return setup ? enginePosition(*setup).legalMoves() : std::vector<engine::Move>{};
}

bool boardOffers(const chess::Board& board, const char* text) {
    const engine::Move wanted = parseMove(text).value();
    for (const chess::Move& candidate : board.listAllMoves())
        if (moveOf(candidate) == wanted)
            return true;
    return false;
}

// The pawn e3 shields its king from the rook e6, which the board's pin test misses: its lists
// offer e3xd4, a pawn won, that leaves the king attacked.
TEST(RootChoice, NeverLeavesTheOwnKingAttacked) {
    chess::seedEngineRandom(11);
    chess::Board board;
    const auto legal = setUp(board, "1nbq1bn1/2pkpp1r/4r2p/PN3PpQ/2Pp4/3PP2P/P2N2PR/R1B1KB2 w - - 0 1");
    ASSERT_TRUE(boardOffers(board, "e3d4"));
    for (const std::int32_t depth : {1, 1, 1, 2}) {
        const auto choice = chooseRootMove(board, legal, depth);
        ASSERT_TRUE(choice);
        EXPECT_NE(moveText(choice->move), "e3d4");
        EXPECT_NE(std::find(legal.begin(), legal.end(), choice->move), legal.end()) << moveText(choice->move);
        EXPECT_EQ(choice->legalCount, legal.size());
    }
}

TEST(RootChoice, TakesTheBestScoreForTheSideToMove) {
    chess::Board board;
    const auto whiteMoves = setUp(board, "4k3/8/8/r2Q4/8/8/8/4K3 w - - 0 1");  // the queen takes the rook
    const auto white = chooseRootMove(board, whiteMoves, 1);
    ASSERT_TRUE(white);
    EXPECT_EQ(moveText(white->move), "d5a5");
    EXPECT_GT(white->score, 0);
    const auto blackMoves = setUp(board, "4k3/8/8/R2q4/8/8/8/4K3 b - - 0 1");
    const auto black = chooseRootMove(board, blackMoves, 1);
    ASSERT_TRUE(black);
    EXPECT_EQ(moveText(black->move), "d5a5");
    EXPECT_LT(black->score, 0);
}

TEST(RootChoice, NoneWhenMatedOrStalemated) {
    chess::Board board;
    for (const char* fen : {"r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"}) {
        const auto legal = setUp(board, fen);
        EXPECT_TRUE(legal.empty());
        EXPECT_FALSE(chooseRootMove(board, legal, 2));
    }
}

}  // namespace
}  // namespace vek::uci
