#pragma once
// Training data for the neural evaluation: the engine's self-play games on several threads at
// once, each thread with its own searcher and random openings, their kept positions as records.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "tune/nn_record.h"

namespace vek::engine::tune {

struct DatagenSettings {
    int threads = 1;
    std::uint64_t nodesPerMove = 5000;
    std::uint64_t seed = 1;
    int randomPlies = 8;
    std::uint64_t positions = 1;  // stop once at least this many are taken
};

// Takes the records of one finished game; called by one thread at a time.
using RecordSink = std::function<void(const std::vector<DataRecord>&)>;

// The seed of a thread's games: threads of one run, and runs of neighbouring seeds, play apart.
std::uint64_t threadSeed(std::uint64_t seed, int thread);

// Plays games until `settings.positions` are taken or `stop` is set; the games in progress then
// are finished and taken too, so that nothing played is lost. Returns the positions taken.
std::uint64_t generate(const DatagenSettings& settings, const std::atomic<bool>& stop, const RecordSink& take);

}  // namespace vek::engine::tune
