#include "engine/nn_accumulator.h"

#include <array>

#include "engine/nn_features.h"
#include "engine/transposition.h"

namespace vek::engine {
namespace {

using chess::BLACK;
using chess::WHITE;

// The line of a search is at most kMaxPly plies deep: room for it and its root from the start,
// so that the search never waits for memory (a deeper line, of a test, grows the stack).
constexpr std::size_t kPlies = kMaxPly + 1;

}  // namespace

AccumulatorStack::AccumulatorStack(const Network& network, SimdPath path)
    : network_(network),
      kernels_(simdKernels(path)),
      hidden_(network.hidden()),
      values_(kPlies * 2 * hidden_),
      changes_(kPlies),
      current_(kPlies) {}

std::int16_t* AccumulatorStack::valuesAt(std::size_t ply, chess::Colour view) {
    return &values_[(ply * 2 + static_cast<std::size_t>(view)) * hidden_];
}

void AccumulatorStack::reset(const Position& position) {
    ply_ = 0;
    current_[0] = true;
    for (const chess::Colour view : {WHITE, BLACK}) {
        std::int16_t* values = valuesAt(0, view);
        kernels_.update(network_.biases(), values, nullptr, 0, nullptr, 0, hidden_);
        for (int square = 0; square < 64; ++square)
            if (const int figure = position.pieceAt(square); figure != 0) {
                const std::int16_t* row = network_.row(inputIndex(figure, square, view));
                kernels_.update(values, values, &row, 1, nullptr, 0, hidden_);
            }
    }
}

void AccumulatorStack::push(const FigureChanges& changes) {
    if (++ply_ == changes_.size()) {
        values_.resize(values_.size() + 2 * hidden_);
        changes_.emplace_back();
        current_.push_back(false);
    }
    changes_[ply_] = changes;
    current_[ply_] = false;
}

void AccumulatorStack::pop() { --ply_; }

void AccumulatorStack::update() {
    std::size_t ply = ply_;
    while (!current_[ply])
        --ply;
    while (ply < ply_)
        apply(++ply);
}

void AccumulatorStack::apply(std::size_t ply) {
    const FigureChanges& changes = changes_[ply];
    for (const chess::Colour view : {WHITE, BLACK}) {
        std::array<const std::int16_t*, 2> added{};
        std::array<const std::int16_t*, 2> removed{};
        for (std::size_t i = 0; i < changes.onCount; ++i)
            added[i] = network_.row(inputIndex(changes.on[i].figure, changes.on[i].square, view));
        for (std::size_t i = 0; i < changes.offCount; ++i)
            removed[i] = network_.row(inputIndex(changes.off[i].figure, changes.off[i].square, view));
        kernels_.update(valuesAt(ply - 1, view), valuesAt(ply, view), added.data(), changes.onCount, removed.data(),
                        changes.offCount, hidden_);
    }
    current_[ply] = true;
}

std::int64_t AccumulatorStack::output(chess::Colour sideToMove) {
    update();
    return std::int64_t{network_.outputBias()} +
           kernels_.weighClipped(valuesAt(ply_, sideToMove), network_.ownWeights(), hidden_) +
           kernels_.weighClipped(valuesAt(ply_, chess::opponent(sideToMove)), network_.otherWeights(), hidden_);
}

int AccumulatorStack::evaluate(const Position& position) {
    return centipawnsOf(output(position.sideToMove()));
}

std::span<const std::int16_t> AccumulatorStack::values(chess::Colour view) {
    update();
    return {valuesAt(ply_, view), hidden_};
}

}  // namespace vek::engine
