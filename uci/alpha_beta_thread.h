#pragma once
// One "go" of the pruned, deepening search (engine/) on a thread of its own: it deepens within
// the time plan, reports each depth's lines in "info" lines with the whole principal variation
// and ends with "bestmove", a legal move, and the move it expects in reply.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "engine/search.h"
#include "foundation/thread.h"
#include "uci/deadline.h"
#include "uci/line_output.h"
#include "uci/strength.h"
#include "uci/time_plan.h"

namespace vek::uci {

struct AlphaBetaTask {
    engine::Position position;  // the game's position with its history, for repetitions
    engine::Limits limits;      // limits.multiPv: the lines searched
    TimePlan time;
    bool infinite = false;  // the answer waits for "stop"
    bool ponder = false;    // searching in the opponent's time: the clock starts at "ponderhit"
    int shownLines = 1;     // the lines reported (the option "MultiPV")
    bool showWdl = false;   // win, draw and loss in per mille beside each score
    std::optional<StrengthLimit> strength;  // the move is chosen among the lines with its error
    std::uint32_t seed = 0;                 // of that choice
};

// The "info" line of one line of a depth; a bound after the score.
std::string infoLine(const engine::Report& report, bool showWdl);
// The "info" line of a search's progress: the root move begun, or the counts.
std::string progressLine(const engine::Progress& progress);

// Searches the task on the calling thread, writes its "info" lines and returns the "bestmove"
// line (the null move "0000" when there is no legal move). `stop` ends the search early;
// `mayDeepen` is asked before each new depth.
std::string searchAlphaBeta(engine::Searcher& searcher, const AlphaBetaTask& task, const std::atomic<bool>& stop,
                            const std::function<bool(const engine::Stability&)>& mayDeepen, LineOutput& output);

class AlphaBetaThread : public vek::Thread {
public:
    // The searcher and the output must outlive the thread's run; nothing else may use the
    // searcher until the thread has finished. Owned by counted references.
    AlphaBetaThread(engine::Searcher& searcher, AlphaBetaTask task, LineOutput& output);

    void ExecuteThread() override;
    // Ends the search at once (and an infinite or pondering one's wait); the thread still
    // answers.
    void stopSearch();
    // The opponent played the move pondered on: from now on the time plan counts.
    void ponderHit();

private:
    using Clock = std::chrono::steady_clock;

    bool mayDeepen(const engine::Stability& stability);
    // Starts the clock of the time plan now, with its hard limit.
    void startClock();

    engine::Searcher& searcher_;
    AlphaBetaTask task_;
    LineOutput& output_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;  // guards what follows
    std::condition_variable released_;
    bool pondering_ = false;
    bool searching_ = true;
    Clock::time_point clockStart_;
    std::optional<Deadline> deadline_;
};

}  // namespace vek::uci
