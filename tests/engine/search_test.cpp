// The engine's search: mates by their distance, draws by repetition and the fifty-move rule,
// the table across move orders and plies, and the limits a GUI sets.
#include <algorithm>
#include <cstdint>
#include <atomic>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search.h"
#include "engine/transposition.h"
#include "tests/engine/fen_position.h"

namespace vek::engine {
namespace {

using testing::positionFromFen;

constexpr Move move(int from, int to) { return Move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), 0}; }
// Squares by name, for readable moves.
constexpr int sq(const char* name) { return (name[1] - '1') * 8 + (name[0] - 'a'); }
constexpr Move move(const char* from, const char* to) { return move(sq(from), sq(to)); }

struct Outcome {
    std::optional<Move> best;
    std::vector<Report> reports;
};

Outcome run(const Position& position, const Limits& limits, bool stopped = false) {
    Searcher searcher(4);
    const std::atomic<bool> stop{stopped};
    Outcome outcome;
    outcome.best = searcher.search(
        position, limits, stop, deepenAlways,
        [&](const Report& report) { outcome.reports.push_back(report); });
    return outcome;
}

Outcome toDepth(const char* fen, int depth) {
    Limits limits;
    limits.depth = depth;
    return run(positionFromFen(fen), limits);
}

TEST(EngineSearch, MatesAreScoredByTheirDistanceFromBothSides) {
    const Outcome inOne = toDepth("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 4);
    EXPECT_EQ(inOne.best, move("a1", "a8"));
    EXPECT_EQ(inOne.reports.back().score, (Score{true, 1}));

    const Outcome inTwo = toDepth("k7/8/2K5/8/8/8/8/7R w - - 0 1", 6);
    ASSERT_FALSE(inTwo.reports.empty());
    EXPECT_EQ(inTwo.reports.back().score, (Score{true, 2}));
    EXPECT_EQ(inTwo.reports.back().pv.size(), 3u);  // the whole line down to the mate

    const Outcome mated = toDepth("k7/8/1K6/8/8/8/8/7R b - - 0 1", 6);
    EXPECT_EQ(mated.best, move("a8", "b8"));
    EXPECT_EQ(mated.reports.back().score, (Score{true, -1}));

    // A capture that mates beyond the depth: the quiescence search answers its check by the
    // evasions there are, none.
    Limits careless;
    careless.depth = 1;
    careless.searchMoves = {move("a7", "a6")};
    const Outcome scholar = run(positionFromFen("r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 3 3"), careless);
    EXPECT_EQ(scholar.reports.back().score, (Score{true, -1}));
}

// A mate that the null-move search finds after passing is no mate of the node: its distance
// counts the pass, and a real move may not keep it. Taken as it is, it made these mates a
// move longer or hid them; each distance is the true one (Stockfish 15.1 agrees).
TEST(EngineSearch, ANullMovesMateIsNotTakenForTheNodes) {
    struct Mate {
        const char* fen;
        int depth;
        int moves;  // negative: the side to move is mated
    };
    const Mate mates[] = {
        {"7R/8/8/1k4K1/8/8/7Q/8 b - - 0 1", 8, -4},
        {"3k4/8/5P2/4K3/8/8/4Q3/8 b - - 0 1", 9, -4},
        {"3K4/8/8/5k2/8/8/3R4/7R w - - 0 1", 9, 6},
        {"8/8/8/5k1R/8/2K4R/8/8 b - - 0 1", 10, -6},
    };
    for (const Mate& mate : mates) {
        const Outcome outcome = toDepth(mate.fen, mate.depth);
        ASSERT_FALSE(outcome.reports.empty()) << mate.fen;
        EXPECT_EQ(outcome.reports.back().score, (Score{true, mate.moves}))
            << mate.fen << ": " << outcome.reports.back().score.value;
    }
}

// A check given in the quiescence search must be answered by an evasion, never by standing on
// the evaluation: here g4 lets the knight take on f3 with check and win the queen whatever
// the king does, which only the evasions show.
TEST(EngineSearch, QuiescenceAnswersACheckByEvasionsAlone) {
    Limits careless;
    careless.depth = 1;
    careless.searchMoves = {move("g2", "g4")};
    const Outcome fork = run(positionFromFen("6k1/5ppp/8/8/7n/5P2/PP4PP/4Q1K1 w - - 0 1"), careless);
    ASSERT_FALSE(fork.reports.empty());
    EXPECT_FALSE(fork.reports.back().score.isMate);
    EXPECT_LT(fork.reports.back().score.value, 300);  // a queen for a knight and a pawn gone
}

TEST(EngineSearch, RepetitionAndTheFiftyMoveRuleDraw) {
    // Far behind, White saves itself by checking for ever: Qe8+ Kh7 Qh5+ Kg8 Qe8+ ...
    const Outcome perpetual = toDepth("6k1/6p1/8/8/8/3K4/nq2Q3/rr6 w - - 0 1", 8);
    EXPECT_EQ(perpetual.best, move("e2", "e8"));
    EXPECT_EQ(perpetual.reports.back().score, (Score{false, 0}));

    // A queen up, but the hundredth half move without capture or pawn move has come.
    const char* queenAhead = "8/8/8/4k3/8/8/8/KQ6 w - - 0 1";
    EXPECT_GT(toDepth(queenAhead, 4).reports.back().score.value, 500);
    Limits limits;
    limits.depth = 4;
    const Outcome fifty = run(positionFromFen(queenAhead, 100, 90), limits);
    EXPECT_EQ(fifty.reports.back().score, (Score{false, 0}));
    // One half move before it, any quiet move reaches it (no mate in one is there).
    Position lastMove = positionFromFen(queenAhead, 99, 90);
    EXPECT_EQ(run(lastMove, limits).reports.back().score, (Score{false, 0}));
    EXPECT_FALSE(lastMove.isFiftyMoveDraw());
    lastMove.play(move("b1", "b2"));
    EXPECT_TRUE(lastMove.isFiftyMoveDraw());
}

TEST(EngineSearch, GameMovesKeepTheCountersAndTheEarlierPositions) {
    Position position = positionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 7, 12);
    const Move there[] = {move("g1", "f3"), move("g8", "f6"), move("f3", "g1"), move("f6", "g8")};
    // The start position comes back twice: the third time is the repetition of the rules.
    for (int round = 0; round < 2; ++round)
        for (const Move m : there) {
            EXPECT_FALSE(position.isRepetition());
            position.play(m);
        }
    EXPECT_TRUE(position.isRepetition());
    EXPECT_EQ(position.halfmoveClock(), 15);
    EXPECT_EQ(position.fullmoveNumber(), 16);
    // Inside a search line a single return counts: Nc3 comes back after Nc6 Nb1 Nb8.
    const Move line[] = {move("b1", "c3"), move("b8", "c6"), move("c3", "b1"), move("c6", "b8"), move("b1", "c3")};
    for (const Move m : line)
        position.make(m);
    EXPECT_TRUE(position.isRepetition());
    position.undo();
    position.undo();
    EXPECT_FALSE(position.isRepetition());
    for (int ply = 0; ply < 3; ++ply)
        position.undo();
    position.play(move("e2", "e4"));
    EXPECT_FALSE(position.isRepetition());
    EXPECT_EQ(position.halfmoveClock(), 0);
    EXPECT_EQ(position.fullmoveNumber(), 16);
    // So does a return to the position the search began in.
    for (const Move m : {move("g8", "f6"), move("g1", "f3"), move("f6", "g8"), move("f3", "g1")})
        position.make(m);
    EXPECT_TRUE(position.isRepetition());
}

