#pragma once
// One "go": the engine's search on a thread of its own, so that the protocol keeps reading
// commands ("stop", "isready") while it runs. It deepens depth by depth as its plan allows,
// reports each finished depth in an "info" line and ends with "bestmove".

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chess/board.h"
#include "foundation/thread.h"
#include "uci/line_output.h"
#include "uci/root_choice.h"
#include "uci/search_limits.h"

namespace vek::uci {

// "bestmove" and the choice's move, or the null move "0000" when there is no move to make.
std::string bestMoveLine(const std::optional<RootChoice>& choice);

class SearchThread : public vek::Thread {
public:
    // The board and the output must outlive the thread's run; nothing else may use the board
    // until the thread has finished. `legal`: the legal moves of the board's position, among
    // which the answer is chosen. Owned by counted references (the registry holds one while it
    // runs).
    SearchThread(chess::Board& board, std::vector<engine::Move> legal, const SearchPlan& plan, LineOutput& output);

    void ExecuteThread() override;

private:
    using Clock = std::chrono::steady_clock;

    // Deepens until the plan, a stop request or the lack of a legal move ends it; returns the
    // choice of the deepest depth that was searched to its end (or of depth 1).
    std::optional<RootChoice> deepen();
    // The "info" line of a finished depth.
    void report(std::int32_t depth, const RootChoice& choice);
    // Holds the answer of "go infinite" back until "stop".
    void awaitStop();

    chess::Board& board_;
    std::vector<engine::Move> legal_;
    SearchPlan plan_;
    LineOutput& output_;
    Clock::time_point start_;
    std::uint64_t startNodes_ = 0;
};

}  // namespace vek::uci
