// The engine's speed over a fixed set of positions: trial moves per second, the refresh and the
// evaluation alone, and fixed-depth searches with the number of trial moves each one makes.
#include <array>
#include <cstdint>

#include <benchmark/benchmark.h>

#include "chess/board.h"

namespace {

using vek::chess::Board;
using vek::chess::MoveList;

// Positions in the program's own position text: the square letters from a1 to h8 (upper case
// White, lower case Black; B pawn, S knight, L bishop, T rook, D queen, K king) and the side
// to move. Castling follows from kings and rooks standing on their initial squares.
constexpr std::array<const char*, 7> kPositions{{
    // 1. The initial position.
    "TSLDKLSTBBBBBBBB                                bbbbbbbbtsldklstW",
    // 2. A typical middlegame: r1bq1rk1/ppp1npbp/3p1np1/3Pp3/2P1P3/2N2N2/PP2BPPP/R1BQ1RK1 w
    "T LD TK BB  LBBB  S  S    B B      Bb      b sb bbb sblbt ld tk W",
    // 3. Castling both ways and pins: r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w
    "T   K  TBBBLLBBB  S  D b b  B      BS   ls  bsb b bbdbl t   k  tW",
    // 4. An endgame: 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w
    "            B B          T   b kKB     t   b      b             W",
    // 5. In check, with promotions: r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w
    "T  D TK Bb B  BBd    S  LLB B   sB       l   slSBbbb bbbt   k  tW",
    // 6. A promotion with capture: rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w
    "TSLDK  TBBB SsBB          L               b     bb Blbbbtsld k tW",
    // 7. King and queen against a lone king, one move from mate or stalemate: 7k/8/5K2/8/8/8/8/6Q1 w
    "      D                                      K                 kW",
}};

// Loads position number `number` (1 to 7); false when the text is refused. The second refresh
// lets every figure see the others' lists of this position, as after a move played in a game.
bool load(Board& board, std::int64_t number) {
    if (!board.loadPosition(vek::STRING(kPositions[static_cast<std::size_t>(number - 1)])))
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

void refresh(benchmark::State& state) {
    Board board;
    if (!loadOrSkip(board, state))
        return;
    for (auto _ : state) {
        board.refresh();
        benchmark::ClobberMemory();
    }
}

void evaluate(benchmark::State& state) {
    Board board;
    if (!loadOrSkip(board, state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(board.evaluate());
}

// Each search starts from a freshly loaded position, so that the figures that trial promotions
// create do not pile up over the iterations.
void findBestMove(benchmark::State& state) {
    Board board;
    std::uint64_t trials = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!loadOrSkip(board, state))
            break;
        const std::uint64_t before = board.trialMoveCount();
        state.ResumeTiming();
        std::int32_t candidates = 0;
        benchmark::DoNotOptimize(board.findBestMove(static_cast<std::int32_t>(state.range(1)), candidates, true));
        trials += board.trialMoveCount() - before;
    }
    state.counters["trial_moves"] = benchmark::Counter(static_cast<double>(trials), benchmark::Counter::kAvgIterations);
}

void positions(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("position")->DenseRange(1, static_cast<int>(kPositions.size()));
}

BENCHMARK(trialMoves)->Apply(positions);
BENCHMARK(refresh)->Apply(positions);
BENCHMARK(evaluate)->Apply(positions);
BENCHMARK(findBestMove)
    ->ArgNames({"position", "depth"})
    ->ArgsProduct({benchmark::CreateDenseRange(1, static_cast<int>(kPositions.size()), 1), {1, 2, 3, 4}})
    ->Args({1, 5})
    ->Args({4, 5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
