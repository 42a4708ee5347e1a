#include "uci/alpha_beta_thread.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <random>
#include <utility>
#include <vector>

#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

std::string scoreText(const engine::Score& score, engine::Bound bound) {
    const char* boundText = bound == engine::bdLOWER ? " lowerbound" : bound == engine::bdUPPER ? " upperbound" : "";
    return std::string(score.isMate ? "mate " : "cp ") + std::to_string(score.value) + boundText;
}

// "nodes N nps R hashfull H time T".
std::string countsText(std::uint64_t nodes, std::chrono::milliseconds time, int hashfull) {
    const auto milliseconds = static_cast<std::uint64_t>(std::max<std::int64_t>(time.count(), 0));
    const std::uint64_t nps = milliseconds > 0 ? nodes * 1000 / milliseconds : nodes * 1000;
    return "nodes " + std::to_string(nodes) + " nps " + std::to_string(nps) + " hashfull " + std::to_string(hashfull) +
           " time " + std::to_string(milliseconds);
}

// Win, draw and loss in per mille for the side to move: a logistic curve of the score (even at
// 0, a win about one time in two at two pawns ahead, nearly sure at four), a mate for sure.
std::string wdlText(const engine::Score& score) {
    int win = 0;
    int loss = 0;
    if (score.isMate) {
        win = score.value > 0 ? 1000 : 0;
        loss = score.value > 0 ? 0 : 1000;
    } else {
        constexpr double kMidpoint = 200.0;
        constexpr double kSpread = 75.0;
        const auto share = [](double centipawns) {
            return static_cast<int>(std::lround(1000.0 / (1.0 + std::exp((kMidpoint - centipawns) / kSpread))));
        };
        win = share(score.value);
        loss = share(-score.value);
    }
    return std::to_string(win) + " " + std::to_string(1000 - win - loss) + " " + std::to_string(loss);
}

// The search's move, or, should it not be legal, the first legal one.
std::optional<engine::Move> checkedMove(const std::optional<engine::Move>& found, const engine::Position& position,
                                        LineOutput& output) {
    const std::vector<engine::Move> legal = position.legalMoves();
    if (found && std::find(legal.begin(), legal.end(), *found) != legal.end())
        return found;
    if (legal.empty()) {
        output.note("no legal move");
        return std::nullopt;
    }
    output.note("the search found no legal move; playing " + moveText(legal.front()));
    return legal.front();
}

// The reply the line expects to `move`, when it is legal after it.
std::optional<engine::Move> ponderMove(const engine::Report* line, engine::Move move, engine::Position position) {
    if (!line || line->pv.size() < 2 || line->pv.front() != move)
        return std::nullopt;
    position.play(move);
    const std::vector<engine::Move> legal = position.legalMoves();
    if (std::find(legal.begin(), legal.end(), line->pv[1]) == legal.end())
        return std::nullopt;
    return line->pv[1];
}

}  // namespace

std::string infoLine(const engine::Report& report, bool showWdl) {
    std::string line = "info depth " + std::to_string(report.depth) + " seldepth " + std::to_string(report.selDepth) +
                       " multipv " + std::to_string(report.multiPv) + " score " + scoreText(report.score, report.bound);
    if (showWdl)
        line += " wdl " + wdlText(report.score);
    line += ' ';
    line += countsText(report.nodes, report.time, report.hashfull);
    line += " pv";
    for (const engine::Move move : report.pv) {
        line += ' ';
        line += moveText(move);
    }
    return line;
}

std::string progressLine(const engine::Progress& progress) {
    if (progress.currentMove)
        return "info currmove " + moveText(*progress.currentMove) + " currmovenumber " +
               std::to_string(progress.currentMoveNumber);
    return "info " + countsText(progress.nodes, progress.time, progress.hashfull);
}