TEST(EngineTable, FindsAPositionReachedByTwoMoveOrders) {
    // The second order ends on a double step that no pawn can take en passant: the key must not
    // tell the two apart.
    Position first = positionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    Position second = first;
    for (const Move m : {move("e2", "e4"), move("e7", "e5"), move("g1", "f3")})
        first.play(m);
    for (const Move m : {move("g1", "f3"), move("e7", "e5"), move("e2", "e4")})
        second.play(m);
    EXPECT_EQ(first.key(), second.key());
    // So must a GUI's FEN of the second order, which names the square passed.
    EXPECT_EQ(positionFromFen("rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq e3 0 2").key(), first.key());

    TranspositionTable table(1);
    table.store(first.key(), 3, move("b8", "c6"), 25, -12, 5, bdEXACT);
    const auto entry = table.probe(second.key(), 5);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->move, move("b8", "c6"));
    EXPECT_EQ(entry->score, 25);
    EXPECT_EQ(entry->eval, -12);
    EXPECT_EQ(entry->depth, 5);
}

TEST(EngineTable, MateScoresKeepTheirDistanceFromTheNode) {
    // Found at ply 3: mate 2 plies further on (at ply 5 from the root). Read at ply 7 it is a
    // mate at ply 9; the same for being mated.
    TranspositionTable table(1);
    table.store(1, 3, kNoMove, kMate - 5, 0, 4, bdEXACT);
    table.store(2, 3, kNoMove, -(kMate - 5), 0, 4, bdEXACT);
    EXPECT_EQ(table.probe(1, 7)->score, kMate - 9);
    EXPECT_EQ(table.probe(2, 7)->score, -(kMate - 9));
    EXPECT_EQ(table.probe(1, 3)->score, kMate - 5);
}

