#include "tune/nn_datagen.h"

#include <exception>
#include <limits>
#include <mutex>
#include <thread>

#include "tune/self_play.h"

namespace vek::engine::tune {

std::uint64_t threadSeed(std::uint64_t seed, int thread) {
    // SplitMix64's finaliser over the seed and the thread's index: nearby inputs, far outputs.
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * (static_cast<std::uint64_t>(thread) + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t generate(const DatagenSettings& settings, const std::atomic<bool>& stop, const RecordSink& take) {
    std::mutex taking;
    std::uint64_t taken = 0;
    std::exception_ptr failure;  // the first fault of `take`, which ends every thread's games
    const GameSink sink = [&](const std::vector<KeptPosition>& kept, Outcome outcome) {
        std::vector<DataRecord> records;
        records.reserve(kept.size());
        for (const KeptPosition& position : kept)
            records.push_back(recordOf(position, outcome));
        const std::lock_guard lock(taking);
        if (failure)
            return false;
        try {
            take(records);
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
        taken += records.size();
        return taken < settings.positions && !stop;
    };
    std::vector<std::jthread> players;
    for (int thread = 0; thread < settings.threads; ++thread) {
        const SelfPlaySettings play{.games = std::numeric_limits<int>::max(),
                                    .nodesPerMove = settings.nodesPerMove,
                                    .seed = threadSeed(settings.seed, thread),
                                    .randomPlies = settings.randomPlies};
        players.emplace_back([play, &sink] { playSelfGames(play, sink); });
    }
    players.clear();  // joins them
    if (failure)
        std::rethrow_exception(failure);
    return taken;
}

}  // namespace vek::engine::tune
