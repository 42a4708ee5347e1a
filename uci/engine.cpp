#include "uci/engine.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "uci/analysis.h"
#include "uci/bench.h"
#include "uci/board_game.h"
#include "uci/engine_game.h"
#include "uci/fen.h"
#include "uci/input_quote.h"
#include "uci/long_algebraic.h"
#include "uci/root_choice.h"
#include "uci/time_plan.h"
#include "uci/words.h"

namespace vek::uci {
namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// The words from `first` up to the word `end` (or to the last), joined by single spaces.
std::string joined(const std::vector<std::string>& words, std::size_t first, std::size_t end) {
    std::string text;
    for (std::size_t i = first; i < end && i < words.size(); ++i)
        text += (text.empty() ? "" : " ") + words[i];
    return text;
}

std::size_t indexOf(const std::vector<std::string>& words, const std::string& word, std::size_t from) {
    const auto it = std::find(words.begin() + static_cast<std::ptrdiff_t>(std::min(from, words.size())), words.end(), word);
    return static_cast<std::size_t>(it - words.begin());
}

std::size_t coreCount() { return std::max(1u, std::thread::hardware_concurrency()); }

// The depth of a "go": its own, or none (the engine's deepest) when time, nodes or "stop" end
// the search, or twice the moves of a mate to look for, or else the option "Depth".
int depthOf(const GoLimits& limits, const TimePlan& time, std::int32_t configuredDepth) {
    if (limits.depth)
        return *limits.depth;
    if (limits.infinite || limits.ponder || time.hardLimit || limits.nodes)
        return 0;
    return limits.mate ? 2 * *limits.mate : configuredDepth;
}

// The parameters of "go" that the minimax search has no use for, each after a space.
std::string ignoredByMinimax(const GoLimits& limits) {
    std::string ignored;
    if (!limits.searchMoves.empty())
        ignored += " searchmoves";
    if (limits.nodes)
        ignored += " nodes";
    if (limits.mate)
        ignored += " mate";
    return ignored;
}

// Starts a search on its thread, held by `slot`; false, with a note, when no thread can be had.
// The GUI still waits for an answer: the caller then searches depth 1, which takes no time
// worth a thread.
template <typename SearchT>
bool started(vek::SharedRef<SearchT>& slot, SearchT* thread, LineOutput& output) {
    thread->setAutoDelete(true);
    slot = vek::SharedRef<SearchT>(thread);
    try {
        slot->StartThread(vek::STRING("uci search"));
        return true;
    } catch (const std::exception& failure) {
        slot.reset();
        output.note(std::string("no thread for the search (") + failure.what() + "); depth 1 only");
        return false;
    }
}

}  // namespace

const char* evaluationName(EvaluationKind kind) { return kind == ekNETWORK ? "Network" : "Hand-written"; }

Engine::Engine(std::function<void(const std::string&)> sink)
    : output_(std::move(sink)),
      board_(std::make_unique<chess::Board>()),
      searcher_(std::make_unique<engine::Searcher>(kDefaultHashMegabytes)),
      network_(engine::Network::builtIn()),
      networkName_(engine::kBuiltInNetworkName) {
    setStartPosition();  // the new table is empty already
    applyEvaluation();
}

Engine::~Engine() { finishSearch(); }

bool Engine::handle(const std::string& line) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty())
        return true;
    const std::string& command = words[0];
    try {
        if (command == "uci") {
            identify();
        } else if (command == "isready") {
            output_.write("readyok");
        } else if (command == "stop") {
            stop();
        } else if (command == "quit") {
            finishSearch();
            return false;
        } else if (command == "ucinewgame") {
            finishSearch();
            newGame();
        } else if (command == "position") {
            finishSearch();
            setPosition(words);
        } else if (command == "go") {
            finishSearch();
            go(words);
        } else if (command == "setoption") {
            finishSearch();
            setOption(words);
        } else if (command == "bench") {
            finishSearch();
            bench(words);
        } else if (command == "ponderhit") {
            ponderHit();
        } else if (command == "d" || command == "eval") {
            report(command);
        } else if (command != "debug" && command != "register") {
            output_.note("unknown command: " + quoteInput(line));
        }
    } catch (const std::exception& error) {
        output_.note(quoteInput(command) + " failed: " + error.what());
    }
    return true;
}

