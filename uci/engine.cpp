#include "uci/engine.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>

#include "uci/board_game.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"
#include "uci/root_choice.h"
#include "uci/search_limits.h"

namespace vek::uci {
namespace {

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

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

// A whole number within [low, high], or none.
std::optional<std::int64_t> numberWithin(const std::string& text, std::int64_t low, std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::size_t coreCount() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace

Engine::Engine(std::function<void(const std::string&)> sink)
    : output_(std::move(sink)), board_(std::make_unique<chess::Board>()) {
    board_->newGame();
}

Engine::~Engine() { finishSearch(); }

bool Engine::handle(const std::string& line) {
    const std::vector<std::string> words = wordsOf(line);
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
            board_->newGame();
        } else if (command == "position") {
            finishSearch();
            setPosition(words);
        } else if (command == "go") {
            finishSearch();
            go(words);
        } else if (command == "setoption") {
            finishSearch();
            setOption(words);
        } else if (command != "debug" && command != "ponderhit" && command != "register") {
            output_.note("unknown command: " + command);
        }
    } catch (const std::exception& error) {
        output_.note(command + " failed: " + error.what());
    }
    return true;
}

void Engine::identify() {
    output_.write("id name vek chess-uci");
    output_.write("id author vek");
    output_.write("option name Threads type spin default 1 min 1 max " + std::to_string(coreCount()));
    output_.write("option name Depth type spin default " + std::to_string(kDefaultDepth) + " min 1 max " +
                  std::to_string(kMaxDepthOption));
    output_.write("uciok");
}

// "setoption name <name> [value <value>]"; options the engine does not have are ignored.
void Engine::setOption(const std::vector<std::string>& words) {
    const std::size_t valueAt = indexOf(words, "value", 2);
    const std::string name = lowerCase(joined(words, 2, valueAt));
    const std::string value = joined(words, valueAt + 1, words.size());
    if (words.size() < 3 || words[1] != "name") {
        output_.note("setoption needs a name");
    } else if (name == "threads") {
        const auto count = numberWithin(value, 1, static_cast<std::int64_t>(coreCount()));
        if (count)
            threads_ = static_cast<std::size_t>(*count);
        else
            output_.note("Threads must be a number from 1 to " + std::to_string(coreCount()));
    } else if (name == "depth") {
        const auto depth = numberWithin(value, 1, kMaxDepthOption);
        if (depth)
            depth_ = static_cast<std::int32_t>(*depth);
        else
            output_.note("Depth must be a number from 1 to " + std::to_string(kMaxDepthOption));
    }
}

// "position startpos|fen <FEN> [moves <move>...]": set up on a board of its own, which
// replaces the engine's only when every part was right.
void Engine::setPosition(const std::vector<std::string>& words) {
    const std::size_t movesAt = indexOf(words, "moves", 1);
    std::string fen;
    if (words.size() >= 2 && words[1] == "startpos" && movesAt == 2)
        fen = kStartFen;
    else if (words.size() >= 3 && words[1] == "fen")
        fen = joined(words, 2, movesAt);
    else {
        output_.note("position needs startpos or fen; position unchanged");
        return;
    }
    std::string error;
    const std::optional<StandardPosition> position = parseFen(fen, error);
    auto board = std::make_unique<chess::Board>();
    if (!position || !setUpBoard(*board, *position)) {
        output_.note("bad FEN (" + (error.empty() ? std::string("refused") : error) + "); position unchanged");
        return;
    }
    for (std::size_t i = movesAt + 1; i < words.size(); ++i) {
        const std::optional<StandardMove> move = parseMove(words[i]);
        if (!move || !isLegal(standardPositionOf(*board), *move)) {
            output_.note("illegal move " + words[i] + "; position unchanged");
            return;
        }
        playStandardMove(*board, *move);
    }
    board_ = std::move(board);
}

void Engine::go(const std::vector<std::string>& words) {
    std::string error;
    const std::optional<GoLimits> limits = parseGoLimits(std::vector<std::string>(words.begin() + 1, words.end()), error);
    if (!limits) {
        output_.note(error);
        return;
    }
    board_->setSearchThreads(threads_);
    auto* thread = new SearchThread(*board_, planSearch(*limits, board_->sideToMove(), depth_), output_);
    thread->setAutoDelete(true);
    search_ = vek::SharedRef<SearchThread>(thread);
    try {
        search_->StartThread(vek::STRING("uci search"));
    } catch (const std::exception& failure) {
        // The GUI waits for an answer: depth 1 takes no time worth a thread.
        search_.reset();
        output_.note(std::string("no thread for the search (") + failure.what() + "); depth 1 only");
        output_.write(bestMoveLine(chooseRootMove(*board_, 1)));
    }
}

void Engine::stop() {
    if (search_)
        search_->StopThread();
}

void Engine::finishSearch() {
    if (!search_)
        return;
    search_->StopThread();
    search_->waitUntilFinished();
    search_.reset();
    vek::purgeThreads();  // the registry's reference goes too: the finished thread is joined
}

}  // namespace vek::uci
