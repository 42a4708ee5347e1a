// The engine's board: its move generator counted against the known perft totals, with the
// incrementally kept key checked against one computed afresh at every node of the walk.
#include <cstdint>
#include <span>

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

// Each case's total, its position read by the rules of standard chess or Chess960, and its key
// as it was once the walk is done.
void expectTotals(std::span<const PerftCase> cases, bool chess960) {
    for (const PerftCase& c : cases) {
        Position position = positionFromFen(c.fen, 0, 1, chess960);
        const std::uint64_t key = position.key();
        EXPECT_EQ(perft(position, c.depth), c.leaves) << c.fen;
        EXPECT_EQ(position.key(), key) << c.fen;
    }
}

TEST(EnginePosition, PerftMatchesTheKnownTotalsAndKeysStayExact) {
    // The start, "Kiwipete" (castling, en passant, promotions, pins), an endgame rich in en
    // passant and discovered checks, and two full of promotions and checks.
    const PerftCase cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
    };
    expectTotals(cases, false);
}

// Chess960 castling, its rights in Shredder-FEN: king and rook side by side, trading squares,
// the king already on its target, the rook blocked by the other, castling through check, and
// the rook that shields its king along the back rank (leaving, it would give check); then two
// middlegames. The totals are Stockfish's ("go perft" with UCI_Chess960). The standard start
// read as Chess960 keeps its total and its key: standard rooks are keyed as ever.
TEST(EnginePosition, Chess960PerftMatchesStockfishAndKeysStayExact) {
    const PerftCase cases[] = {
        {"r2k3r/8/8/8/8/8/8/1R1KR3 w BEah - 0 1", 3, 12598},
        {"2rk3r/8/8/8/8/8/8/2RK3R w CHch - 0 1", 3, 9924},
        {"1r4kr/8/8/8/8/8/8/1R4KR w BHbh - 0 1", 3, 10954},
        {"5rkr/8/8/8/8/8/8/5RKR w FHfh - 0 1", 3, 6961},
        {"3r1k2/8/8/8/8/8/8/RK2R3 w AE - 0 1", 3, 6984},
        {"4k3/8/8/8/8/8/8/rRK5 w B - 0 1", 4, 12489},
        {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 3, 12189},
        {"2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9", 3, 18002},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 8902},
    };
    expectTotals(cases, true);
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(positionFromFen(start, 0, 1, true).key(), positionFromFen(start).key());
    // A right is keyed by its rook: the same figures with the right on the other rook differ.
    EXPECT_NE(positionFromFen("1k6/8/8/8/8/8/8/1K2R2R w E - 0 1", 0, 1, true).key(),
              positionFromFen("1k6/8/8/8/8/8/8/1K2R2R w H - 0 1", 0, 1, true).key());
}

// The material won by a capture when both sides go on taking on its square with their least
// valuable figure while it pays.
TEST(EnginePosition, ExchangesCountTheWholeSequence) {
    struct Exchange {
        const char* fen;
        Move capture;
        int gain;
    };
    const auto at = [](const char* name) { return static_cast<std::uint8_t>((name[1] - '1') * 8 + (name[0] - 'a')); };
    const Exchange cases[] = {
        {"4k3/8/3p4/4n3/8/8/1B6/4K3 w - - 0 1", {at("b2"), at("e5"), 0}, 0},            // minor for minor: even
        {"4k3/8/3p4/4p3/8/5N2/8/4K3 w - - 0 1", {at("f3"), at("e5"), 0}, 100 - 325},     // knight for a pawn
        {"4k3/8/8/4n3/8/8/8/4RK2 w - - 0 1", {at("e1"), at("e5"), 0}, 325},              // a free knight
        {"4r1k1/8/8/4p3/8/8/4R3/4R1K1 w - - 0 1", {at("e2"), at("e5"), 0}, 100},        // the rook behind
        {"4r1k1/4r3/8/4p3/8/8/4R3/4R1K1 w - - 0 1", {at("e2"), at("e5"), 0}, -400},    // and the one behind it
        {"4k3/8/3p4/4p3/8/8/8/4QK2 w - - 0 1", {at("e1"), at("e5"), 0}, 100 - 950},      // the queen for a pawn
    };
    for (const Exchange& exchange : cases)
        EXPECT_EQ(positionFromFen(exchange.fen).exchangeGain(exchange.capture), exchange.gain) << exchange.fen;
}

}  // namespace
}  // namespace vek::engine
