#pragma once
// The UCI protocol: reads the GUI's commands one line at a time and answers through the
// output; the searches run on a thread of their own. Every command is answered or reported,
// never with a crash: what the engine cannot do it explains in an "info string" line and
// leaves its position as it was.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chess/board.h"
#include "engine/search.h"
#include "foundation/shared_object.h"
#include "uci/alpha_beta_thread.h"
#include "uci/line_output.h"
#include "uci/search_limits.h"
#include "uci/search_thread.h"
#include "uci/standard_rules.h"

namespace vek::uci {

// The option "Search": the pruned, deepening search of engine/, or the program's own exact
// minimax on its board.
enum SearchKind { skALPHA_BETA, skMINIMAX };

class Engine {
public:
    // The fixed depth of a "go" without limits until the GUI sets the option "Depth".
    static constexpr std::int32_t kDefaultDepth = 3;
    static constexpr std::int32_t kMaxDepthOption = 12;
    static constexpr std::size_t kDefaultHashMegabytes = 16;
    static constexpr std::size_t kMaxHashMegabytes = 1024;

    // `sink` receives each answer line without its line end, from this thread or the search's.
    explicit Engine(std::function<void(const std::string&)> sink);
    // Stops a running search and waits for its answer.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Handles one command line; false once the GUI has said "quit".
    bool handle(const std::string& line);

private:
    void identify();
    void setOption(const std::vector<std::string>& words);
    void setPosition(const std::vector<std::string>& words);
    void newGame();
    void go(const std::vector<std::string>& words);
    void goMinimax(const GoLimits& limits);
    void goAlphaBeta(const GoLimits& limits, std::vector<StandardMove> searchMoves);
    // The GUI's "searchmoves" that are legal here; the others are reported.
    std::vector<StandardMove> legalSearchMoves(const std::vector<std::string>& words);
    // The searcher of engine/, made on first use with the "Hash" size.
    engine::Searcher& searcher();
    void bench(const std::vector<std::string>& words);
    // Stops the running search, if any; its thread still sends the answer.
    void stop();
    // Stops the running search and waits until it has answered, so that the board is free.
    void finishSearch();

    LineOutput output_;
    // The game as the GUI gave it: where it began, its moves, and where it stands now. The
    // board is the position for the minimax search; engine/ replays the moves to see
    // repetitions.
    StandardPosition gameStart_;
    std::vector<StandardMove> gameMoves_;
    StandardPosition current_;
    std::unique_ptr<chess::Board> board_;
    std::unique_ptr<engine::Searcher> searcher_;
    vek::SharedRef<SearchThread> search_;
    vek::SharedRef<AlphaBetaThread> alphaBeta_;
    SearchKind kind_ = skALPHA_BETA;
    std::size_t threads_ = 1;
    std::size_t hashMegabytes_ = kDefaultHashMegabytes;
    std::int32_t depth_ = kDefaultDepth;
};

}  // namespace vek::uci
