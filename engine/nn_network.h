#pragma once
// A quantised network as the engine evaluates with it, checked once on loading so that the
// search's arithmetic is exact without checks: int16 accumulators whose sums always fit, an
// output layer summed in int32, a hidden size the vector loops take whole. Shared read-only by
// every search thread; each thread keeps its own accumulators (nn_accumulator.h).

#include <cstdint>
#include <istream>
#include <memory>
#include <span>
#include <string>

#include "engine/nn_features.h"
#include "engine/nn_network_file.h"
#include "engine/nn_quantised.h"

namespace vek::engine {

// The name the built-in network goes by, in messages and the option "EvalFile".
inline constexpr const char* kBuiltInNetworkName = "<built-in>";

class Network {
public:
    // Throws NetworkError, naming the file, when the engine cannot evaluate with the network
    // exactly (see the checks in nn_network.cpp).
    Network(QuantisedNetwork weights, const std::string& name);

    // A network file (nn-train's .vnn); throws NetworkError naming the file and what is wrong.
    static std::shared_ptr<const Network> read(std::istream& in, const std::string& name);
    // The network file at a path in UTF-8, the way a GUI names it; throws NetworkError naming
    // the file and what is wrong, also when it cannot be opened.
    static std::shared_ptr<const Network> load(const std::string& path);
    // The network built into the program (engine/networks/default.vnn).
    static std::shared_ptr<const Network> builtIn();

    std::size_t hidden() const { return hidden_; }
    // Input `input`'s weights, one per neuron.
    const std::int16_t* row(int input) const { return &weights_.inputWeights[static_cast<std::size_t>(input) * hidden_]; }
    const std::int16_t* biases() const { return weights_.inputBiases.data(); }
    // The output weights of the side to move's half, then of the other side's.
    const std::int16_t* ownWeights() const { return weights_.outputWeights.data(); }
    const std::int16_t* otherWeights() const { return weights_.outputWeights.data() + hidden_; }
    std::int32_t outputBias() const { return weights_.outputBias; }

private:
    QuantisedNetwork weights_;
    std::size_t hidden_;
};

// The bytes of engine/networks/default.vnn, made into a source file at build time.
std::span<const std::uint8_t> builtInNetworkBytes();

}  // namespace vek::engine
