#pragma once
// The quantised network the engine evaluates with, in integers only: the feature transformer's
// int16 weights and biases at scale kQA, the output layer's int16 weights at kQB and its int32
// bias at kQA × kQB. The trainer writes it, the engine reads it; outputOf is the reference that
// the engine's incremental evaluation (nn_network.h) must match exactly.

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "chess/types.h"

namespace vek::engine {

inline constexpr int kQA = 255;         // a float 1.0 of the feature transformer: the clipped ReLU's top
inline constexpr int kQB = 256;         // a float 1.0 of an output weight
inline constexpr int kEvalScale = 400;  // centipawns of an output of 1.0 (sigmoid(1) ≈ 73 %)
inline constexpr std::uint16_t kQuantisedVersion = 1;

struct QuantisedNetwork {
    int hidden = 0;
    std::vector<std::int16_t> inputWeights;   // [input][hidden], 768 × hidden
    std::vector<std::int16_t> inputBiases;    // hidden
    std::vector<std::int16_t> outputWeights;  // side to move's half, then the other's: 2 × hidden
    std::int32_t outputBias = 0;
};

// The output as an integer at scale kQA × kQB, from the side to move's view.
// squares: 0 empty, the kind (1 pawn ... 6 king), negated for Black.
std::int64_t outputOf(const QuantisedNetwork& network, const std::array<std::int8_t, 64>& squares,
                      chess::Colour sideToMove);
// An output in centipawns, rounded toward zero.
constexpr int centipawnsOf(std::int64_t output) { return static_cast<int>(output * kEvalScale / (kQA * kQB)); }
// The output of a position in centipawns.
int centipawnsOf(const QuantisedNetwork& network, const std::array<std::int8_t, 64>& squares,
                 chess::Colour sideToMove);

// Writes the network file; returns its checksum. Throws std::runtime_error when writing fails.
std::uint64_t writeQuantised(std::ostream& out, const QuantisedNetwork& network);
// Throws NetworkError (engine/nn_network_file.h) naming the file and what is wrong.
QuantisedNetwork readQuantised(std::istream& in, const std::string& name);

}  // namespace vek::engine