std::string searchAlphaBeta(engine::Searcher& searcher, const AlphaBetaTask& task, const std::atomic<bool>& stop,
                            const std::function<bool(const engine::Stability&)>& mayDeepen, LineOutput& output) {
    std::optional<engine::Move> found;
    std::vector<engine::Report> lines;  // of the last depth reported
    // The strength limit chooses among the lines of the deepest depth that gave every line it
    // was asked for, exact: a depth stopped part-way has fewer, or a bound, and would leave
    // its first line as the only choice.
    std::vector<engine::Report> wholeLines;
    const std::size_t rootMoves =
        task.limits.searchMoves.empty() ? task.position.legalMoves().size() : task.limits.searchMoves.size();
    const std::size_t wanted = std::min(static_cast<std::size_t>(std::max(task.limits.multiPv, 1)), rootMoves);
    try {
        found = searcher.search(
            task.position, task.limits, stop, mayDeepen,
            [&](const engine::Report& report) {
                if (report.multiPv <= task.shownLines)
                    output.write(infoLine(report, task.showWdl));
                // A line that failed low names the move the depth began with, whose line the
                // answer keeps.
                if (report.bound == engine::bdUPPER)
                    return;
                if (report.multiPv == 1)
                    lines.clear();
                lines.push_back(report);
                const bool exact = std::all_of(lines.begin(), lines.end(),
                                               [](const engine::Report& line) { return line.bound == engine::bdEXACT; });
                if (lines.size() == wanted && exact)
                    wholeLines = lines;
            },
            [&](const engine::Progress& progress) { output.write(progressLine(progress)); });
    } catch (const std::exception& error) {
        output.note(std::string("search failed: ") + error.what());
    }
    const engine::Report* played = !lines.empty() && found && lines.front().pv.front() == *found ? &lines.front() : nullptr;
    if (task.strength && !wholeLines.empty()) {
        std::vector<engine::Score> scores;
        for (const engine::Report& line : wholeLines)
            scores.push_back(line.score);
        std::mt19937 random(task.seed);
        played = &wholeLines[pickLine(scores, task.strength->errorCp, random)];
        found = played->pv.front();
    }
    const std::optional<engine::Move> move = checkedMove(found, task.position, output);
    if (!move)
        return "bestmove 0000";
    const std::optional<engine::Move> reply = ponderMove(played, *move, task.position);
    return "bestmove " + moveText(*move) + (reply ? " ponder " + moveText(*reply) : std::string());
}

AlphaBetaThread::AlphaBetaThread(engine::Searcher& searcher, AlphaBetaTask task, LineOutput& output)
    : searcher_(searcher), task_(std::move(task)), output_(output), pondering_(task_.ponder) {}

void AlphaBetaThread::ExecuteThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!pondering_)
            startClock();
    }
    const std::string answer = searchAlphaBeta(
        searcher_, task_, stop_, [this](const engine::Stability& stability) { return mayDeepen(stability); }, output_);
    std::unique_lock<std::mutex> lock(mutex_);
    searching_ = false;
    deadline_.reset();  // its alarm takes no lock: no wait on this one
    released_.wait(lock, [this] { return stop_.load() || (!task_.infinite && !pondering_); });
    lock.unlock();
    output_.write(answer);
}

// The clock is the thread's own, not the search's: a pondering search's time counts from "ponderhit".
bool AlphaBetaThread::mayDeepen(const engine::Stability& stability) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return pondering_ || !task_.time.softLimit ||
           Clock::now() - clockStart_ < *task_.time.softLimit * softLimitScale(stability);
}

void AlphaBetaThread::startClock() {
    clockStart_ = Clock::now();
    if (task_.time.hardLimit && searching_)
        deadline_.emplace(clockStart_ + *task_.time.hardLimit, [this] { stop_.store(true); });
}

void AlphaBetaThread::stopSearch() {
    stop_.store(true);
    StopThread();
    const std::lock_guard<std::mutex> lock(mutex_);
    released_.notify_all();
}

void AlphaBetaThread::ponderHit() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!pondering_)
        return;
    pondering_ = false;
    startClock();
    released_.notify_all();
}

}  // namespace vek::uci
