// The bench's node count is the search's signature: the same on every run.
#include <gtest/gtest.h>

#include "uci/bench.h"

namespace vek::uci {
namespace {

TEST(Bench, CountsTheSameNodesOnEveryRun) {
    const BenchResult first = runBench(3);
    const BenchResult second = runBench(3);
    EXPECT_EQ(first.positions, 10u);
    EXPECT_GT(first.nodes, 100u);
    EXPECT_EQ(first.nodes, second.nodes);
    EXPECT_LT(runBench(2).nodes, first.nodes);
    EXPECT_EQ(benchDepthOf("7"), 7);
    for (const char* text : {"", "0", "-3", "7x", "1000"})
        EXPECT_FALSE(benchDepthOf(text)) << text;
}

}  // namespace
}  // namespace vek::uci
