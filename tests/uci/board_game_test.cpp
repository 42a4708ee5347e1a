// The rules of standard chess against the known move counts of well-studied positions, and the
// board's game against them move by move.
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "uci/board_game.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"
#include "uci/standard_rules.h"

namespace vek::uci {
namespace {

StandardPosition fenPosition(const char* fen) {
    std::string error;
    const auto position = parseFen(fen, error);
    EXPECT_TRUE(position) << fen << ": " << error;
    return position.value_or(StandardPosition{});
}

std::uint64_t leafCount(const StandardPosition& position, int depth) {
    if (depth == 0)
        return 1;
    std::uint64_t count = 0;
    for (const StandardMove move : legalMoves(position))
        count += leafCount(afterMove(position, move), depth - 1);
    return count;
}

struct Perft {
    const char* fen;
    int depth;
    std::uint64_t leaves;
};

// Positions full of castlings, en passant captures, promotions, pins and discovered checks.
TEST(StandardRules, LeafCountsOfWellStudiedPositions) {
    const Perft cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 8902},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486},
    };
    for (const Perft& perft : cases)
        EXPECT_EQ(leafCount(fenPosition(perft.fen), perft.depth), perft.leaves) << perft.fen;
}

TEST(StandardRules, CheckAndAttacks) {
    const StandardPosition scholar = fenPosition("r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4");
    EXPECT_TRUE(isInCheck(scholar));
    EXPECT_TRUE(legalMoves(scholar).empty());  // mate
    const StandardPosition stalemate = fenPosition("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_FALSE(isInCheck(stalemate));
    EXPECT_TRUE(legalMoves(stalemate).empty());
    // A pawn attacks forward only, toward its own side's far row.
    EXPECT_TRUE(isAttacked(stalemate, parseSquare("h8").value(), chess::WHITE) == false);
    const StandardPosition pawns = fenPosition("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(isAttacked(pawns, parseSquare("d5").value(), chess::WHITE));
    EXPECT_TRUE(isAttacked(pawns, parseSquare("e4").value(), chess::BLACK));
    EXPECT_FALSE(isAttacked(pawns, parseSquare("e5").value(), chess::BLACK));
    EXPECT_FALSE(isAttacked(pawns, parseSquare("d3").value(), chess::WHITE));
}

TEST(StandardRules, MovesAdvanceTheCountersOfTheDrawRules) {
    StandardPosition position = fenPosition("4k3/8/8/8/8/8/4P3/R3K3 w - - 7 30");
    const auto play = [&position](const char* move) { position = afterMove(position, parseMove(move).value()); };
    play("a1a5");
    EXPECT_EQ(position.halfmoveClock, 8);
    EXPECT_EQ(position.fullmoveNumber, 30);
    play("e8d7");
    EXPECT_EQ(position.halfmoveClock, 9);
    EXPECT_EQ(position.fullmoveNumber, 31);
    play("e2e4");  // a pawn move
    EXPECT_EQ(position.halfmoveClock, 0);
    play("d7d6");
    play("a5a8");
    play("d6d5");
    play("e4d5");  // a capture (and a pawn move)
    EXPECT_EQ(position.halfmoveClock, 0);
    EXPECT_EQ(position.fullmoveNumber, 33);
}

// Random games played both ways: the standard rules' position after each move, and the
// board's game read back as such a position, castling rights and en passant included.
TEST(BoardGame, TheBoardFollowsTheStandardGameMoveByMove) {
    std::mt19937 random(2024);
    int games = 0;
    for (const char* fen : {kStartFen.data(), "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"}) {
        for (int game = 0; game < 12; ++game, ++games) {
            StandardPosition expected = fenPosition(fen);
            chess::Board board;
            ASSERT_TRUE(setUpBoard(board, expected));
            for (int ply = 0; ply < 120; ++ply) {
                const StandardPosition actual = standardPositionOf(board);
                ASSERT_EQ(actual.squares, expected.squares) << "game " << games << " ply " << ply;
                ASSERT_EQ(actual.side, expected.side);
                ASSERT_EQ(actual.castling, expected.castling) << "game " << games << " ply " << ply;
                ASSERT_EQ(actual.enPassant, expected.enPassant) << "game " << games << " ply " << ply;
                const auto moves = legalMoves(expected);
                if (moves.empty())
                    break;
                const StandardMove move = moves[random() % moves.size()];
                playStandardMove(board, move);
                expected = afterMove(expected, move);
            }
        }
    }
}

}  // namespace
}  // namespace vek::uci
