// The search on several threads sharing one table (also run under ThreadSanitizer).
#include <algorithm>
#include <atomic>

#include <gtest/gtest.h>

#include "engine/search.h"
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

}  // namespace
}  // namespace vek::engine
