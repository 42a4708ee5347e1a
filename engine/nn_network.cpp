#include "engine/nn_network.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <span>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/nn_network_file.h"
#include "engine/nn_simd.h"

namespace vek::engine {
namespace {

constexpr int kSquares = 64;

std::string tooWide(const std::string& name, const std::string& what) {
    return name + ": " + what + "; the engine cannot evaluate with this network exactly";
}

// The accumulators are int16 (twice as many values a vector as int32). A position has at most
// kMostActive figures, one a square, and the inputs of one square (12 figures, whichever view)
// are rows i with the same i % 64: a neuron's sum stays between the bias plus the 32 most
// negative and the bias plus the 32 most positive of the squares' extremes. The vector loops
// wrap in between, which the final sums undo.
void checkAccumulators(const QuantisedNetwork& weights, const std::string& name) {
    const auto hidden = static_cast<std::size_t>(weights.hidden);
    std::vector<int> highest(hidden * kSquares);
    std::vector<int> lowest(hidden * kSquares);
    for (std::size_t input = 0; input < kInputs; ++input)
        for (std::size_t neuron = 0; neuron < hidden; ++neuron) {
            const std::size_t at = neuron * kSquares + input % kSquares;
            const int weight = weights.inputWeights[input * hidden + neuron];
            highest[at] = std::max(highest[at], weight);
            lowest[at] = std::min(lowest[at], weight);
        }
    for (std::size_t neuron = 0; neuron < hidden; ++neuron) {
        const auto squares = [&](std::vector<int>& extremes) {
            return std::span(extremes).subspan(neuron * kSquares, kSquares);
        };
        const auto sumOfMost = [&](std::span<int> extremes, auto order) {
            std::nth_element(extremes.begin(), extremes.begin() + kMostActive, extremes.end(), order);
            int sum = weights.inputBiases[neuron];
            for (int i = 0; i < kMostActive; ++i)
                sum += extremes[static_cast<std::size_t>(i)];
            return sum;
        };
        const int high = sumOfMost(squares(highest), std::greater<>());
        const int low = sumOfMost(squares(lowest), std::less<>());
        const bool tooHigh = high > std::numeric_limits<std::int16_t>::max();
        if (tooHigh || low < std::numeric_limits<std::int16_t>::min())
            throw NetworkError(tooWide(name, "neuron " + std::to_string(neuron) + " may sum to " +
                                                 std::to_string(tooHigh ? high : low) + ", beyond the int16 accumulators"));
    }
}

// Each half of the output layer is summed in int32: an activation of at most kQA times each
// weight must fit.
void checkOutput(const QuantisedNetwork& weights, const std::string& name) {
    const auto hidden = static_cast<std::size_t>(weights.hidden);
    for (std::size_t half = 0; half < 2; ++half) {
        std::int64_t most = 0;
        for (std::size_t neuron = 0; neuron < hidden; ++neuron)
            most += std::int64_t{kQA} * std::abs(int{weights.outputWeights[half * hidden + neuron]});
        if (most > std::numeric_limits<std::int32_t>::max())
            throw NetworkError(tooWide(name, "the output layer may sum to " + std::to_string(most) +
                                                 ", beyond the int32 it is summed in"));
    }
}

}  // namespace

Network::Network(QuantisedNetwork weights, const std::string& name)
    : weights_(std::move(weights)), hidden_(static_cast<std::size_t>(weights_.hidden)) {
    if (weights_.hidden % kSimdWidth != 0)
        throw NetworkError(name + ": hidden size " + std::to_string(weights_.hidden) +
                           ", the engine evaluates multiples of " + std::to_string(kSimdWidth) + " only");
    checkAccumulators(weights_, name);
    checkOutput(weights_, name);
}

std::shared_ptr<const Network> Network::read(std::istream& in, const std::string& name) {
    return std::make_shared<const Network>(readQuantised(in, name), name);
}

std::shared_ptr<const Network> Network::load(const std::string& path) {
    // From UTF-8 on every platform: Windows would read a narrow name in its own code page.
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw NetworkError(path + ": no such file");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw NetworkError(path + ": cannot be opened");
    return read(in, path);
}

std::shared_ptr<const Network> Network::builtIn() {
    const std::span<const std::uint8_t> bytes = builtInNetworkBytes();
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return read(in, kBuiltInNetworkName);
}

}  // namespace vek::engine
