// The tuner: its local search reaches a known minimum, and its error sees both colours alike.
#include <gtest/gtest.h>

#include "tune/texel.h"

namespace vek::engine::tune {
namespace {

TEST(Texel, LocalSearchWalksEachValueToTheMinimum) {
    int a = 0;
    int b = 0;
    const auto error = [&] { return (a - 6) * (a - 6) + 2.0 * (b + 4) * (b + 4); };
    const double reached = localSearch({&a, &b}, error, 2, 50, [](int, double) {});
    EXPECT_EQ(a, 6);
    EXPECT_EQ(b, -4);
    EXPECT_EQ(reached, 0.0);
}

TEST(Texel, ErrorReadsScoresFromWhitesView) {
    // White a rook up with White to move, and the same with colours and board turned over:
    // a win for the side ahead is the same fit both times.
    const std::vector<Sample> white{{positionFromFen("4k3/pppp4/8/8/8/8/PPPP4/R3K3 w - - 0 1"), 1.0}};
    const std::vector<Sample> black{{positionFromFen("r3k3/pppp4/8/8/8/8/PPPP4/4K3 b - - 0 1"), 0.0}};
    const EvalWeights weights;
    EXPECT_LT(meanError(white, weights, 1.0), 0.1);
    EXPECT_NEAR(meanError(white, weights, 1.0), meanError(black, weights, 1.0), 1e-12);
}

}  // namespace
}  // namespace vek::engine::tune
