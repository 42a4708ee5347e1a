#pragma once
// The bench: a fixed-depth search over a fixed set of positions on one thread with a fresh
// table. Its node count changes only when the search does, so it is the signature of a change
// to the search or the evaluation; its speed is the engine's nodes per second.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek::uci {

// The depth of "bench" without one: about a second in the optimised build.
inline constexpr int kBenchDepth = 11;

struct BenchResult {
    int depth = 0;
    std::size_t positions = 0;
    std::uint64_t nodes = 0;  // over all positions
    std::chrono::milliseconds time{0};
};

BenchResult runBench(int depth);

// The depth of "bench DEPTH", a whole number from 1 to kMaxPlanDepth, or none.
std::optional<int> benchDepthOf(std::string_view text);

// "positions P depth D", "nodes N", "time T" (milliseconds) and "nps R" lines.
std::vector<std::string> benchReport(const BenchResult& result);

}  // namespace vek::uci
