#include "engine/nn_features.h"

namespace vek::engine {
namespace {

constexpr int kColourInputs = 384;
constexpr int kMirrorRanks = 56;  // square ^ 56 mirrors the board vertically

}  // namespace

int inputIndex(int figure, int square, chess::Colour view) {
    const bool white = figure > 0;
    const int kind = white ? figure : -figure;
    const bool own = white == (view == chess::WHITE);
    const int seen = view == chess::WHITE ? square : square ^ kMirrorRanks;
    return (own ? 0 : kColourInputs) + (kind - 1) * 64 + seen;
}

int otherView(int input) {
    const int flipped = input < kColourInputs ? input + kColourInputs : input - kColourInputs;
    return flipped ^ kMirrorRanks;
}

ActiveInputs activeInputs(const std::array<std::int8_t, 64>& squares, chess::Colour view) {
    ActiveInputs inputs;
    for (int square = 0; square < 64 && inputs.count < kMostActive; ++square) {
        const int figure = squares[static_cast<std::size_t>(square)];
        if (figure != 0)
            inputs.index[static_cast<std::size_t>(inputs.count++)] =
                static_cast<std::uint16_t>(inputIndex(figure, square, view));
    }
    return inputs;
}

ActiveInputs otherView(const ActiveInputs& inputs) {
    ActiveInputs other = inputs;
    for (int i = 0; i < inputs.count; ++i)
        other.index[static_cast<std::size_t>(i)] =
            static_cast<std::uint16_t>(otherView(inputs.index[static_cast<std::size_t>(i)]));
    return other;
}

}  // namespace vek::engine