// An entry of the same position keeps what a deeper search of it found, and a result without
// a move keeps the move stored before.
TEST(EngineTable, KeepsTheDeeperEntryAndTheKnownMove) {
    TranspositionTable table(1);
    table.nextGeneration();
    table.store(7, 0, move("e2", "e4"), 40, 0, 10, bdLOWER);
    table.store(7, 0, move("d2", "d4"), -20, 0, 2, bdUPPER);
    ASSERT_TRUE(table.probe(7, 0));
    EXPECT_EQ(table.probe(7, 0)->depth, 10);
    EXPECT_EQ(table.probe(7, 0)->bound, bdLOWER);
    EXPECT_EQ(table.probe(7, 0)->move, move("e2", "e4"));
    table.store(7, 0, kNoMove, 15, 0, 11, bdEXACT);
    EXPECT_EQ(table.probe(7, 0)->move, move("e2", "e4"));
    EXPECT_EQ(table.probe(7, 0)->score, 15);
}

// Each bound reads back as it was stored, and a result of the same depth replaces the one
// before: a node searched again in another window leaves what it found last.
TEST(EngineTable, BoundsReadBackAsStoredAndTheSameDepthReplaces) {
    TranspositionTable table(1);
    table.nextGeneration();
    int score = 30;
    for (const Bound bound : {bdUPPER, bdLOWER, bdEXACT, bdUPPER, bdLOWER}) {
        table.store(9, 2, move("g1", "f3"), ++score, 12, 6, bound);
        const auto entry = table.probe(9, 2);
        ASSERT_TRUE(entry);
        EXPECT_EQ(static_cast<int>(entry->bound), static_cast<int>(bound)) << score;
        EXPECT_EQ(entry->score, score);
        EXPECT_EQ(entry->depth, 6);
    }
}

