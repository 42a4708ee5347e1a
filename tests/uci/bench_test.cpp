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
    EXPECT_EQ(benchRequestOf({"7"}, false)->depth, 7);
    EXPECT_EQ(benchRequestOf({}, true)->depth, kBenchDepth);
    EXPECT_TRUE(benchRequestOf({}, true)->network);
    EXPECT_FALSE(benchRequestOf({"9", "hand-written"}, true)->network);
    for (const char* text : {"", "0", "-3", "7x", "1000"})
        EXPECT_FALSE(benchRequestOf({text}, false)) << text;
    EXPECT_FALSE(benchRequestOf({"7", "neural"}, false));
}

// The signature of the search and the evaluation: any change to either changes the count,
// the same in every build ("chess-uci bench 8" prints it). Change the number only with a
// change meant to change the search, and say so in its commit.
TEST(Bench, ItsNodeCountSignsTheSearch) {
    EXPECT_EQ(runBench(8).nodes, 188853u);
}

}  // namespace
}  // namespace vek::uci
