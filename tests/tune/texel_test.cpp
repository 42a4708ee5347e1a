// The tuner: its local search reaches a known minimum, its error sees both colours alike, and
// the self-play games it learns from come in the form it reads.
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tune/self_play.h"
#include "tune/texel.h"
#include "uci/fen.h"

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

TEST(SelfPlay, WritesWholeGamesAsPositionsWithOneResultEach) {
    std::ostringstream out;
    const std::uint64_t written = playSelfGames({.games = 3, .nodesPerMove = 300, .seed = 7, .randomPlies = 8}, out);
    std::istringstream lines(out.str());
    std::string line;
    std::uint64_t positions = 0;
    int games = 0;
    std::set<std::string> resultsOfGame;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            ++games;
            EXPECT_LE(resultsOfGame.size(), 1u) << "game " << games;
            resultsOfGame.clear();
            continue;
        }
        const auto bar = line.find(" | ");
        ASSERT_NE(bar, std::string::npos) << line;
        const std::string fen = line.substr(0, bar);
        const std::string result = line.substr(bar + 3);
        EXPECT_TRUE(result == "1-0" || result == "0-1" || result == "1/2-1/2") << line;
        resultsOfGame.insert(result);
        // What the tuner reads back is the position written.
        EXPECT_EQ(uci::fenOf(positionFromFen(fen)), fen);
        EXPECT_FALSE(positionFromFen(fen).inCheck()) << fen;
        ++positions;
    }
    EXPECT_EQ(games, 3);
    EXPECT_EQ(positions, written);
    EXPECT_GT(positions, 0u);
}

}  // namespace
}  // namespace vek::engine::tune
