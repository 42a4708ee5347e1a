#include "engine/thread.h"

#include <utility>

namespace vek::engine {

HelperThreads::HelperThreads(const std::vector<History*>& histories, const Position& position,
                             const std::vector<Move>& roots, SharedSearch& shared, int maxDepth, bool offerDepths)
    : shared_(shared), maxDepth_(maxDepth), offerDepths_(offerDepths) {
    try {
        for (std::size_t i = 1; i <= histories.size(); ++i) {
            // On the heap: a worker's tables are too large for a small thread stack.
            workers_.push_back(std::make_unique<Worker>(position, roots, shared, *histories[i - 1]));
            threads_.emplace_back([this, helper = workers_.back().get(), offset = static_cast<int>(i % 2)] {
                run(*helper, 1 + offset);
            });
        }
    } catch (...) {
        stopAndJoin();  // those that started
        throw;
    }
}

HelperThreads::~HelperThreads() { stopAndJoin(); }

void HelperThreads::stopAndJoin() {
    shared_.stop.store(true);
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
}

void HelperThreads::run(Worker& helper, int firstDepth) {
    for (int depth = firstDepth; depth <= maxDepth_ && !helper.stopped(); ++depth) {
        helper.searchRoot(depth, 1);
        if (helper.stopped())
            break;
        if (auto result = helper.result(depth); result && offerDepths_)
            offer(std::move(*result));
        helper.sortRoots();
    }
}

void HelperThreads::offer(DepthResult result) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (result.depth > deepest_.depth)
        deepest_ = std::move(result);
}

std::uint64_t HelperThreads::nodes() const {
    std::uint64_t nodes = 0;
    for (const auto& worker : workers_)
        nodes += worker->nodes();
    return nodes;
}

std::optional<DepthResult> HelperThreads::worthTakingOver(int depth, bool finished) {
    // A depth the main thread could not finish is worth less than the same depth finished.
    const int bar = finished ? depth : depth - 1;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (deepest_.depth > bar)
        return deepest_;
    return std::nullopt;
}

}  // namespace vek::engine
