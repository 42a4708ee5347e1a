#include "engine/nn_quantised.h"

#include <algorithm>

#include "engine/nn_features.h"
#include "engine/nn_network_file.h"

namespace vek::engine {
namespace {

std::size_t bodyBytes(int hidden) {
    const auto n = static_cast<std::size_t>(hidden);
    return 2 * kInputs * n + 2 * n + 2 * 2 * n + 4;
}

constexpr NetworkFileKind kQuantisedFile{{'V', 'E', 'K', 'N', 'N', 'Q', 'N', 'T'}, kQuantisedVersion,
                                         "quantised network of nn-train", bodyBytes};

// One side's accumulator, the bias plus the active inputs' rows, summed in int32 (33 int16
// terms cannot overflow); its clipped ReLU weighed by that side's output weights.
std::int64_t halfOf(const QuantisedNetwork& network, const ActiveInputs& inputs, std::size_t weightsAt) {
    const auto hidden = static_cast<std::size_t>(network.hidden);
    std::vector<std::int32_t> accumulator(network.inputBiases.begin(), network.inputBiases.end());
    for (int i = 0; i < inputs.count; ++i) {
        const std::int16_t* row = &network.inputWeights[inputs.index[static_cast<std::size_t>(i)] * hidden];
        for (std::size_t neuron = 0; neuron < hidden; ++neuron)
            accumulator[neuron] += row[neuron];
    }
    std::int64_t sum = 0;
    for (std::size_t neuron = 0; neuron < hidden; ++neuron)
        sum += std::int64_t{std::clamp(accumulator[neuron], 0, kQA)} * network.outputWeights[weightsAt + neuron];
    return sum;
}

}  // namespace

std::int64_t outputOf(const QuantisedNetwork& network, const std::array<std::int8_t, 64>& squares,
                      chess::Colour sideToMove) {
    const ActiveInputs own = activeInputs(squares, sideToMove);
    return network.outputBias + halfOf(network, own, 0) +
           halfOf(network, otherView(own), static_cast<std::size_t>(network.hidden));
}

int centipawnsOf(const QuantisedNetwork& network, const std::array<std::int8_t, 64>& squares,
                 chess::Colour sideToMove) {
    return centipawnsOf(outputOf(network, squares, sideToMove));
}

std::uint64_t writeQuantised(std::ostream& out, const QuantisedNetwork& network) {
    ByteWriter body;
    for (const auto* array : {&network.inputWeights, &network.inputBiases, &network.outputWeights})
        for (const std::int16_t value : *array)
            body.put16(value);
    body.put32(static_cast<std::uint32_t>(network.outputBias));
    return writeNetworkFile(out, kQuantisedFile, network.hidden, body.bytes());
}

QuantisedNetwork readQuantised(std::istream& in, const std::string& name) {
    const NetworkFileBody file = readNetworkFile(in, name, kQuantisedFile);
    const auto hidden = static_cast<std::size_t>(file.hidden);
    QuantisedNetwork network{file.hidden, std::vector<std::int16_t>(kInputs * hidden),
                             std::vector<std::int16_t>(hidden), std::vector<std::int16_t>(2 * hidden), 0};
    ByteReader reader(file.body);
    for (auto* array : {&network.inputWeights, &network.inputBiases, &network.outputWeights})
        for (std::int16_t& value : *array)
            value = reader.get16();
    network.outputBias = static_cast<std::int32_t>(reader.get32());
    return network;
}

}  // namespace vek::engine