// A search repeated on the table that the first left behind finds the same score, but for the
// little that cut-offs on deeper entries change, with fewer nodes: bounds read back as they
// were meant cut the repeat short (read back swapped, they cost more nodes than a cold table).
TEST(EngineTable, ASearchRepeatedOnAWarmTableScoresTheSame) {
    for (const char* fen : {"r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "8/8/8/4k3/8/8/8/KQ6 w - - 0 1"}) {
        Searcher searcher(4);
        const std::atomic<bool> stop{false};
        Limits limits;
        limits.depth = 8;
        std::vector<Score> scores;
        std::vector<std::uint64_t> nodes;
        for (int round = 0; round < 2; ++round)
            searcher.search(
                positionFromFen(fen), limits, stop, deepenAlways,
                [&](const Report& report) {
                    if (report.depth == limits.depth) {
                        scores.push_back(report.score);
                        nodes.push_back(report.nodes);
                    }
                });
        ASSERT_EQ(scores.size(), 2u) << fen;
        EXPECT_EQ(scores[0].isMate, scores[1].isMate) << fen;
        EXPECT_NEAR(scores[0].value, scores[1].value, 20) << fen;
        EXPECT_LE(nodes[1], nodes[0]) << fen;
    }
}

// Tactics that a search of fixed depth finds, which no pruning, reduction or cut-off may lose:
// mates, forks, a deflection, a quiet move that wins.
TEST(EngineSearch, FindsTheTacticsOfASmallSet) {
    struct Tactic {
        const char* fen;
        int depth;
        Move best;
    };
    const Tactic tactics[] = {
        {"2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1", 8, move("g3", "g6")},
        {"rnbqkb1r/pppp1ppp/8/4P3/6n1/7P/PPPNPPP1/R1BQKBNR b KQkq - 0 1", 6, move("g4", "e3")},
        {"r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq - 0 1", 6, move("f8", "c5")},
        {"r1bq2rk/pp3pbp/2p1p1pQ/7P/3P4/2PB1N2/PP3PPR/2KR4 w - - 0 1", 6, move("h6", "h7")},
        {"5k2/6pp/p1qN4/1p1p4/3P4/2PKP2Q/PP3r2/3R4 b - - 0 1", 6, move("c6", "c4")},
        {"7k/p7/1R5K/6r1/6p1/6P1/8/8 w - - 0 1", 8, move("b6", "b7")},
        {"r4q1k/p2bR1rp/2p2Q1N/5p2/5p2/2P5/PP3PPP/R5K1 w - - 0 1", 6, move("e7", "f7")},
        {"3q1rk1/p4pp1/2pb3p/3p4/6Pr/1PNQ4/P1PB1PP1/4RRK1 b - - 0 1", 6, move("d6", "h2")},
        {"2br2k1/2q3rn/p2NppQ1/2p1P3/Pp5R/4P3/1P3PPP/3R2K1 w - - 0 1", 6, move("h4", "h7")},
    };
    for (const Tactic& tactic : tactics)
        EXPECT_EQ(toDepth(tactic.fen, tactic.depth).best, tactic.best) << tactic.fen;
}

// Pawn endings where the king wins the enemy pawn and its own pawn queens, each with a depth
// the search needs to see it: a search that tries passing there (a null move, though in a pawn
// ending the side to move may be in zugzwang, which passing hides) or takes a reduced search's
// cut-off without searching again at full depth sees about a pawn's lead, not a queen.
TEST(EngineSearch, SeesThePawnEndingsItWins) {
    struct Ending {
        const char* fen;
        int depth;
    };
    const Ending endings[] = {
        {"8/8/1K6/3k1p2/5P2/8/8/8 b - - 0 1", 16}, {"8/8/8/1p6/1Pk5/8/3K4/8 b - - 0 1", 16},
        {"8/8/1p6/1P5k/8/3K4/8/8 w - - 0 1", 16},  {"8/8/1p6/1P6/1k6/7K/8/8 b - - 0 1", 16},
        {"8/8/6k1/1pK5/1P6/8/8/8 w - - 0 1", 16},  {"1K6/8/6p1/3k2P1/8/8/8/8 b - - 0 1", 20},
        {"5K2/8/1p6/1P6/8/8/3k4/8 b - - 0 1", 20}, {"7K/2k5/8/6p1/6P1/8/8/8 w - - 0 1", 18},
        {"8/1K6/5p2/5P2/3k4/8/8/8 b - - 0 1", 18}, {"8/8/8/1K3p2/5P2/8/k7/8 w - - 0 1", 20},
        {"8/7k/3p4/3P4/6Kp/7P/8/8 w - - 0 1", 16}, {"8/1k6/8/4K1p1/2p3P1/2P5/8/8 w - - 0 1", 15},
        {"2k2K2/8/1p6/1P6/8/8/8/8 w - - 0 1", 16},   {"8/8/6K1/8/5p2/5P2/7k/8 w - - 0 1", 16},
        {"1k6/8/8/8/1p6/1PK5/8/8 w - - 0 1", 16},
    };
    for (const Ending& ending : endings) {
        const Outcome outcome = toDepth(ending.fen, ending.depth);
        ASSERT_FALSE(outcome.reports.empty()) << ending.fen;
        EXPECT_GT(outcome.reports.back().score.value, 600) << ending.fen;
    }
}

// Before each new depth the caller learns how long the best move has held and what the best
// line lost, as the depths' reports show them.
TEST(EngineSearch, TellsHowSettledItIsBeforeEachDepth) {
    Searcher searcher(4);
    const std::atomic<bool> stop{false};
    Limits limits;
    limits.depth = 9;
    std::vector<Report> reports;
    std::vector<Stability> asked;
    searcher.search(
        positionFromFen("r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7"), limits, stop,
        [&](const Stability& stability) {
            asked.push_back(stability);
            return true;
        },
        [&](const Report& report) { reports.push_back(report); });
    ASSERT_EQ(reports.size(), 9u);
    ASSERT_EQ(asked.size(), 8u);  // not after the last depth
    bool changed = false, dropped = false;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(asked[i].nextDepth, reports[i].depth + 1);
        const int held = i == 0 || reports[i].pv.front() != reports[i - 1].pv.front() ? 0 : asked[i - 1].stableDepths + 1;
        EXPECT_EQ(asked[i].stableDepths, held) << "before depth " << asked[i].nextDepth;
        const int drop = i == 0 ? 0 : std::max(0, reports[i - 1].score.value - reports[i].score.value);
        EXPECT_EQ(asked[i].scoreDrop, drop) << "before depth " << asked[i].nextDepth;
        changed = changed || (i > 0 && held == 0);
        dropped = dropped || drop > 0;
    }
    EXPECT_TRUE(changed && dropped) << "the position no longer tries both";
}

