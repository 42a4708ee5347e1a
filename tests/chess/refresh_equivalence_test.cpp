// Golden values recorded from the straightforward scans that the refresh started out with. Any
// shortcut taken in the refresh must give every figure exactly the lists, pins and castling
// records that those scans gave, in the same order, and so the same states, evaluations and
// search trees.
#include <array>
#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "chess/board.h"
#include "chess/figures.h"
#include "reference_positions.h"

namespace vek::chess {
namespace {

// FNV-1a over everything a refresh produces.
class Fingerprint {
public:
    void add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (value >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    void add(Square s) { add(static_cast<std::uint64_t>(static_cast<unsigned char>(s.column)) << 8 |
                             static_cast<unsigned char>(s.row)); }
    void add(StepFunction step) { add(step ? std::uint64_t{directionOf(stepOf(step))} + 1 : 0); }
    void add(const FigureMoves& moves) {
        add(moves.targetCount);
        add(moves.coveredCount);
        add(moves.canCapture);
        for (std::size_t i = 0; i < moves.targetCount; ++i) {
            add(moves.targets[i].target);
            add(moves.targets[i].captureSquare);
        }
        for (std::size_t i = 0; i < moves.coveredCount; ++i)
            add(moves.covered[i]);
    }
    void add(const CastlingOption& option) {
        add(option.kingTarget);
        add(option.rookTarget);
        add(option.rook ? option.rook->square() : kNoSquare);
    }
    void add(const Board& board) {
        for (const Figure* figure : board.figures()) {
            add(figure->square());
            add(figure->moves());
            add(figure->pinTowardKing());
            add(figure->pinAwayFromKing());
            if (figure->kind() == KING) {
                add(static_cast<const King*>(figure)->queenSide());
                add(static_cast<const King*>(figure)->kingSide());
            }
        }
        add(static_cast<std::uint64_t>(board.state()));
        add(static_cast<std::uint64_t>(static_cast<std::int64_t>(board.evaluate())));
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

MoveList candidates(const Board& board) {
    std::size_t checkers = 0;
    MoveList evasions = board.listEvasions(checkers);
    return checkers > 0 ? evasions : board.listAllMoves();
}

// Random games in which every candidate is also tried: the fingerprint of each trial position
// and of each position reached by a game move.
std::uint64_t fingerprintOfRandomGames(unsigned seed, int games) {
    std::mt19937 random(seed);
    Fingerprint print;
    for (int game = 0; game < games; ++game) {
        Board board;
        board.newGame();
        print.add(board);
        for (int ply = 0; ply < 150 && isGameRunning(board.state()); ++ply) {
            MoveList list = candidates(board);
            for (Move& move : list) {
                board.applyMove(move);
                board.refresh();
                print.add(board);
                board.takeBack(move);
            }
            board.refresh();
            print.add(board);
            board.playMove(list[random() % list.getCount()]);
            print.add(board);
        }
    }
    return print.value();
}

const std::array<const char*, 8> kPositions{{
    testing::kReferencePositions[1],
    testing::kReferencePositions[2],
    testing::kReferencePositions[3],
    testing::kReferencePositions[4],
    testing::kReferencePositions[5],
    testing::kReferencePositions[6],
    // Pins that only a second refresh sees, and a figure between a pinned one and its king.
    "    K       L                                               t  kW",
    "    T  K                                    l       s       k   S",
}};

TEST(RefreshEquivalence, RandomGamesGiveTheRecordedLists) {
    EXPECT_EQ(fingerprintOfRandomGames(7, 12), 16271618459710575571u);
}

// The first refresh after loading sees no lists of the figures on higher squares yet; the
// following ones see each other's. Every candidate is tried one and two plies deep.
TEST(RefreshEquivalence, LoadedPositionsGiveTheRecordedLists) {
    Fingerprint print;
    for (const char* text : kPositions) {
        Board board;
        ASSERT_TRUE(board.loadPosition(vek::STRING(text)));
        print.add(board);
        board.refresh();
        print.add(board);
        MoveList list = candidates(board);
        for (Move& move : list) {
            board.applyMove(move);
            board.refresh();
            print.add(board);
            MoveList answers = candidates(board);
            for (Move& answer : answers) {
                board.applyMove(answer);
                board.refresh();
                print.add(board);
                board.takeBack(answer);
            }
            board.takeBack(move);
        }
    }
    EXPECT_EQ(print.value(), 9127245407508491260u);
}

std::uint64_t trialMovesOfSearch(const char* text, std::int32_t depth) {
    Board board;
    if (text)
        EXPECT_TRUE(board.loadPosition(vek::STRING(text)));
    else
        board.newGame();
    board.refresh();
    std::int32_t candidates = 0;
    board.findBestMove(depth, candidates, true);
    return board.trialMoveCount();
}

TEST(RefreshEquivalence, SearchesMakeTheRecordedNumberOfTrialMoves) {
    EXPECT_EQ(trialMovesOfSearch(nullptr, 1), 20u);
    EXPECT_EQ(trialMovesOfSearch(nullptr, 2), 420u);
    EXPECT_EQ(trialMovesOfSearch(nullptr, 3), 9322u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[0], 3), 37315u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[1], 2), 1919u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[2], 3), 3486u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[3], 2), 272u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[4], 2), 1514u);
    EXPECT_EQ(trialMovesOfSearch(kPositions[5], 3), 1071u);
}

// The scores of every root candidate and the lists that the search leaves, with one worker
// and with two: the evaluation that the refresh keeps up to date must score as a fresh count
// of every figure would.
std::uint64_t fingerprintOfRootScores(std::size_t threads) {
    Fingerprint print;
    for (const char* text : kPositions) {
        for (const std::int32_t depth : {1, 2, 3}) {
            Board board;
            EXPECT_TRUE(board.loadPosition(vek::STRING(text)));
            board.refresh();
            board.setSearchThreads(threads);
            MoveList list = candidates(board);
            print.add(static_cast<std::uint64_t>(static_cast<std::int64_t>(board.scoreRootMoves(list, depth))));
            for (const Move& move : list)
                print.add(static_cast<std::uint64_t>(static_cast<std::int64_t>(move.score)));
            print.add(board);
        }
    }
    return print.value();
}

TEST(RefreshEquivalence, SearchesGiveTheRecordedScores) {
    // The two differ in the kings' castling records only, which a split search leaves to the
    // next refresh.
    EXPECT_EQ(fingerprintOfRootScores(1), 4512138083283720996u);
    EXPECT_EQ(fingerprintOfRootScores(2), 16409363729139537582u);
}

}  // namespace
}  // namespace vek::chess
