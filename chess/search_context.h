#pragma once
// What one search carries down its levels: whom it asks whether to stop, and one candidate list
// per level, refilled at every node, so that the lists grow once per search instead of being
// built anew at every node. One context serves one thread.

#include <atomic>
#include <cstdint>

#include "chess/move_list.h"
#include "foundation/array.h"
#include "foundation/thread.h"

namespace vek::chess {

class SearchContext {
public:
    // Lists for depths 0 to maxDepth. `engine` is the thread whose stop request ends the
    // deepening, `abandoned` a flag that does the same for a split search; either may be none.
    // Throws AllocError.
    SearchContext(const vek::Thread* engine, const std::atomic<bool>* abandoned, std::int32_t maxDepth)
        : engine_(engine), abandoned_(abandoned) {
        lists_.writeAt(static_cast<std::size_t>(maxDepth < 0 ? 0 : maxDepth));
    }

    bool stopRequested() const {
        return (engine_ && engine_->isTerminated()) ||
               (abandoned_ && abandoned_->load(std::memory_order_relaxed));
    }
    // The list of the level `depth` plies above the last.
    MoveList& listFor(std::int32_t depth) { return lists_[static_cast<std::size_t>(depth)]; }

private:
    const vek::Thread* engine_;
    const std::atomic<bool>* abandoned_;
    vek::Array<MoveList> lists_;
};

}  // namespace vek::chess
