#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <map>
#include <new>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chess/random.h"
#include "chess_test_support.h"
#include "reference_positions.h"
#include "foundation/exceptions.h"

// ---- Running out of memory on demand
//
// The growable arrays and the figures take their memory through the nothrow allocation
// functions. This program replaces those two, so that a test can make the n-th allocation
// from now fail, as when memory runs out, without any hook in the program itself.

namespace {

std::atomic<int> allocationsBeforeFailure{0};  // 0: none fails
std::atomic<bool> allocationFailed{false};

bool failsNow() {
    int left = allocationsBeforeFailure.load();
    while (left > 0 && !allocationsBeforeFailure.compare_exchange_weak(left, left - 1)) {
    }
    if (left != 1)
        return false;
    allocationFailed = true;
    return true;
}

// False where the runtime puts its own allocation functions in place of these replacements,
// as valgrind does.
bool failuresCanBeInjected() {
    allocationsBeforeFailure = 1;
    char* volatile probe = new (std::nothrow) char;
    allocationsBeforeFailure = 0;
    allocationFailed = false;
    const bool injected = probe == nullptr;
    delete probe;
    return injected;
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failsNow())
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failsNow())
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace vek::chess {
namespace {

using testing::describe;
using testing::play;
using testing::setUp;
using testing::sq;

const auto& kPositions = testing::kReferencePositions;
constexpr std::size_t kEndgame = 3;
constexpr std::size_t kMatingNet = 6;

void load(Board& board, const char* text) {
    ASSERT_TRUE(board.loadPosition(vek::STRING(text)));
    board.refresh();
}

MoveList candidatesOf(const Board& board) {
    std::size_t checkers = 0;
    MoveList evasions = board.listEvasions(checkers);
    return checkers > 0 ? evasions : board.listAllMoves();
}

// The score that scoreMoves gives the move `name` among the candidates, searched `depth` deep.
std::int32_t scoreOf(Board& board, const std::string& name, std::int32_t depth) {
    MoveList list = candidatesOf(board);
    board.scoreMoves(list, depth);
    board.refresh();
    for (const Move& move : list)
        if (describe(move) == name)
            return move.score;
    ADD_FAILURE() << name << " is no candidate";
    return 0;
}

bool isEmptyMove(const Move& move) {
    return !move.figure && move.from == kNoSquare && move.to == kNoSquare && move.score == 0;
}

Move search(Board& board, std::int32_t depth, std::int32_t& candidateCount) {
    return board.findBestMove(depth, candidateCount, true);
}

Move search(Board& board, std::int32_t depth) {
    std::int32_t candidateCount = 0;
    return search(board, depth, candidateCount);
}

// Everything that a search must leave as it found it. Figures that trial promotions created
// stay in figures(), off the board. The figures' lists and the state are rebuilt by the root's
// refresh, which starts from the lists of the last trial position: a pin can come out
// differently, as from any refresh.
struct Snapshot {
    std::vector<const Figure*> squares;
    std::vector<Square> figureSquares;
    std::vector<std::string> history;
    Colour sideToMove;

    explicit Snapshot(const Board& board, std::size_t figureCount) : sideToMove(board.sideToMove()) {
        for (std::size_t i = 0; i < 64; ++i)
            squares.push_back(board.figureAtIndex(i));
        for (std::size_t i = 0; i < figureCount; ++i)
            figureSquares.push_back(board.figures()[i]->square());
        for (const Move& entry : board.history())
            history.push_back(describe(entry) + "/" + std::to_string(entry.stateAfter));
    }
    explicit Snapshot(const Board& board) : Snapshot(board, board.figures().getCount()) {}
    bool operator==(const Snapshot&) const = default;
};

void expectUnchangedBySearch(Board& board, std::int32_t depth) {
    const std::size_t figureCount = board.figures().getCount();
    const Snapshot before(board);
    search(board, depth);
    EXPECT_EQ(Snapshot(board, figureCount), before) << "depth " << depth << ": " << board.positionText().getText();
    for (std::size_t i = figureCount; i < board.figures().getCount(); ++i)
        EXPECT_EQ(board.figures()[i]->square(), kNoSquare);
}

// ---- The generator

TEST(EngineRandom, ClassicSequenceFromAGivenSeed) {
    RandomSequence sequence(1);
    const std::vector<std::int32_t> draws{sequence.next(), sequence.next(), sequence.next(), sequence.next()};
    EXPECT_EQ(draws, (std::vector<std::int32_t>{41, 18467, 6334, 26500}));
    RandomSequence wraps(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t r = wraps.next();
        ASSERT_GE(r, 0);
        ASSERT_LT(r, RandomSequence::kRange);
    }
}

TEST(EngineRandom, DrawsSpreadEvenlyOverTheEntries) {
    for (const std::size_t n : {1u, 2u, 3u, 7u, 40u}) {
        std::vector<int> hits(n);
        for (std::int32_t r = 0; r < RandomSequence::kRange; ++r)
            ++hits[pickIndex(r, n)];
        const auto [fewest, most] = std::minmax_element(hits.begin(), hits.end());
        EXPECT_LE(*most - *fewest, 1) << n << " entries";
    }
    EXPECT_EQ(pickIndex(10922, 3), 0u);
    EXPECT_EQ(pickIndex(10923, 3), 1u);
    EXPECT_EQ(pickIndex(32767, 3), 2u);
}

TEST(EngineRandom, SeedingMakesTheProcessSequenceReproducible) {
    seedEngineRandom(2024);
    RandomSequence expected(2024);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(drawEngineRandom(), expected.next());
}

// ---- Choosing among the best

// Three back-rank mates (Ta8, Dd8, Te8) and nothing else as good.
const std::initializer_list<const char*> kThreeMates = {"Kh1", "Ta1", "Dd1", "Te1", "kh8", "bg7", "bh7"};

TEST(Search, TiedBestMovesAreDrawnEvenly) {
    Board board;
    setUp(board, kThreeMates);
    seedEngineRandom(4711);
    std::map<std::string, int> chosen;
    for (int i = 0; i < 300; ++i) {
        std::int32_t candidateCount = 0;
        const Move move = search(board, 1, candidateCount);
        ASSERT_EQ(candidateCount, 3);
        EXPECT_EQ(move.score, MATE_SCORE);
        ++chosen[describe(move)];
    }
    ASSERT_EQ(chosen.size(), 3u);
    for (const auto& [move, times] : chosen) {
        EXPECT_TRUE(move == "a1a8" || move == "d1d8" || move == "e1e8") << move;
        EXPECT_GT(times, 70) << move;
        EXPECT_LT(times, 130) << move;
    }
}

// Re8 mates; Lxc3 would win a knight.
const std::initializer_list<const char*> kMateOrKnight = {"Kg1", "Bf2", "Bg2", "Bh2", "Te1", "Lb2",
                                                         "kh8", "bg7", "bh7", "sc3"};

TEST(Search, MateInOneBeatsMaterial) {
    for (const std::int32_t depth : {1, 2, 3}) {
        Board board;
        setUp(board, kMateOrKnight);
        std::int32_t candidateCount = 0;
        const Move move = search(board, depth, candidateCount);
        EXPECT_EQ(describe(move), "e1e8") << "depth " << depth;
        EXPECT_EQ(move.score, MATE_SCORE) << "depth " << depth;
        EXPECT_EQ(candidateCount, 1) << "depth " << depth;
    }
}

TEST(Search, SingleBestMoveDrawsNoRandomNumber) {
    Board board;
    setUp(board, kMateOrKnight);
    seedEngineRandom(99);
    search(board, 1);
    EXPECT_EQ(drawEngineRandom(), RandomSequence(99).next());
}

TEST(Search, BelowTheRootNoRandomNumberIsDrawn) {
    // Many answers share their best score, but only the root's choice draws.
    for (const std::size_t threads : {1u, 2u}) {
        Board board;
        setUp(board, kMateOrKnight);
        board.setSearchThreads(threads);
        seedEngineRandom(99);
        EXPECT_EQ(describe(search(board, 3)), "e1e8");
        EXPECT_EQ(drawEngineRandom(), RandomSequence(99).next()) << threads << " threads";
    }
}

TEST(Search, DepthOneChoosesAnExtremeEvaluation) {
    std::vector<std::string> texts(std::begin(kPositions), std::end(kPositions));
    texts.push_back(testing::positionOf({"Ke1", "Be2", "Lc4", "kg8", "dd4", "bf7", "se5"}, 'S').getText());
    for (const std::string& text : texts) {
        Board board;
        load(board, text.c_str());
        MoveList list = candidatesOf(board);
        const std::int32_t best = board.scoreMoves(list, 1);
        board.refresh();
        std::int32_t expected = list[0].score;
        for (const Move& move : list)
            expected = board.sideToMove() == WHITE ? std::max(expected, move.score) : std::min(expected, move.score);
        EXPECT_EQ(best, expected) << text;

        std::set<std::string> bestMoves;
        for (const Move& move : list)
            if (move.score == best)
                bestMoves.insert(describe(move));
        std::int32_t candidateCount = 0;
        const Move chosen = search(board, 1, candidateCount);
        EXPECT_EQ(chosen.score, best) << text;
        EXPECT_TRUE(bestMoves.contains(describe(chosen))) << text;
        EXPECT_EQ(candidateCount, static_cast<std::int32_t>(bestMoves.size())) << text;
    }
}

TEST(Search, TrialMovesAreScoredByTheEvaluationAfterThem) {
    Board board;
    board.newGame();
    EXPECT_EQ(scoreOf(board, "e2e4", 1), 10);
}

// The d2 pawn is pinned by the bishop, but may still step or take the knight, leaving the
// king to the bishop: the refresh gives the game to Black at once.
const std::initializer_list<const char*> kPinnedPawn = {"Ke1", "Bd2", "Ta1", "kh8", "lb4", "se3"};

TEST(Search, MoveLeavingTheOwnKingAttackedIsNeverChosen) {
    for (const std::int32_t depth : {1, 2}) {
        Board board;
        setUp(board, kPinnedPawn);
        MoveList list = board.listAllMoves();
        board.scoreMoves(list, depth);
        board.refresh();
        for (const Move& move : list) {
            if (move.from == sq("d2")) {
                EXPECT_EQ(move.score, -MATE_SCORE) << describe(move);
            }
        }
        const Move chosen = search(board, depth);
        EXPECT_NE(chosen.from, sq("d2"));
        EXPECT_GT(chosen.score, -MATE_SCORE);
    }
}

// Dxd5 wins a pawn at first sight, and loses the queen to cxd5 one ply later.
const std::initializer_list<const char*> kRecapture = {"Kg1", "Dd1", "Bg2", "kg8", "bd5", "bc6", "bg7"};

TEST(Search, DeeperSearchSeesTheRecapture) {
    Board board;
    setUp(board, kRecapture);
    EXPECT_LT(scoreOf(board, "d1xd5", 2), scoreOf(board, "d1xd5", 1) - 5);
    EXPECT_NE(describe(search(board, 2)), "d1xd5");
}

TEST(Search, DepthZeroDrawsAmongAllCandidates) {
    Board board;
    board.newGame();
    seedEngineRandom(7);
    std::set<std::string> chosen;
    for (int i = 0; i < 200; ++i) {
        std::int32_t candidateCount = 0;
        const Move move = search(board, 0, candidateCount);
        EXPECT_EQ(candidateCount, 20);
        EXPECT_EQ(move.score, 0);
        chosen.insert(describe(move));
    }
    EXPECT_EQ(board.trialMoveCount(), 0u);
    EXPECT_GE(chosen.size(), 15u);
}

TEST(Search, EveryCandidateIsTriedAtEveryLevel) {
    // 20 first moves, 400 answers, 8902 answers to those: nothing is pruned.
    Board board;
    board.newGame();
    std::uint64_t before = board.trialMoveCount();
    for (const auto& [depth, trials] : {std::pair{1, 20u}, std::pair{2, 420u}, std::pair{3, 9322u}}) {
        search(board, depth);
        EXPECT_EQ(board.trialMoveCount() - before, trials) << "depth " << depth;
        before = board.trialMoveCount();
    }
}

// ---- Results at the root

TEST(Search, MatedWhiteGetsNoMoveAndLoses) {
    Board board;
    board.newGame();
    for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"})
        play(board, move);
    std::int32_t candidateCount = -1;
    EXPECT_TRUE(isEmptyMove(search(board, 2, candidateCount)));
    EXPECT_EQ(candidateCount, 0);
    EXPECT_EQ(board.state(), BLACK_WINS);
}

TEST(Search, MatedBlackGetsNoMoveAndLoses) {
    Board board;
    setUp(board, {"Ta8", "Kf4", "kh8", "bg7", "bh7"}, 'S');
    std::int32_t candidateCount = -1;
    EXPECT_TRUE(isEmptyMove(search(board, 1, candidateCount)));
    EXPECT_EQ(candidateCount, 0);
    EXPECT_EQ(board.state(), WHITE_WINS);
}

TEST(Search, StalematedSideGetsNoMoveAndTheStalemateStays) {
    Board board;
    setUp(board, {"Kf7", "Dg6", "kh8"}, 'S');
    std::int32_t candidateCount = -1;
    EXPECT_TRUE(isEmptyMove(search(board, 2, candidateCount)));
    EXPECT_EQ(candidateCount, 0);
    EXPECT_EQ(board.state(), STALEMATE);
}

TEST(Search, StalematingTheOpponentScoresLevel) {
    // Dg6 leaves the lone king no move, Dh6 mates it.
    Board board;
    setUp(board, {"Kf7", "Dd6", "kh8"});
    for (const std::int32_t depth : {1, 2}) {
        EXPECT_EQ(scoreOf(board, "d6g6", depth), 0) << "depth " << depth;
        EXPECT_EQ(scoreOf(board, "d6h6", depth), MATE_SCORE) << "depth " << depth;
    }
}

TEST(Search, DepthsBeyondTheEnginesDeepestSearchAsDeepAsItGoes) {
    // Both moves end the game, so a search of them ends at once however deep it may go; the
    // requested depth must not size anything.
    constexpr std::int32_t kHugeDepths[] = {MAX_SEARCH_DEPTH, MAX_SEARCH_DEPTH + 1, 99999,
                                            std::numeric_limits<std::int32_t>::max()};
    for (const std::size_t threads : {1u, 2u}) {
        for (const std::int32_t depth : kHugeDepths) {
            Board board;
            setUp(board, {"Kf7", "Dd6", "kh8"});
            board.setSearchThreads(threads);
            MoveList ending;
            for (const Move& move : candidatesOf(board))
                if (describe(move) == "d6g6" || describe(move) == "d6h6")
                    ending.append(move);
            ASSERT_EQ(ending.getCount(), 2u);
            EXPECT_EQ(board.scoreRootMoves(ending, depth), MATE_SCORE) << "depth " << depth;
            board.refresh();
            EXPECT_EQ(board.scoreMoves(ending, depth), MATE_SCORE) << "depth " << depth;
            EXPECT_EQ(ending[0].score + ending[1].score, MATE_SCORE) << "stalemate 0, mate 376";
        }
    }
}

TEST(Search, BelowTheRootTheStateIsPutBackAndNothingCounted) {
    Board board;
    setUp(board, {"Ke1", "Dd1", "te8", "ka8"});
    ASSERT_EQ(board.state(), WHITE_IN_CHECK);
    std::int32_t candidateCount = -7;
    const Move move = board.findBestMove(2, candidateCount, false);
    EXPECT_NE(move.figure, nullptr);
    EXPECT_EQ(candidateCount, -7);
    EXPECT_EQ(board.state(), WHITE_IN_CHECK);
    EXPECT_EQ(board.sideToMove(), WHITE);
}

// ---- The board after a search

TEST(Search, BenchmarkPositionsAreLeftAsFound) {
    for (const char* text : kPositions) {
        for (const std::int32_t depth : {1, 2}) {
            Board board;
            load(board, text);
            expectUnchangedBySearch(board, depth);
        }
    }
    for (const std::size_t small : {kEndgame, kMatingNet}) {
        Board board;
        load(board, kPositions[small]);
        expectUnchangedBySearch(board, 3);
    }
}

TEST(Search, SmallPositionsAreLeftAsFoundAtDepthThree) {
    for (const auto& placements : {kThreeMates, kMateOrKnight, kPinnedPawn, kRecapture}) {
        Board board;
        setUp(board, placements);
        expectUnchangedBySearch(board, 3);
    }
}

TEST(Search, PositionsOfRandomGamesAreLeftAsFound) {
    std::mt19937 random(31337);
    for (int game = 0; game < 6; ++game) {
        Board board;
        board.newGame();
        for (int ply = 0; ply < 80 && isGameRunning(board.state()); ++ply) {
            if (ply % 9 == 4)
                expectUnchangedBySearch(board, 1 + ply % 2);
            const MoveList list = candidatesOf(board);
            ASSERT_FALSE(list.isEmpty());
            board.playMove(list[std::uniform_int_distribution<std::size_t>(0, list.getCount() - 1)(random)]);
        }
    }
}

// Position 5 promotes at once and at every level below; position 6 promotes with capture.
TEST(Search, TrialPromotionsLeaveNoFiguresBehind) {
    for (const std::size_t position : {4u, 5u}) {
        for (const std::size_t threads : {1u, 2u}) {
            Board board;
            load(board, kPositions[position]);
            board.setSearchThreads(threads);
            const std::size_t figureCount = board.figures().getCount();
            std::int32_t candidateCount = 0;
            const Move chosen = search(board, position == 4 ? 3 : 2, candidateCount);
            EXPECT_EQ(board.figures().getCount(), figureCount) << "position " << position + 1;
            EXPECT_EQ(chosen.promotedFigure, nullptr);
            board.playMove(chosen);  // a promotion played in the game creates its own figure
            EXPECT_EQ(board.figures().getCount(), figureCount + (chosen.promotionKind != 0 ? 1u : 0u));
        }
    }
}

// ---- Running out of memory in the middle of a search

TEST(Search, FailedAllocationLeavesTheBoardAsFound) {
    if (!failuresCanBeInjected())
        GTEST_SKIP() << "the allocation functions of this program are not in use";
    // Position 5 starts in check and promotes one ply down, position 6 promotes with capture
    // at once; every level makes lists.
    for (const std::size_t position : {4u, 5u}) {
        for (int allocation = 1; allocation <= 40; ++allocation) {
            Board board;
            load(board, kPositions[position]);
            const Snapshot before(board);
            const GameState state = board.state();
            const std::vector<std::string> candidates = describe(candidatesOf(board));
            const std::size_t figureCount = board.figures().getCount();
            allocationFailed = false;
            allocationsBeforeFailure = allocation;
            EXPECT_THROW(search(board, 2), vek::AllocError) << "allocation " << allocation;
            allocationsBeforeFailure = 0;
            ASSERT_TRUE(allocationFailed) << "allocation " << allocation;

            EXPECT_EQ(Snapshot(board, figureCount), before) << "allocation " << allocation;
            EXPECT_EQ(board.state(), state) << "allocation " << allocation;
            EXPECT_EQ(describe(candidatesOf(board)), candidates) << "allocation " << allocation;
            for (std::size_t i = figureCount; i < board.figures().getCount(); ++i)
                EXPECT_EQ(board.figures()[i]->square(), kNoSquare);
        }
    }
}

}  // namespace
}  // namespace vek::chess
