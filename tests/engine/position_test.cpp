// The engine's board: its move generator counted against the known perft totals, with the
// incrementally kept key checked against one computed afresh at every node of the walk.
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/position.h"
#include "tests/engine/fen_position.h"

namespace vek::engine {
namespace {

using testing::positionFromFen;

// The leaves `depth` plies below, counting only legal moves; every key met on the way, after a
// make and after an undo, must equal the one computed from scratch.
std::uint64_t perft(Position& position, int depth) {
    if (depth == 0)
        return 1;
    MoveBuffer buffer;
    position.generate(buffer, false);
    std::uint64_t leaves = 0;
    for (std::size_t i = 0; i < buffer.count; ++i) {
        if (!position.make(buffer.moves[i]))
            continue;
        EXPECT_EQ(position.key(), position.computeKey());
        leaves += perft(position, depth - 1);
        position.undo();
        EXPECT_EQ(position.key(), position.computeKey());
    }
    return leaves;
}

struct PerftCase {
    const char* fen;
    int depth;
    std::uint64_t leaves;
};

TEST(EnginePosition, PerftMatchesTheKnownTotalsAndKeysStayExact) {
    // The start, "Kiwipete" (castling, en passant, promotions, pins) and an endgame rich in
    // en passant and discovered checks.
    const PerftCase cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
    };
    for (const PerftCase& c : cases) {
        Position position = positionFromFen(c.fen);
        const std::uint64_t key = position.key();
        EXPECT_EQ(perft(position, c.depth), c.leaves) << c.fen;
        EXPECT_EQ(position.key(), key) << c.fen;
    }
}

}  // namespace
}  // namespace vek::engine
