// The "go" parameters and the time the engine allots itself from them.
#include <gtest/gtest.h>

#include "uci/search_limits.h"
#include "uci/time_plan.h"
#include "uci/strength.h"

namespace vek::uci {
namespace {

using std::chrono::microseconds;

GoLimits limitsOf(std::vector<std::string> words) {
    std::string error;
    const auto limits = parseGoLimits(words, error);
    EXPECT_TRUE(limits) << error;
    return limits.value_or(GoLimits{});
}

TEST(GoLimits, ReadsKnownParametersAndSkipsOthers) {
    const GoLimits limits = limitsOf({"wtime", "60000", "btime", "-20", "winc", "1000", "binc", "0", "movestogo", "12",
                                      "ponder", "nodes", "500", "depth", "4"});
    EXPECT_EQ(limits.whiteTime, Milliseconds{60000});
    EXPECT_EQ(limits.blackTime, Milliseconds{0});  // a clock run out
    EXPECT_EQ(limits.whiteIncrement, Milliseconds{1000});
    EXPECT_EQ(limits.movesToGo, 12);
    EXPECT_EQ(limits.depth, 4);
    EXPECT_FALSE(limits.infinite);
    EXPECT_TRUE(limitsOf({"infinite"}).infinite);

    std::string error;
    EXPECT_FALSE(parseGoLimits({"depth"}, error));
    EXPECT_FALSE(parseGoLimits({"movetime", "soon"}, error));
    EXPECT_FALSE(parseGoLimits({"wtime", "12x"}, error));
    EXPECT_FALSE(error.empty());
}

TEST(GoLimits, SearchMovesRunUpToTheNextParameter) {
    const GoLimits limits = limitsOf({"searchmoves", "e2e4", "d2d4", "nodes", "5000", "mate", "3", "wtime", "10"});
    EXPECT_EQ(limits.searchMoves, (std::vector<std::string>{"e2e4", "d2d4"}));
    EXPECT_EQ(limits.nodes, 5000u);
    EXPECT_EQ(limits.mate, 3);
    EXPECT_EQ(limits.whiteTime, Milliseconds{10});
    const GoLimits last = limitsOf({"infinite", "searchmoves", "a2a3", "xyz"});
    EXPECT_EQ(last.searchMoves, (std::vector<std::string>{"a2a3", "xyz"}));
    EXPECT_TRUE(last.infinite);
}

TEST(SearchPlan, DepthLimitsAndTheConfiguredDepth) {
    EXPECT_EQ(planSearch(limitsOf({}), chess::WHITE, 3).maxDepth, 3);
    EXPECT_FALSE(planSearch(limitsOf({}), chess::WHITE, 3).allotment);
    EXPECT_EQ(planSearch(limitsOf({"depth", "5"}), chess::WHITE, 3).maxDepth, 5);
    const SearchPlan infinite = planSearch(limitsOf({"infinite"}), chess::BLACK, 3);
    EXPECT_TRUE(infinite.infinite);
    EXPECT_EQ(infinite.maxDepth, kMaxPlanDepth);
    EXPECT_FALSE(infinite.hardLimit);
}

TEST(SearchPlan, TimeIsAllottedWithinTheLimitOfTheSideToMove) {
    const SearchPlan moveTime = planSearch(limitsOf({"movetime", "1000"}), chess::WHITE, 3);
    EXPECT_EQ(moveTime.maxDepth, kMaxPlanDepth);
    ASSERT_TRUE(moveTime.hardLimit);
    EXPECT_LT(*moveTime.hardLimit, Milliseconds{1000});
    EXPECT_EQ(moveTime.allotment, moveTime.hardLimit);

    // Black's clock counts for Black.
    const SearchPlan clock = planSearch(limitsOf({"wtime", "1000", "btime", "60000", "binc", "400"}), chess::BLACK, 3);
    ASSERT_TRUE(clock.allotment && clock.hardLimit);
    EXPECT_EQ(clock.allotment, planSearch(limitsOf({"wtime", "60000", "winc", "400"}), chess::WHITE, 3).allotment);

    // The time is that of the AlphaBeta search's plan, the Move Overhead kept alike.
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"movetime", "1000"}, {"wtime", "5000", "movestogo", "1"}, {"wtime", "0"}, {"btime", "60000", "binc", "400"}}) {
        for (const int overhead : {0, 150, 1000}) {
            for (const chess::Colour side : {chess::WHITE, chess::BLACK}) {
                const SearchPlan plan = planSearch(limitsOf(words), side, 3, Milliseconds{overhead});
                const TimePlan time = planTime(limitsOf(words), side, Milliseconds{overhead});
                EXPECT_EQ(plan.allotment, time.allotment) << words.front() << " less " << overhead;
                EXPECT_EQ(plan.hardLimit, time.hardLimit) << words.front() << " less " << overhead;
            }
        }
    }
}

TEST(SearchPlan, TheNextDepthIsPredictedFromTheGrowthOfTheLastOnes) {
    SearchPlan plan;
    plan.allotment = Milliseconds{1000};
    const std::vector<microseconds> times{microseconds{1000}, microseconds{20000}};  // growth 20
    EXPECT_TRUE(nextDepthFits(plan, microseconds{21000}, times, 30));               // 400 ms more
    EXPECT_FALSE(nextDepthFits(plan, microseconds{700000}, times, 30));
    const std::vector<microseconds> slow{microseconds{1000}, microseconds{60000}};  // growth 60
    EXPECT_FALSE(nextDepthFits(plan, microseconds{61000}, slow, 30));
    // After depth 1 alone, every legal move is expected to cost what the whole depth did.
    EXPECT_TRUE(nextDepthFits(plan, microseconds{1000}, {microseconds{1000}}, 30));
    EXPECT_FALSE(nextDepthFits(plan, microseconds{50000}, {microseconds{50000}}, 30));
    EXPECT_TRUE(nextDepthFits(SearchPlan{}, microseconds{1000000000}, times, 30));  // no time limit
}

// The higher the Elo, the deeper and longer the search and the smaller the error in judging
// its lines: more than two pawns at the lowest, none at the top.
TEST(StrengthLimit, GrowsStrongerWithTheElo) {
    StrengthLimit previous = strengthFor(kMinElo);
    EXPECT_GT(previous.errorCp, 200);
    for (int elo = kMinElo + 100; elo <= kMaxElo; elo += 100) {
        const StrengthLimit limit = strengthFor(elo);
        EXPECT_GE(limit.depth, previous.depth) << elo;
        EXPECT_GE(limit.nodes, previous.nodes) << elo;
        EXPECT_TRUE(limit.errorCp < previous.errorCp || limit.errorCp == 0) << elo << ": " << limit.errorCp;
        previous = limit;
    }
    EXPECT_EQ(previous.errorCp, 0);
    EXPECT_GT(previous.depth, strengthFor(kMinElo).depth);
    EXPECT_GT(previous.nodes, strengthFor(kMinElo).nodes);

    // Without error the best line is played; a mate stays beyond any error.
    std::mt19937 random(7);
    const std::vector<engine::Score> scores{{false, 50}, {false, 40}, {true, 3}, {false, -900}};
    EXPECT_EQ(pickLine({{false, 50}, {false, 49}}, 0, random), 0u);
    for (int round = 0; round < 20; ++round)
        EXPECT_EQ(pickLine(scores, 1000, random), 2u);
}

}  // namespace
}  // namespace vek::uci