void Engine::identify() {
    output_.write("id name vek chess-uci");
    output_.write("id author vek");
    output_.write("option name Search type combo default AlphaBeta var AlphaBeta var Minimax");
    output_.write("option name Hash type spin default " + std::to_string(kDefaultHashMegabytes) + " min 1 max " +
                  std::to_string(kMaxHashMegabytes));
    output_.write("option name Clear Hash type button");
    output_.write("option name Threads type spin default 1 min 1 max " + std::to_string(coreCount()));
    output_.write("option name Depth type spin default " + std::to_string(kDefaultDepth) + " min 1 max " +
                  std::to_string(kMaxDepthOption));
    output_.write("option name Move Overhead type spin default " + std::to_string(kDefaultMoveOverhead.count()) +
                  " min 0 max " + std::to_string(kMaxMoveOverhead.count()));
    output_.write("option name MultiPV type spin default 1 min 1 max " + std::to_string(engine::kMaxMultiPv));
    output_.write("option name Ponder type check default false");
    output_.write("option name UCI_LimitStrength type check default false");
    output_.write("option name UCI_Elo type spin default " + std::to_string(kDefaultElo) + " min " +
                  std::to_string(kMinElo) + " max " + std::to_string(kMaxElo));
    output_.write("option name UCI_ShowWDL type check default false");
    output_.write("option name UCI_Chess960 type check default false");
    output_.write("option name UCI_AnalyseMode type check default false");
    output_.write(std::string("option name Evaluation type combo default ") + evaluationName(kDefaultEvaluation) +
                  " var " + evaluationName(ekHAND_WRITTEN) + " var " + evaluationName(ekNETWORK));
    output_.write(std::string("option name EvalFile type string default ") + engine::kBuiltInNetworkName);
    output_.write("uciok");
}

// "setoption name <name> [value <value>]"; options the engine does not have are named in a
// note.
void Engine::setOption(const std::vector<std::string>& words) {
    const std::size_t valueAt = indexOf(words, "value", 2);
    const std::string name = lowerCase(joined(words, 2, valueAt));
    const std::string value = joined(words, valueAt + 1, words.size());
    if (words.size() < 3 || words[1] != "name") {
        output_.note("setoption needs a name");
    } else if (name == "search") {
        if (lowerCase(value) == "alphabeta")
            kind_ = skALPHA_BETA;
        else if (lowerCase(value) == "minimax")
            kind_ = skMINIMAX;
        else
            output_.note("Search must be AlphaBeta or Minimax");
    } else if (name == "hash") {
        const auto megabytes = numberWithin(value, 1, static_cast<std::int64_t>(kMaxHashMegabytes));
        if (!megabytes) {
            output_.note("Hash must be a number from 1 to " + std::to_string(kMaxHashMegabytes));
            return;
        }
        searcher_->resizeHash(static_cast<std::size_t>(*megabytes));
    } else if (name == "clear hash") {
        searcher_->clearHash();
    } else if (name == "threads") {
        const auto count = numberWithin(value, 1, static_cast<std::int64_t>(coreCount()));
        if (count)
            threads_ = static_cast<std::size_t>(*count);
        else
            output_.note("Threads must be a number from 1 to " + std::to_string(coreCount()));
    } else if (name == "move overhead") {
        const auto overhead = numberWithin(value, 0, kMaxMoveOverhead.count());
        if (overhead)
            moveOverhead_ = Milliseconds{*overhead};
        else
            output_.note("Move Overhead must be a number from 0 to " + std::to_string(kMaxMoveOverhead.count()));
    } else if (name == "multipv") {
        const auto lines = numberWithin(value, 1, engine::kMaxMultiPv);
        if (lines)
            multiPv_ = static_cast<int>(*lines);
        else
            output_.note("MultiPV must be a number from 1 to " + std::to_string(engine::kMaxMultiPv));
    } else if (name == "ponder") {
        checkValue("Ponder", value);  // pondering needs nothing set up; the GUI says when
    } else if (name == "uci_limitstrength") {
        limitStrength_ = checkValue("UCI_LimitStrength", value).value_or(limitStrength_);
    } else if (name == "uci_elo") {
        const auto elo = numberWithin(value, kMinElo, kMaxElo);
        if (elo)
            elo_ = static_cast<int>(*elo);
        else
            output_.note("UCI_Elo must be a number from " + std::to_string(kMinElo) + " to " + std::to_string(kMaxElo));
    } else if (name == "uci_showwdl") {
        showWdl_ = checkValue("UCI_ShowWDL", value).value_or(showWdl_);
    } else if (name == "depth") {
        const auto depth = numberWithin(value, 1, kMaxDepthOption);
        if (depth)
            depth_ = static_cast<std::int32_t>(*depth);
        else
            output_.note("Depth must be a number from 1 to " + std::to_string(kMaxDepthOption));
    } else if (name == "uci_chess960") {
        setChess960(checkValue("UCI_Chess960", value).value_or(chess960_));
    } else if (name == "uci_analysemode") {
        checkValue("UCI_AnalyseMode", value);  // the search is the same for analysis and games
    } else if (name == "evaluation") {
        setEvaluation(value);
    } else if (name == "evalfile") {
        loadNetwork(value);
    } else {
        output_.note("no option " + quoteInput(joined(words, 2, valueAt)) + "; ignored");
    }
}

