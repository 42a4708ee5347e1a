#pragma once
// One "go" of the pruned, deepening search (engine/) on a thread of its own: it deepens within
// the time plan, reports each depth in an "info" line with the whole principal variation and
// ends with "bestmove", a legal move.

#include <atomic>
#include <string>

#include "engine/search.h"
#include "foundation/thread.h"
#include "uci/line_output.h"
#include "uci/time_plan.h"

namespace vek::uci {

struct AlphaBetaTask {
    engine::Position position;  // the game's position with its history, for repetitions
    engine::Limits limits;
    TimePlan time;
    bool infinite = false;  // the answer waits for "stop"
};

// Searches the task on the calling thread, writes its "info" lines and returns the "bestmove"
// line (the null move "0000" when there is no legal move). `stop` ends the search early.
std::string searchAlphaBeta(engine::Searcher& searcher, const AlphaBetaTask& task, const std::atomic<bool>& stop,
                            LineOutput& output);

class AlphaBetaThread : public vek::Thread {
public:
    // The searcher and the output must outlive the thread's run; nothing else may use the
    // searcher until the thread has finished. Owned by counted references.
    AlphaBetaThread(engine::Searcher& searcher, AlphaBetaTask task, LineOutput& output);

    void ExecuteThread() override;
    // Ends the search at once (and an infinite one's wait); the thread still answers.
    void stopSearch();

private:
    engine::Searcher& searcher_;
    AlphaBetaTask task_;
    LineOutput& output_;
    std::atomic<bool> stop_{false};
};

}  // namespace vek::uci
