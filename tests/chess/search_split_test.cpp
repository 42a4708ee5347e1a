// The root search shared out over two threads against the same search on one: every root move
// must get the same score, with the same trial moves, and leave the same lists behind.
// Also run under ThreadSanitizer.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chess/board.h"
#include "reference_positions.h"

namespace vek::chess {
namespace {

MoveList candidatesOf(const Board& board) {
    std::size_t checkers = 0;
    MoveList evasions = board.listEvasions(checkers);
    return checkers > 0 ? evasions : board.listAllMoves();
}

// Two boards in the same position, with the same lists.
struct Pair {
    Board single;
    Board split;

    Pair() {
        single.setSearchThreads(1);
        split.setSearchThreads(2);
    }
    bool load(const char* text) {
        const bool loaded = single.loadPosition(vek::STRING(text)) && split.loadPosition(vek::STRING(text));
        single.refresh();
        split.refresh();
        return loaded;
    }
    void play(std::size_t index) {
        single.playMove(candidatesOf(single)[index]);
        split.playMove(candidatesOf(split)[index]);
    }
};

// What a run of comparisons found.
struct Tally {
    int positions = 0;
    int differences = 0;
    std::uint64_t rescored = 0;  // root moves that the split search scored again
};

// Scores the root on both boards; returns the number of differences, each reported.
int compareRoots(Pair& boards, std::int32_t depth, const std::string& where) {
    MoveList single = candidatesOf(boards.single);
    MoveList split = candidatesOf(boards.split);
    if (single.getCount() < 2)
        return 0;
    const std::uint64_t singleBefore = boards.single.trialMoveCount();
    const std::uint64_t splitBefore = boards.split.trialMoveCount();
    const std::int32_t singleBest = boards.single.scoreRootMoves(single, depth);
    const std::int32_t splitBest = boards.split.scoreRootMoves(split, depth);
    int differences = 0;
    const auto expect = [&](bool same, const std::string& what) {
        if (!same) {
            ++differences;
            ADD_FAILURE() << what << " differs at depth " << depth << ": " << where;
        }
    };
    expect(singleBest == splitBest, "best score");
    for (std::size_t i = 0; i < single.getCount(); ++i)
        expect(single[i].score == split[i].score, "score of root move " + std::to_string(i));
    expect(boards.single.trialMoveCount() - singleBefore == boards.split.trialMoveCount() - splitBefore,
           "trial-move count");
    expect(boards.single.searchState() == boards.split.searchState(), "lists left behind");
    // As the root search does before anyone reads the lists again.
    boards.single.refresh();
    boards.split.refresh();
    return differences;
}

// Positions of random games from `start` (the same games each run), searched every few plies.
Tally compareRandomGames(const char* start, int games, int plies, std::int32_t depth, unsigned seed) {
    std::mt19937 random(seed);
    Tally tally;
    for (int game = 0; game < games; ++game) {
        Pair boards;
        if (!boards.load(start)) {
            ADD_FAILURE() << "start position refused";
            return tally;
        }
        for (int ply = 0; ply < plies && isGameRunning(boards.single.state()); ++ply) {
            const std::size_t count = candidatesOf(boards.single).getCount();
            if (count == 0)
                break;
            if (ply % 7 == 6) {
                ++tally.positions;
                tally.differences += compareRoots(boards, depth, boards.single.positionText().getText());
            }
            boards.play(std::uniform_int_distribution<std::size_t>(0, count - 1)(random));
        }
        tally.rescored += boards.split.rescoredRootMoves();
    }
    return tally;
}

const auto& kPositions = testing::kReferencePositions;
constexpr std::size_t kInitial = 0;
constexpr std::size_t kEndgame = 3;

// The larger positions stop at depth 2, so that a sanitizer build finishes within seconds.
TEST(SearchSplit, ReferencePositionsScoreAsOnOneThread) {
    for (std::size_t position = 0; position < kPositions.size(); ++position) {
        const bool small = position == 0 || position == 3 || position == 4 || position == 6;
        const std::int32_t deepest = position == 3 || position == 6 ? 4 : small ? 3 : 2;
        for (std::int32_t depth = 1; depth <= deepest; ++depth) {
            Pair boards;
            ASSERT_TRUE(boards.load(kPositions[position]));
            compareRoots(boards, depth, "position " + std::to_string(position + 1));
        }
    }
}

TEST(SearchSplit, RandomGamePositionsScoreAsOnOneThread) {
    for (std::int32_t depth = 1; depth <= 2; ++depth)
        EXPECT_EQ(compareRandomGames(kPositions[kInitial], 1, 35, depth, 4242u + static_cast<unsigned>(depth)).differences, 0);
    for (std::int32_t depth = 3; depth <= 4; ++depth)
        EXPECT_EQ(compareRandomGames(kPositions[kEndgame], 1, 21, depth, 4242u + static_cast<unsigned>(depth)).differences, 0);
}

TEST(SearchSplit, ChosenMoveIsOneOfTheBestAndTheBoardIsRefreshed) {
    Pair boards;
    ASSERT_TRUE(boards.load(kPositions[1]));
    std::int32_t singleCount = 0;
    std::int32_t splitCount = 0;
    boards.single.findBestMove(2, singleCount, true);
    const Move chosen = boards.split.findBestMove(2, splitCount, true);
    EXPECT_EQ(splitCount, singleCount);
    EXPECT_NE(chosen.figure, nullptr);
    EXPECT_EQ(boards.split.searchState(), boards.single.searchState());
    EXPECT_EQ(boards.split.state(), boards.single.state());
}

// The long run for the closing check: VEK_SPLIT_GAMES games, searched to VEK_SPLIT_DEPTH.
TEST(SearchSplit, DISABLED_ManyRandomGamePositions) {
    const char* games = std::getenv("VEK_SPLIT_GAMES");
    const char* depth = std::getenv("VEK_SPLIT_DEPTH");
    const Tally tally = compareRandomGames(kPositions[kInitial], games ? std::atoi(games) : 80, 49,
                                           depth ? std::atoi(depth) : 4, 2718u);
    std::printf("%d positions, %d differences, %llu root moves scored again\n", tally.positions,
                tally.differences, static_cast<unsigned long long>(tally.rescored));
    EXPECT_EQ(tally.differences, 0);
}

}  // namespace
}  // namespace vek::chess
