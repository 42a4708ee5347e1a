#include "chess/random.h"

#include <cassert>
#include <ctime>
#include <mutex>

namespace vek::chess {
namespace {

struct EngineRandom {
    std::mutex mutex;
    bool seedingDue = true;
    RandomSequence sequence;
};

EngineRandom& engineRandom() {
    static EngineRandom instance;
    return instance;
}

}  // namespace

std::size_t pickIndex(std::int32_t r, std::size_t n) {
    assert(n >= 1 && r >= 0 && r < RandomSequence::kRange);
    const double share = RandomSequence::kRange / static_cast<double>(n);
    return static_cast<std::size_t>(r / share);
}

std::int32_t drawEngineRandom() {
    EngineRandom& random = engineRandom();
    const std::lock_guard<std::mutex> lock(random.mutex);
    if (random.seedingDue) {
        random.sequence = RandomSequence(static_cast<std::uint32_t>(std::time(nullptr)));
        random.seedingDue = false;
    }
    return random.sequence.next();
}

void seedEngineRandom(std::uint32_t seed) {
    EngineRandom& random = engineRandom();
    const std::lock_guard<std::mutex> lock(random.mutex);
    random.sequence = RandomSequence(seed);
    random.seedingDue = false;
}

}  // namespace vek::chess