// Positions and moves are read by the rules chosen: the current position, read by the other
// rules, gives way to the initial one (the GUI sends its own next).
void Engine::setChess960(bool on) {
    if (on == chess960_)
        return;
    chess960_ = on;
    setStartPosition();
}

void Engine::setEvaluation(const std::string& value) {
    for (const EvaluationKind kind : {ekHAND_WRITTEN, ekNETWORK})
        if (lowerCase(value) == lowerCase(evaluationName(kind))) {
            evaluation_ = kind;
            applyEvaluation();
            return;
        }
    output_.note(std::string("Evaluation must be ") + evaluationName(ekHAND_WRITTEN) + " or " + evaluationName(ekNETWORK));
}

// Called between searches only ("setoption" waits for the search to end), so that no search
// ever sees its network change.
void Engine::loadNetwork(const std::string& value) {
    if (value.empty()) {
        output_.note(std::string("EvalFile needs a network file or ") + engine::kBuiltInNetworkName);
        return;
    }
    try {
        network_ = value == engine::kBuiltInNetworkName ? engine::Network::builtIn() : engine::Network::load(value);
        networkName_ = value;
        output_.note("EvalFile " + value + ": hidden size " + std::to_string(network_->hidden()) + ", loaded");
        applyEvaluation();
    } catch (const engine::NetworkError& error) {
        output_.note(std::string("EvalFile refused: ") + error.what() + "; the network stays " + networkName_);
    }
}

void Engine::applyEvaluation() { searcher_->setNetwork(evaluation_ == ekNETWORK ? network_ : nullptr); }

// "position startpos|fen <FEN> [moves <move>...]": set up on a board of its own, which
// replaces the engine's only when every part was right. A position refused leaves none to
// search: the GUI's game is no longer the engine's, and a move of an earlier one would be
// taken for a move of the new game.
void Engine::setPosition(const std::vector<std::string>& words) {
    refusedPosition_ = readPosition(words);
    if (!refusedPosition_.empty())
        output_.note(refusedPosition_ + "; no move until a valid position comes");
}

