#pragma once
// The bench: a fixed-depth search over a fixed set of positions on one thread with a fresh
// table. Its node count changes only when the search does, so it is the signature of a change
// to the search or the evaluation; its speed is the engine's nodes per second.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/nn_network.h"

namespace vek::uci {

// The depth of "bench" without one: about a second in the optimised build.
inline constexpr int kBenchDepth = 11;

struct BenchResult {
    int depth = 0;
    bool network = false;  // searched with the network rather than the hand-written evaluation
    std::size_t positions = 0;
    std::uint64_t nodes = 0;  // over all positions
    std::chrono::milliseconds time{0};
};

// With a network, the search evaluates with it.
BenchResult runBench(int depth, std::shared_ptr<const engine::Network> network = nullptr);

// What "bench [DEPTH [hand-written|network]]" asks for: DEPTH a whole number from 1 to
// kMaxPlanDepth; none when the words are not that.
struct BenchRequest {
    int depth = kBenchDepth;
    bool network = false;
};
std::optional<BenchRequest> benchRequestOf(const std::vector<std::string>& words, bool networkByDefault);
// "bench [DEPTH ...": what benchRequestOf takes, for a note.
std::string benchUsage();

// "positions P depth D evaluation E", "nodes N", "time T" (milliseconds) and "nps R" lines.
std::vector<std::string> benchReport(const BenchResult& result);

}  // namespace vek::uci
