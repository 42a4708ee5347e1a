#pragma once
// The helper threads of a search: each searches the same depths as the main thread on the
// shared table, every other one a depth ahead, so that their results are ready in the table
// when the main thread comes by. A depth a helper finishes first is offered to the main
// thread, which takes it over where it is worth more than its own.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/position.h"
#include "engine/worker.h"

namespace vek::engine {

class HelperThreads {
public:
    // Starts a helper for each history (its own) up to `maxDepth`. With `offerDepths` false
    // (the search reports several lines, which the helpers do not search) they only fill the
    // table.
    HelperThreads(const std::vector<History*>& histories, const Position& position, const std::vector<Move>& roots,
                  SharedSearch& shared, int maxDepth, bool offerDepths);
    // Stops the helpers and waits for them.
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    std::uint64_t nodes() const;
    // The helpers' deepest finished depth, when it is worth more than the main thread's
    // `depth`: deeper, or as deep where the main thread could not finish its own.
    std::optional<DepthResult> worthTakingOver(int depth, bool finished);

private:
    void run(Worker& helper, int firstDepth);
    void offer(DepthResult result);
    void stopAndJoin();

    SharedSearch& shared_;
    const int maxDepth_;
    const bool offerDepths_;
    std::mutex mutex_;  // guards deepest_
    DepthResult deepest_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_;
};

}  // namespace vek::engine