std::string Engine::readPosition(const std::vector<std::string>& words) {
    const std::size_t movesAt = indexOf(words, "moves", 1);
    std::string fen;
    if (words.size() >= 2 && words[1] == "startpos" && movesAt == 2)
        fen = kStartFen;
    else if (words.size() >= 3 && words[1] == "fen")
        fen = joined(words, 2, movesAt);
    else
        return "position needs startpos or fen";
    std::string error;
    const std::optional<PositionSetup> start = parseFen(fen, error, chess960_);
    // The program's board, for the Minimax search, knows standard chess only.
    auto board = chess960_ ? nullptr : std::make_unique<chess::Board>();
    if (!start || (board && !setUpBoard(*board, *start)))
        return "bad FEN (" + (error.empty() ? std::string("refused") : error) + ")";
    engine::Position position = enginePosition(*start);
    for (std::size_t i = movesAt + 1; i < words.size(); ++i) {
        const std::optional<engine::Move> move = legalMove(position, words[i]);
        if (!move)
            return "illegal move " + quoteInput(words[i]);
        if (board)
            playGameMove(*board, *move);
        position.play(*move);
    }
    board_ = std::move(board);
    current_ = std::move(position);
    return {};
}

void Engine::newGame() {
    setStartPosition();
    refusedPosition_.clear();
    searcher_->clearHash();
}

void Engine::setStartPosition() {
    std::string error;
    current_ = enginePosition(parseFen(kStartFen, error, chess960_).value());
    board_.reset();
    if (!chess960_) {
        board_ = std::make_unique<chess::Board>();
        board_->newGame();
    }
}

// "d" or "eval". The search has a copy of the position: this one is free to read.
void Engine::report(const std::string& command) {
    if (!hasPosition())
        return;
    std::vector<std::string> lines = command == "d" ? boardReport(current_) : evaluationReport(current_);
    if (command == "eval")
        for (std::string& line : networkReport(current_, *network_, networkName_, evaluation_ == ekNETWORK))
            lines.push_back(std::move(line));
    for (const std::string& line : lines)
        output_.write(line);
}

bool Engine::hasPosition() {
    if (!refusedPosition_.empty())
        output_.note("no position: " + refusedPosition_);
    return refusedPosition_.empty();
}

void Engine::go(const std::vector<std::string>& words) {
    if (words.size() > 1 && words[1] == "perft") {
        if (hasPosition())
            perft(words);
        return;
    }
    if (!hasPosition()) {
        output_.write("bestmove 0000");
        return;
    }
    std::string error;
    const std::optional<GoLimits> limits = parseGoLimits(std::vector<std::string>(words.begin() + 1, words.end()), error);
    if (!limits) {
        output_.note(error);
        return;
    }
    std::vector<engine::Move> searchMoves = legalSearchMoves(limits->searchMoves);
    if (kind_ == skMINIMAX && !board_)
        output_.note("the Minimax search plays standard chess only; AlphaBeta searches");
    if (kind_ == skMINIMAX && board_)
        goMinimax(*limits);
    else
        goAlphaBeta(*limits, std::move(searchMoves));
}

// "go perft N", counted on the protocol's thread: nothing else is going on.
void Engine::perft(const std::vector<std::string>& words) {
    const auto depth = words.size() == 3 ? numberWithin(words[2], 1, kMaxPerftDepth) : std::nullopt;
    if (!depth) {
        output_.note("go perft needs a depth from 1 to " + std::to_string(kMaxPerftDepth));
        return;
    }
    for (const std::string& line : perftReport(current_, static_cast<int>(*depth)))
        output_.write(line);
}

void Engine::goMinimax(const GoLimits& limits) {
    if (limits.ponder) {
        pendingPonder_ = limits;
        pendingPonder_->ponder = false;
        return;
    }
    if (const std::string ignored = ignoredByMinimax(limits); !ignored.empty())
        output_.note("the Minimax search does not honour go" + ignored);
    board_->setSearchThreads(threads_);
    const SearchPlan plan = planSearch(limits, board_->sideToMove(), depth_, moveOverhead_);
    if (!started(search_, new SearchThread(*board_, current_.legalMoves(), plan, output_), output_))
        output_.write(bestMoveLine(chooseRootMove(*board_, current_.legalMoves(), 1)));
}

