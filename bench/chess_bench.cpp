// The engine's speed over a fixed set of positions: trial moves per second, the refresh and the
// evaluation alone, and fixed-depth searches with the number of trial moves each one makes.
#include <array>
#include <cstdint>

#include <benchmark/benchmark.h>

#include "chess/board.h"
#include "tests/chess/reference_positions.h"

namespace {

using vek::chess::Board;
using vek::chess::Move;
using vek::chess::MoveList;

using vek::chess::testing::kReferencePositions;

// Loads position number `number` (1 to 7); false when the text is refused. The second refresh
// lets every figure see the others' lists of this position, as after a move played in a game.
bool load(Board& board, std::int64_t number) {
    if (!board.loadPosition(vek::STRING(kReferencePositions[static_cast<std::size_t>(number - 1)])))
        return false;
    board.refresh();
    return true;
}

bool loadOrSkip(Board& board, benchmark::State& state) {
    if (load(board, state.range(0)))
        return true;
    state.SkipWithError("position refused");
    return false;
}

MoveList candidatesOf(const Board& board) {
    std::size_t checkers = 0;
    MoveList evasions = board.listEvasions(checkers);
    return checkers > 0 ? evasions : board.listAllMoves();
}

// Each candidate made, refreshed, evaluated and taken back, by the search's own loop: scoring
// at depth 1 goes no deeper (and asks the thread registry once per list, as the search does).
void trialMoves(benchmark::State& state) {
    Board board;
    if (!loadOrSkip(board, state))
        return;
    MoveList list = candidatesOf(board);
    for (auto _ : state)
        benchmark::DoNotOptimize(board.scoreMoves(list, 1));
    state.counters["trial_moves/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * list.getCount()), benchmark::Counter::kIsRate);
}

// A refresh as the search meets it, with lists that really change: after each candidate is
// made, and again after it is taken back (refreshing an unchanged position would find every
// list still valid). The make and the take-back are timed with it; they cost little beside it.
// The side to move is not handed over, so a checking move may end the state decision early.
void refresh(benchmark::State& state) {
    Board board;
    if (!loadOrSkip(board, state))
        return;
    MoveList list = candidatesOf(board);
    for (auto _ : state) {
        for (Move& move : list) {
            board.applyMove(move);
            board.refresh();
            board.takeBack(move);
            board.refresh();
        }
        benchmark::ClobberMemory();
    }
    state.counters["time_per_refresh"] = benchmark::Counter(
        static_cast<double>(state.iterations() * list.getCount() * 2),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void evaluate(benchmark::State& state) {
    Board board;
    if (!loadOrSkip(board, state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(board.evaluate());
}

// Each search starts from a freshly loaded position, searched with `threads` workers. The
// trial-move rate is per second of real time, the time the user waits; `rescored` counts the
// root moves that a worker had to score again.
void findBestMove(benchmark::State& state) {
    Board board;
    board.setSearchThreads(static_cast<std::size_t>(state.range(2)));
    std::uint64_t trials = 0;
    std::uint64_t rescored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!loadOrSkip(board, state))
            break;
        const std::uint64_t before = board.trialMoveCount();
        const std::uint64_t rescoredBefore = board.rescoredRootMoves();
        state.ResumeTiming();
        std::int32_t candidates = 0;
        benchmark::DoNotOptimize(board.findBestMove(static_cast<std::int32_t>(state.range(1)), candidates, true));
        trials += board.trialMoveCount() - before;
        rescored += board.rescoredRootMoves() - rescoredBefore;
    }
    state.counters["trial_moves"] = benchmark::Counter(static_cast<double>(trials), benchmark::Counter::kAvgIterations);
    state.counters["trial_moves/s"] = benchmark::Counter(static_cast<double>(trials), benchmark::Counter::kIsRate);
    state.counters["rescored"] = benchmark::Counter(static_cast<double>(rescored), benchmark::Counter::kAvgIterations);
}

void positions(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("position")->DenseRange(1, static_cast<int>(kReferencePositions.size()));
}

BENCHMARK(trialMoves)->Apply(positions);
BENCHMARK(refresh)->Apply(positions);
BENCHMARK(evaluate)->Apply(positions);
BENCHMARK(findBestMove)
    ->ArgNames({"position", "depth", "threads"})
    ->ArgsProduct({benchmark::CreateDenseRange(1, static_cast<int>(kReferencePositions.size()), 1), {1, 2, 3, 4}, {1, 2}})
    ->Args({1, 5, 1})
    ->Args({1, 5, 2})
    ->Args({4, 5, 1})
    ->Args({4, 5, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
