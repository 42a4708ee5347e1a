// The engine's board (perft), its evaluations of a middlegame (hand-written and network) and its
// fixed-depth search, with moves and nodes per second.
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/evaluation.h"
#include "engine/nn_accumulator.h"
#include "engine/search.h"
#include "uci/fen.h"

namespace {

using vek::engine::Position;

// A King's Indian middlegame (after 1.d4 Nf6 2.c4 g6 3.Nc3 Bg7 4.e4 d6 5.Nf3 O-O 6.Be2 e5
// 7.O-O Nc6 8.d5 Ne7), the start and Kiwipete.
constexpr const char* kPositions[] = {
    "r1bq1rk1/ppp1npbp/3p1np1/3Pp3/2P1P3/2N2N2/PP2BPPP/R1BQ1RK1 w - - 1 9",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
};

Position positionOf(std::int64_t index) {
    std::string error;
    const auto standard = vek::uci::parseFen(kPositions[index], error);
    return Position::fromSquares(standard->squares, standard->side, standard->castling, standard->castlingRooks, false,
                                 standard->enPassant, 0, 1);
}

std::uint64_t perft(Position& position, int depth) {
    vek::engine::MoveBuffer buffer;
    position.generate(buffer, false);
    std::uint64_t leaves = 0;
    for (std::size_t i = 0; i < buffer.count; ++i) {
        if (!position.make(buffer.moves[i]))
            continue;
        leaves += depth > 1 ? perft(position, depth - 1) : 1;
        position.undo();
    }
    return leaves;
}

// The board alone: every pseudo-legal move made, checked for legality and taken back.
void boardPerft(benchmark::State& state) {
    Position position = positionOf(state.range(0));
    std::uint64_t leaves = 0;
    for (auto _ : state)
        leaves += perft(position, static_cast<int>(state.range(1)));
    state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
}
BENCHMARK(boardPerft)->ArgNames({"position", "depth"})->Args({2, 3})->Unit(benchmark::kMillisecond);

void evaluation(benchmark::State& state) {
    const Position position = positionOf(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(vek::engine::evaluate(position));
}
BENCHMARK(evaluation)->ArgName("position")->Arg(0);

// The built-in network's evaluation after each legal move in turn, as a node of the search
// pays for it: the accumulators brought up to date by the move's changes, then the output
// layer; on each SIMD path (0 plain C++, 1 SSE2, 2 AVX2) that the processor runs.
void networkEvaluation(benchmark::State& state) {
    const auto path = static_cast<vek::engine::SimdPath>(state.range(1));
    if (!vek::engine::simdPathSupported(path)) {
        state.SkipWithError("the processor lacks this path");
        return;
    }
    Position position = positionOf(state.range(0));
    const auto network = vek::engine::Network::builtIn();
    vek::engine::AccumulatorStack accumulators(*network, path);
    accumulators.reset(position);
    const std::vector<vek::engine::Move> moves = position.legalMoves();
    std::size_t next = 0;
    for (auto _ : state) {
        position.make(moves[next++ % moves.size()]);
        accumulators.push(position.lastChanges());
        benchmark::DoNotOptimize(accumulators.evaluate(position));
        accumulators.pop();
        position.undo();
    }
}
BENCHMARK(networkEvaluation)->ArgNames({"position", "simd"})->Args({0, 0})->Args({0, 1})->Args({0, 2});

// A fresh table each time, one thread, to a fixed depth: the node count is the search's own.
void alphaBeta(benchmark::State& state) {
    const Position position = positionOf(state.range(0));
    const std::atomic<bool> stop{false};
    vek::engine::Limits limits;
    limits.depth = static_cast<int>(state.range(1));
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        vek::engine::Searcher searcher(16);
        searcher.search(
            position, limits, stop, vek::engine::deepenAlways,
            [&](const vek::engine::Report& report) { nodes = report.nodes; });
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(alphaBeta)->ArgNames({"position", "depth"})->Args({0, 10})->Args({1, 12})->Args({2, 8})
    ->Unit(benchmark::kMillisecond);

}  // namespace