void Engine::goAlphaBeta(const GoLimits& limits, std::vector<engine::Move> searchMoves) {
    AlphaBetaTask task;
    task.position = current_;
    task.time = planTime(limits, current_.sideToMove(), moveOverhead_);
    task.infinite = limits.infinite;
    task.ponder = limits.ponder;
    task.limits.depth = depthOf(limits, task.time, depth_);
    task.limits.nodes = limits.nodes;
    task.limits.mate = limits.mate;
    task.limits.multiPv = task.shownLines = multiPv_;
    task.showWdl = showWdl_;
    if (limitStrength_) {
        const StrengthLimit strength = strengthFor(elo_);
        task.limits.depth = task.limits.depth > 0 ? std::min(task.limits.depth, strength.depth) : strength.depth;
        task.limits.nodes = std::min(limits.nodes.value_or(strength.nodes), strength.nodes);
        task.limits.wholeFirstDepth = true;
        task.limits.multiPv = std::max(task.limits.multiPv, strength.lines);
        task.strength = strength;
        task.seed = static_cast<std::uint32_t>(random_());
    }
    const std::size_t choices = searchMoves.empty() ? current_.legalMoves().size() : searchMoves.size();
    if (choices == 1 && task.time.hardLimit)
        task.time.softLimit = Milliseconds{0};  // a clock is better kept than spent on a forced move
    task.limits.searchMoves = std::move(searchMoves);
    engine::Searcher& engineSearcher = *searcher_;
    engineSearcher.setThreads(threads_);
    if (!started(alphaBeta_, new AlphaBetaThread(engineSearcher, task, output_), output_)) {
        task.limits.depth = 1;
        const std::atomic<bool> never{false};
        output_.write(searchAlphaBeta(engineSearcher, task, never, [](const engine::Stability&) { return false; }, output_));
    }
}

std::vector<engine::Move> Engine::legalSearchMoves(const std::vector<std::string>& words) {
    std::vector<engine::Move> moves;
    std::string rejected;
    for (const std::string& word : words) {
        if (const std::optional<engine::Move> move = legalMove(current_, word))
            moves.push_back(*move);
        else if (rejected.size() <= kMaxQuotedBytes)  // the rest would not be quoted anyway
            rejected += (rejected.empty() ? "" : " ") + word;
    }
    if (!rejected.empty())
        output_.note("searchmoves not legal here, ignored: " + quoteInput(rejected) +
                     (moves.empty() ? "; searching every move" : ""));
    return moves;
}

// "bench [depth [evaluation]]": the fixed search over the bench positions, as "chess-uci bench"
// runs it, with the evaluation named or else the one chosen.
void Engine::bench(const std::vector<std::string>& words) {
    const std::optional<BenchRequest> request =
        benchRequestOf(std::vector<std::string>(words.begin() + 1, words.end()), evaluation_ == ekNETWORK);
    if (!request) {
        output_.note("usage: " + benchUsage());
        return;
    }
    for (const std::string& line : benchReport(runBench(request->depth, request->network ? network_ : nullptr)))
        output_.write(line);
}

void Engine::ponderHit() {
    if (alphaBeta_)
        alphaBeta_->ponderHit();
    if (pendingPonder_) {
        const GoLimits limits = *pendingPonder_;
        pendingPonder_.reset();
        goMinimax(limits);
    }
}

std::optional<bool> Engine::checkValue(const std::string& name, const std::string& value) {
    if (lowerCase(value) == "true" || lowerCase(value) == "false")
        return lowerCase(value) == "true";
    output_.note(name + " must be true or false");
    return std::nullopt;
}

void Engine::stop() {
    if (search_)
        search_->StopThread();
    if (alphaBeta_)
        alphaBeta_->stopSearch();
    if (pendingPonder_) {
        pendingPonder_.reset();
        output_.write(bestMoveLine(chooseRootMove(*board_, current_.legalMoves(), 1)));
    }
}

void Engine::finishSearch() {
    if (!search_ && !alphaBeta_ && !pendingPonder_)
        return;
    stop();
    if (search_)
        search_->waitUntilFinished();
    if (alphaBeta_)
        alphaBeta_->waitUntilFinished();
    search_.reset();
    alphaBeta_.reset();
    vek::purgeThreads();  // the registry's reference goes too: the finished thread is joined
}

}  // namespace vek::uci
