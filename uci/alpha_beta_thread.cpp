#include "uci/alpha_beta_thread.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <optional>
#include <utility>

#include "uci/deadline.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

// How often "go infinite" looks again whether "stop" has come, besides being woken by it.
constexpr std::uint32_t kStopPollMs = 100;

std::string scoreText(const engine::Score& score) {
    return std::string(score.isMate ? "mate " : "cp ") + std::to_string(score.value);
}

std::string infoLine(const engine::Report& report) {
    const auto milliseconds = static_cast<std::uint64_t>(std::max<std::int64_t>(report.time.count(), 0));
    const std::uint64_t nps = milliseconds > 0 ? report.nodes * 1000 / milliseconds : report.nodes * 1000;
    std::string line = "info depth " + std::to_string(report.depth) + " seldepth " + std::to_string(report.selDepth) +
                       " score " + scoreText(report.score) + " nodes " + std::to_string(report.nodes) + " time " +
                       std::to_string(milliseconds) + " nps " + std::to_string(nps) + " hashfull " +
                       std::to_string(report.hashfull) + " pv";
    for (const engine::Move move : report.pv) {
        line += ' ';
        line += moveText(move);
    }
    return line;
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

}  // namespace

std::string searchAlphaBeta(engine::Searcher& searcher, const AlphaBetaTask& task, const std::atomic<bool>& stop,
                            LineOutput& output) {
    std::optional<engine::Move> found;
    try {
        found = searcher.search(
            task.position, task.limits, stop,
            [&task](int, std::chrono::milliseconds elapsed) { return !task.time.softLimit || elapsed < *task.time.softLimit; },
            [&output](const engine::Report& report) { output.write(infoLine(report)); });
    } catch (const std::exception& error) {
        output.note(std::string("search failed: ") + error.what());
    }
    const std::optional<engine::Move> move = checkedMove(found, task.position, output);
    return "bestmove " + (move ? moveText(*move) : std::string("0000"));
}

AlphaBetaThread::AlphaBetaThread(engine::Searcher& searcher, AlphaBetaTask task, LineOutput& output)
    : searcher_(searcher), task_(std::move(task)), output_(output) {}

void AlphaBetaThread::ExecuteThread() {
    std::string answer;
    {
        std::optional<Deadline> deadline;
        if (task_.time.hardLimit)
            deadline.emplace(std::chrono::steady_clock::now() + *task_.time.hardLimit, [this] { stop_.store(true); });
        answer = searchAlphaBeta(searcher_, task_, stop_, output_);
    }
    if (task_.infinite)
        while (!isTerminated())
            getStopEvent().wait(kStopPollMs);
    output_.write(answer);
}

void AlphaBetaThread::stopSearch() {
    stop_.store(true);
    StopThread();
}

}  // namespace vek::uci
