#pragma once
// One search thread's accumulators of the neural evaluation along the line it searches: for
// each ply both sides' views (N int16 values each: the feature transformer's biases plus the
// rows of the figures on the board). Each ply's accumulators follow from the ply before by the
// few figures the move took off and put on (Position::lastChanges), never from the whole board
// but at the root. A move only records its changes; the sums are brought up to date when an
// evaluation is asked for, so that the many nodes the table or the pruning ends before they
// evaluate cost nothing.

#include <cstdint>
#include <span>
#include <vector>

#include "chess/types.h"
#include "engine/nn_network.h"
#include "engine/nn_simd.h"
#include "engine/position.h"

namespace vek::engine {

class AccumulatorStack {
public:
    // `network` must outlive the stack.
    explicit AccumulatorStack(const Network& network, SimdPath path = fastestSimdPath());

    // The root: the accumulators of the position, from the whole board.
    void reset(const Position& position);
    // A move (or a null move, with no changes) was made; pop() when it is taken back.
    void push(const FigureChanges& changes);
    void pop();

    // The network's output for the current position, at scale kQA × kQB, from the side to
    // move's view: the same number as outputOf (nn_quantised.h).
    std::int64_t output(chess::Colour sideToMove);
    // The same in centipawns, as centipawnsOf.
    int evaluate(const Position& position);
    // The current position's accumulator seen from `view`.
    std::span<const std::int16_t> values(chess::Colour view);

private:
    std::int16_t* valuesAt(std::size_t ply, chess::Colour view);
    // Brings the current ply's accumulators up to date from the last ply that is.
    void update();
    void apply(std::size_t ply);

    const Network& network_;
    const SimdKernels& kernels_;
    std::size_t hidden_;
    std::size_t ply_ = 0;
    std::vector<std::int16_t> values_;  // by ply, then view (White's, Black's), then neuron
    std::vector<FigureChanges> changes_;  // by ply: the move that led to it
    std::vector<bool> current_;           // by ply: its accumulators are up to date
};

}  // namespace vek::engine
