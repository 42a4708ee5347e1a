// The engine's evaluation: the same for both colours, and a pawn race seen statically.
#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/evaluation.h"
#include "tests/engine/fen_position.h"

namespace vek::engine {
namespace {

using testing::positionFromFen;

// The position with the board turned over and the colours swapped: White's pieces become
// Black's on the mirrored squares, and the other side moves.
Position mirrored(const Position& position) {
    std::array<std::int8_t, 64> squares{};
    for (int square = 0; square < 64; ++square)
        squares[static_cast<std::size_t>(square ^ 56)] = static_cast<std::int8_t>(-position.pieceAt(square));
    const unsigned castling = ((position.castling() & 3u) << 2) | ((position.castling() >> 2) & 3u);
    const auto rook = [&position](int right) { return static_cast<std::int8_t>(position.castlingRook(right) ^ 56); };
    const int enPassant = position.enPassant() >= 0 ? position.enPassant() ^ 56 : -1;
    return Position::fromSquares(squares, chess::opponent(position.sideToMove()), castling,
                                 {rook(2), rook(3), rook(0), rook(1)}, position.isChess960(), enPassant, 0, 1);
}

TEST(EngineEvaluation, ScoresBothColoursAlike) {
    // Tables read the wrong way for one colour show as a difference here.
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r1bq1rk1/ppp1npbp/3p1np1/3Pp3/2P1P3/2N2N2/PP2BPPP/R1BQ1RK1 w - - 1 9",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "6k1/5ppp/8/8/8/8/2P5/R5K1 b - - 0 1",
    };
    for (const char* fen : fens) {
        const Position position = positionFromFen(fen);
        EXPECT_EQ(evaluate(position), evaluate(mirrored(position))) << fen;
    }
}

TEST(EngineEvaluation, APawnTheKingCannotCatchIsNearlyAQueen) {
    // The black king on a4 is one move too slow for the pawn on g2 when White moves first.
    EXPECT_GT(evaluate(positionFromFen("8/8/8/8/k7/8/6P1/6K1 w - - 0 1")), 500);
    EXPECT_GT(evaluate(positionFromFen("8/8/8/8/k7/8/6P1/6K1 b - - 0 1")), -300);
}

}  // namespace
}  // namespace vek::engine
