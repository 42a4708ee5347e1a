#include "tune/nn_float_network.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/nn_network_file.h"

namespace vek::engine::tune {
namespace {

constexpr float kInitialInputWeight = 0.1f;  // about 30 active inputs: accumulators of ±0.5

std::size_t parameterCount(int hidden) { return (kInputs + 1 + 2) * static_cast<std::size_t>(hidden) + 1; }

std::size_t bodyBytes(int hidden) { return 4 * parameterCount(hidden); }

constexpr NetworkFileKind kFloatFile{{'V', 'E', 'K', 'N', 'N', 'F', 'L', 'T'}, kFloatVersion,
                                     "float network of nn-train", bodyBytes};

std::int16_t toInt16(float value, int scale) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value * static_cast<float>(scale)), -32767L, 32767L));
}

}  // namespace

FloatNetwork::FloatNetwork(int hidden) : hidden_(hidden), parameters_(parameterCount(hidden)) {}

FloatNetwork::FloatNetwork(int hidden, std::uint64_t seed) : FloatNetwork(hidden) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<float> input(-kInitialInputWeight, kInitialInputWeight);
    const float outputRange = 1.0f / std::sqrt(2.0f * static_cast<float>(hidden));
    std::uniform_real_distribution<float> output(-outputRange, outputRange);
    for (std::size_t i = 0; i < inputBiasesAt(); ++i)
        parameters_[i] = input(random);
    for (std::size_t i = outputWeightsAt(); i < outputBiasAt(); ++i)
        parameters_[i] = output(random);
}

float FloatNetwork::output(const ActiveInputs& own, const ActiveInputs& other) const {
    const auto hidden = static_cast<std::size_t>(hidden_);
    float sum = parameters_[outputBiasAt()];
    std::vector<float> accumulator(hidden);
    for (const ActiveInputs* side : {&own, &other}) {
        std::copy_n(&parameters_[inputBiasesAt()], hidden, accumulator.begin());
        for (int i = 0; i < side->count; ++i) {
            const float* row = &parameters_[side->index[static_cast<std::size_t>(i)] * hidden];
            for (std::size_t neuron = 0; neuron < hidden; ++neuron)
                accumulator[neuron] += row[neuron];
        }
        const float* weights = &parameters_[outputWeightsAt() + (side == &own ? 0 : hidden)];
        for (std::size_t neuron = 0; neuron < hidden; ++neuron)
            sum += std::clamp(accumulator[neuron], 0.0f, 1.0f) * weights[neuron];
    }
    return sum;
}

QuantisedNetwork FloatNetwork::quantised() const {
    QuantisedNetwork network{hidden_, {}, {}, {}, 0};
    const auto convert = [&](std::size_t from, std::size_t to, int scale, std::vector<std::int16_t>& into) {
        for (std::size_t i = from; i < to; ++i)
            into.push_back(toInt16(parameters_[i], scale));
    };
    convert(0, inputBiasesAt(), kQA, network.inputWeights);
    convert(inputBiasesAt(), outputWeightsAt(), kQA, network.inputBiases);
    convert(outputWeightsAt(), outputBiasAt(), kQB, network.outputWeights);
    network.outputBias = static_cast<std::int32_t>(std::lround(parameters_[outputBiasAt()] * kQA * kQB));
    return network;
}

void FloatNetwork::write(std::ostream& out) const {
    ByteWriter body;
    for (const float value : parameters_)
        body.putFloat(value);
    writeNetworkFile(out, kFloatFile, hidden_, body.bytes());
}

FloatNetwork FloatNetwork::read(std::istream& in, const std::string& name) {
    const NetworkFileBody file = readNetworkFile(in, name, kFloatFile);
    FloatNetwork network(file.hidden);
    ByteReader reader(file.body);
    for (std::size_t i = 0; i < network.parameters_.size(); ++i) {
        network.parameters_[i] = reader.getFloat();
        if (!std::isfinite(network.parameters_[i]))
            throw NetworkError(name + ": parameter " + std::to_string(i) + " is not a finite number");
    }
    return network;
}

}  // namespace vek::engine::tune
