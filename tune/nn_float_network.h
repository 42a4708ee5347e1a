#pragma once
// The network as the trainer fits it, in float: the feature transformer (768 × hidden weights
// and hidden biases, shared by both sides' halves), then one output neuron over the clipped
// ReLU of the side to move's half and the other side's (2 × hidden weights and a bias).
// All parameters live in one array, so that the optimiser and the files walk them alike.

#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "engine/nn_features.h"
#include "engine/nn_quantised.h"

namespace vek::engine::tune {

inline constexpr std::uint16_t kFloatVersion = 1;
// The largest magnitudes that quantising still fits in int16: the feature transformer's
// weights and biases, and the output layer's weights and bias.
inline constexpr float kInputLimit = 32767.0f / kQA;
inline constexpr float kOutputLimit = 32767.0f / kQB;

class FloatNetwork {
public:
    // Small random weights drawn from the seed, zero biases.
    FloatNetwork(int hidden, std::uint64_t seed);

    int hidden() const { return hidden_; }
    std::span<float> parameters() { return parameters_; }
    std::span<const float> parameters() const { return parameters_; }

    // Where each part begins in parameters().
    std::size_t inputBiasesAt() const { return kInputs * static_cast<std::size_t>(hidden_); }
    std::size_t outputWeightsAt() const { return inputBiasesAt() + static_cast<std::size_t>(hidden_); }
    std::size_t outputBiasAt() const { return outputWeightsAt() + 2 * static_cast<std::size_t>(hidden_); }

    // The output (centipawns / kEvalScale) for the side to move's inputs and the other side's.
    float output(const ActiveInputs& own, const ActiveInputs& other) const;

    QuantisedNetwork quantised() const;

    // The float file keeps every parameter bit for bit, to go on training from.
    void write(std::ostream& out) const;
    static FloatNetwork read(std::istream& in, const std::string& name);

private:
    explicit FloatNetwork(int hidden);

    int hidden_;
    std::vector<float> parameters_;
};

}  // namespace vek::engine::tune
