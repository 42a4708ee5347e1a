// The time the deepening search takes over a move, at the extremes of clocks, increments and
// moves to the time control.
#include <gtest/gtest.h>

#include "uci/time_plan.h"

namespace vek::uci {
namespace {

using namespace std::chrono_literals;

TimePlan planOf(std::vector<std::string> words, chess::Colour side = chess::WHITE) {
    std::string error;
    const auto limits = parseGoLimits(words, error);
    EXPECT_TRUE(limits) << error;
    return planTime(limits.value_or(GoLimits{}), side);
}

// Within the reserve: never the whole clock, at most half of it (or a tenth of a clock within
// the reserve), and the reserve left whenever the clock holds more.
void expectWithinReserve(const TimePlan& plan, Milliseconds clock, const std::string& what,
                         Milliseconds reserve = kDefaultMoveOverhead) {
    ASSERT_TRUE(plan.softLimit && plan.hardLimit) << what;
    EXPECT_LE(*plan.softLimit, *plan.hardLimit) << what;
    EXPECT_GE(plan.softLimit->count(), 0) << what;
    EXPECT_LE(*plan.hardLimit, clock / 2) << what;
    if (clock > reserve) {
        EXPECT_LE(*plan.hardLimit, clock - reserve) << what;
    } else {
        EXPECT_LE(*plan.hardLimit, clock / 10) << what;
    }
}

// "movetime M" keeps the Move Overhead as a clock does: the search stops at M less it (a tenth
// of an M within it), whatever the clock.
TEST(TimePlan, MoveTimeKeepsTheMoveOverhead) {
    for (const int overhead : {0, 30, 150, 1000}) {
        for (const int moveTime : {0, 1, 10, 100, 1000, 60000}) {
            std::string error;
            const auto limits = parseGoLimits({"movetime", std::to_string(moveTime), "wtime", "100000"}, error).value();
            const TimePlan plan = planTime(limits, chess::WHITE, Milliseconds{overhead});
            const std::string what = std::to_string(moveTime) + " ms less " + std::to_string(overhead);
            EXPECT_FALSE(plan.softLimit) << what;
            ASSERT_TRUE(plan.hardLimit) << what;
            EXPECT_EQ(plan.allotment, plan.hardLimit) << what;
            EXPECT_EQ(*plan.hardLimit, moveTime > overhead ? Milliseconds{moveTime - overhead} : Milliseconds{moveTime / 10})
                << what;
        }
    }
}

TEST(TimePlan, SuddenDeathFromTinyToHugeClocksAndIncrements) {
    for (const int clock : {0, 1, 40, 100, 150, 200, 299, 300, 1000, 10000, 180000, 86400000}) {
        for (const int increment : {0, 100, 2000, 100000}) {
            const std::string what = std::to_string(clock) + " ms + " + std::to_string(increment) + " ms";
            const TimePlan plan = planOf({"wtime", std::to_string(clock), "winc", std::to_string(increment)});
            expectWithinReserve(plan, Milliseconds{clock}, what);
            // Most of an increment that the clock can afford is spent, beside a share of the clock.
            if (clock >= 10000 && increment <= clock / 10) {
                EXPECT_GE(*plan.softLimit * 2, Milliseconds{clock / 30 + increment / 2}) << what;
            }
        }
    }
    // The other side's clock and increment are none of its business.
    EXPECT_EQ(planOf({"wtime", "1000", "btime", "60000"}, chess::BLACK).hardLimit, planOf({"wtime", "60000"}).hardLimit);
    EXPECT_EQ(planOf({"wtime", "60000", "btime", "60000", "winc", "5000"}, chess::BLACK).hardLimit,
              planOf({"wtime", "60000"}).hardLimit);
    EXPECT_EQ(planOf({"wtime", "60000", "btime", "60000", "binc", "5000"}, chess::WHITE).hardLimit,
              planOf({"wtime", "60000"}).hardLimit);
}

// The option "Move Overhead" sets the reserve.
TEST(TimePlan, TheMoveOverheadIsKeptOnTheClock) {
    for (const int overhead : {0, 50, 1000}) {
        for (const int clock : {100, 900, 1000, 5000}) {
            std::string error;
            const auto limits = parseGoLimits({"wtime", std::to_string(clock), "movestogo", "1"}, error).value();
            expectWithinReserve(planTime(limits, chess::WHITE, Milliseconds{overhead}), Milliseconds{clock},
                                std::to_string(clock) + " ms less " + std::to_string(overhead), Milliseconds{overhead});
        }
    }
}

// The moves up to the control, each taking its soft limit stretched as for the most unsure
// search and as much again (a last depth begun just before it that costs as much as all
// before), within its hard limit, leave the reserve.
TEST(TimePlan, MovesToGoKeepsTimeForTheLastMovesBeforeTheControl) {
    const double unsure = softLimitScale({.nextDepth = 9, .stableDepths = 0, .scoreDrop = 1000});
    for (const int start : {300, 5000, 60000, 600000}) {
        for (int movesToGo = 1; movesToGo <= 40; ++movesToGo) {
            const TimePlan plan = planOf({"wtime", std::to_string(start), "movestogo", std::to_string(movesToGo)});
            expectWithinReserve(plan, Milliseconds{start}, std::to_string(start) + " ms / " + std::to_string(movesToGo));
            EXPECT_LE(*plan.softLimit, Milliseconds{start / movesToGo}) << movesToGo;
        }
        Milliseconds clock{start};
        for (int movesToGo = 40; movesToGo >= 1; --movesToGo) {
            const TimePlan plan = planOf({"wtime", std::to_string(clock.count()), "movestogo", std::to_string(movesToGo)});
            clock -= std::min(std::chrono::duration_cast<Milliseconds>(*plan.softLimit * unsure * 2), *plan.hardLimit);
            EXPECT_GE(clock, kDefaultMoveOverhead) << start << " ms, " << movesToGo << " to go";
        }
    }
}

// A search that changed its best move or lost ground may begin depths later than one whose
// move has held for several depths.
TEST(TimePlan, TheSoftLimitStretchesWhenTheSearchIsUnsure) {
    const auto scale = [](int stableDepths, int scoreDrop) {
        return softLimitScale({.nextDepth = 12, .stableDepths = stableDepths, .scoreDrop = scoreDrop});
    };
    EXPECT_GT(scale(0, 0), scale(2, 0));
    EXPECT_GT(scale(2, 0), scale(8, 0));
    EXPECT_GT(scale(2, 60), scale(2, 0));
    EXPECT_GT(scale(8, 60), scale(8, 0));
}

TEST(TimePlan, NoTimeLimitWithoutAClockOrForInfinite) {
    for (const auto& words : std::vector<std::vector<std::string>>{{}, {"depth", "5"}, {"nodes", "1000"}, {"infinite", "wtime", "1000"}}) {
        const TimePlan plan = planOf(words);
        EXPECT_FALSE(plan.softLimit || plan.hardLimit);
    }
}

}  // namespace
}  // namespace vek::uci