TEST(EngineSearch, HonoursSearchMovesNodesAndMateLimits) {
    const Position start = positionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    Limits only;
    only.depth = 4;
    only.searchMoves = {move("a2", "a3"), move("h2", "h3")};
    const Outcome restricted = run(start, only);
    ASSERT_TRUE(restricted.best.has_value());
    EXPECT_TRUE(*restricted.best == move("a2", "a3") || *restricted.best == move("h2", "h3"));
    for (const Report& report : restricted.reports)
        EXPECT_TRUE(report.pv.front() == move("a2", "a3") || report.pv.front() == move("h2", "h3"));

    Limits nodes;
    nodes.nodes = 3000;
    const Outcome counted = run(start, nodes);
    ASSERT_TRUE(counted.best.has_value());
    EXPECT_LE(counted.reports.back().nodes, 3000u);

    // Unbounded in depth, the search ends by itself once the mate in two is proven.
    Limits mate;
    mate.mate = 2;
    const Outcome mating = run(positionFromFen("k7/8/2K5/8/8/8/8/7R w - - 0 1"), mate);
    EXPECT_EQ(mating.reports.back().score, (Score{true, 2}));
}

// A depth stopped part-way reports its line as a lower bound (the moves it did not search may be
// better), a finished one as exact: by node budgets that end the search at different places.
TEST(EngineSearch, AStoppedDepthsLineIsOnlyALowerBound) {
    const Position position =
        positionFromFen("r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7");
    bool sawStopped = false;
    for (const std::uint64_t budget : {3000u, 7000u, 15000u, 30000u, 60000u}) {
        Limits limits;
        limits.nodes = budget;
        const Outcome outcome = run(position, limits);
        ASSERT_FALSE(outcome.reports.empty());
        const Report& last = outcome.reports.back();
        for (std::size_t i = 0; i + 1 < outcome.reports.size(); ++i)
            EXPECT_EQ(outcome.reports[i].bound, bdEXACT) << budget << " nodes, depth " << outcome.reports[i].depth;
        // The same depth searched to its end: the budget stopped it when it costs as much.
        Limits whole;
        whole.depth = last.depth;
        const bool stopped = run(position, whole).reports.back().nodes >= budget;
        EXPECT_EQ(last.bound, stopped ? bdLOWER : bdEXACT) << budget << " nodes, depth " << last.depth;
        sawStopped = sawStopped || stopped;
    }
    EXPECT_TRUE(sawStopped) << "no budget stopped a depth with a line";
}

TEST(EngineSearch, AStopBeforeTheFirstDepthStillGivesALegalMove) {
    const Position position = positionFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    const Outcome stopped = run(position, Limits{}, true);
    ASSERT_TRUE(stopped.best.has_value());
    const std::vector<Move> legal = position.legalMoves();
    EXPECT_NE(std::find(legal.begin(), legal.end(), *stopped.best), legal.end());

    // No legal move at all: mate.
    EXPECT_FALSE(run(positionFromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1"), Limits{}).best.has_value());
}

}  // namespace
}  // namespace vek::engine
