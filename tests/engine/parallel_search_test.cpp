// The search on several threads sharing one table (also run under ThreadSanitizer).
#include <algorithm>
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include "engine/history.h"
#include "engine/search.h"
#include "engine/transposition.h"
#include "engine/worker.h"
#include "tests/engine/fen_position.h"

namespace vek::engine {
namespace {

TEST(EngineParallelSearch, HelpersShareTheTableAndTheMainThreadAnswers) {
    const Position position =
        testing::positionFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    Searcher searcher(8);
    searcher.setThreads(3);
    const std::atomic<bool> stop{false};
    Limits limits;
    limits.depth = 5;
    int lastDepth = 0;
    std::uint64_t lastNodes = 0;
    for (int round = 0; round < 2; ++round) {
        const auto best = searcher.search(
            position, limits, stop, deepenAlways,
            [&](const Report& report) {
                lastDepth = report.depth;
                lastNodes = report.nodes;
            });
        ASSERT_TRUE(best.has_value());
        const auto legal = position.legalMoves();
        EXPECT_NE(std::find(legal.begin(), legal.end(), *best), legal.end());
        EXPECT_EQ(lastDepth, 5);
        EXPECT_GT(lastNodes, 0u);
    }
}

// A depth taken over from a helper leads the next depth: its move is searched first, so that a
// depth stopped part-way answers that move, or one that beat it, never a move that was not
// compared with it.
TEST(EngineParallelSearch, ADepthTakenOverLeadsTheNextDepth) {
    const Position position =
        testing::positionFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    const std::vector<Move> roots = position.legalMoves();
    TranspositionTable table(1);
    const std::atomic<bool> stop{false};
    SharedSearch shared(stop, table, 0);
    History history;
    std::vector<Move> firstOfDepth(8, kNoMove);
    WorkerEvents events;
    events.rootMoveBegun = [&](int depth, Move move, int number) {
        if (number == 1)
            firstOfDepth[static_cast<std::size_t>(depth)] = move;
    };
    Worker main(position, roots, shared, history, &events);
    for (int depth = 1; depth <= 2; ++depth) {
        main.searchRoot(depth, 1);
        main.sortRoots();
    }
    // The helper's move is the one the main thread would search last.
    const Move own = main.result(2)->lines.front().pv.front();
    const Move helpers = roots.back() == own ? roots.front() : roots.back();
    main.adopt(DepthResult{3, 5, {Line{12, bdEXACT, {helpers}}}});
    main.sortRoots();
    main.searchRoot(4, 1);
    EXPECT_EQ(firstOfDepth[4], helpers);
    EXPECT_NE(firstOfDepth[2], helpers);
}

}  // namespace
}  // namespace vek::engine
