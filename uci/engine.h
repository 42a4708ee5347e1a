#pragma once
// The UCI protocol: reads the GUI's commands one line at a time and answers through the
// output; the searches run on a thread of their own. Every command is answered or reported,
// never with a crash: what the engine cannot do it explains in an "info string" line and
// loses nothing (a refused position is the one exception: see Engine::setPosition).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "chess/board.h"
#include "engine/nn_network.h"
#include "engine/position.h"
#include "engine/search.h"
#include "foundation/shared_object.h"
#include "uci/alpha_beta_thread.h"
#include "uci/line_output.h"
#include "uci/search_limits.h"
#include "uci/search_thread.h"
#include "uci/strength.h"

namespace vek::uci {

// The option "Search": the pruned, deepening search of engine/, or the program's own exact
// minimax on its board.
enum SearchKind { skALPHA_BETA, skMINIMAX };

// The option "Evaluation" of AlphaBeta: the hand-written evaluation or the neural network's.
enum EvaluationKind { ekHAND_WRITTEN, ekNETWORK };
inline constexpr EvaluationKind kDefaultEvaluation = ekHAND_WRITTEN;
const char* evaluationName(EvaluationKind kind);

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
    void setChess960(bool on);
    void setEvaluation(const std::string& value);
    // "EvalFile": a network file, or the built-in network; a file refused leaves the network
    // as it was.
    void loadNetwork(const std::string& value);
    // Hands the search the evaluation chosen.
    void applyEvaluation();
    void setPosition(const std::vector<std::string>& words);
    // Sets up the position of a "position" command; why it was refused, or empty.
    std::string readPosition(const std::vector<std::string>& words);
    void newGame();
    // Whether there is a position to work on; if not, a note says why.
    bool hasPosition();
    void setStartPosition();
    void go(const std::vector<std::string>& words);
    void goMinimax(const GoLimits& limits);
    void goAlphaBeta(const GoLimits& limits, std::vector<engine::Move> searchMoves);
    void perft(const std::vector<std::string>& words);
    void report(const std::string& command);
    void ponderHit();
    // A check option's value, "true" or "false"; none, with a note, for anything else.
    std::optional<bool> checkValue(const std::string& name, const std::string& value);
    // The GUI's "searchmoves" that are legal here; the others are reported.
    std::vector<engine::Move> legalSearchMoves(const std::vector<std::string>& words);
    void bench(const std::vector<std::string>& words);
    // Stops the running search, if any; its thread still sends the answer (the Minimax
    // search's pondering, which waits for the move, is answered here).
    void stop();
    // Stops the running search and waits until it has answered, so that the board is free.
    void finishSearch();

    LineOutput output_;
    // The game as the GUI gave it, twice: on the engine's board, which judges every move and
    // keeps the game's positions for repetitions, and on the program's board for the Minimax
    // search (none in Chess960, which that board does not know).
    engine::Position current_;
    std::unique_ptr<chess::Board> board_;
    // Why the GUI's last "position" was refused, or empty: until a valid one comes, "go"
    // answers the null move.
    std::string refusedPosition_;
    // Its table is made at start and whenever "Hash" is set, so that "isready" waits for it
    // and no "go" pays for it.
    std::unique_ptr<engine::Searcher> searcher_;
    vek::SharedRef<SearchThread> search_;
    vek::SharedRef<AlphaBetaThread> alphaBeta_;
    SearchKind kind_ = skALPHA_BETA;
    EvaluationKind evaluation_ = kDefaultEvaluation;
    // The network of "EvalFile" (the built-in one at start), searched with when "Evaluation"
    // says so, and the name it was loaded by.
    std::shared_ptr<const engine::Network> network_;
    std::string networkName_;
    std::size_t threads_ = 1;
    Milliseconds moveOverhead_ = kDefaultMoveOverhead;
    int multiPv_ = 1;
    bool limitStrength_ = false;
    int elo_ = kDefaultElo;
    bool showWdl_ = false;
    bool chess960_ = false;  // "UCI_Chess960": the rules that positions and moves are read by
    std::mt19937 random_{std::random_device{}()};  // seeds the strength limit's error
    // "go ponder" of the Minimax search: it searches only once "ponderhit" has come.
    std::optional<GoLimits> pendingPonder_;
    std::int32_t depth_ = kDefaultDepth;
};

}  // namespace vek::uci
