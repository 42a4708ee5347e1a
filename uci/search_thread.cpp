#include "uci/search_thread.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "uci/deadline.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;

// How often "go infinite" looks again whether "stop" has come, besides being woken by it.
constexpr std::uint32_t kStopPollMs = 100;

// Centipawns from the side to move's view; the board scores in pawns from White's.
std::int64_t centipawnsFor(chess::Colour side, std::int32_t whiteScore) {
    return static_cast<std::int64_t>(side == chess::WHITE ? whiteScore : -whiteScore) * 100;
}

}  // namespace

std::string bestMoveLine(const std::optional<RootChoice>& choice) {
    return "bestmove " + (choice ? moveText(choice->move) : std::string("0000"));
}

SearchThread::SearchThread(chess::Board& board, std::vector<engine::Move> legal, const SearchPlan& plan,
                           LineOutput& output)
    : board_(board), legal_(std::move(legal)), plan_(plan), output_(output) {}

void SearchThread::ExecuteThread() {
    start_ = Clock::now();
    startNodes_ = board_.trialMoveCount();
    std::optional<RootChoice> choice;
    {
        std::optional<Deadline> deadline;
        if (plan_.hardLimit)
            deadline.emplace(start_ + *plan_.hardLimit, [this] { StopThread(); });
        try {
            choice = deepen();
        } catch (const std::exception& error) {
            output_.note(std::string("search failed: ") + error.what());
        }
    }
    if (plan_.infinite)
        awaitStop();
    output_.write(bestMoveLine(choice));
}

std::optional<RootChoice> SearchThread::deepen() {
    std::optional<RootChoice> best;
    std::vector<microseconds> depthTimes;
    for (std::int32_t depth = 1; depth <= plan_.maxDepth; ++depth) {
        const Clock::time_point depthStart = Clock::now();
        const std::optional<RootChoice> choice = chooseRootMove(board_, legal_, depth);
        if (!choice) {
            output_.note("no legal move");
            return std::nullopt;
        }
        // A depth cut short scored its remaining moves by their evaluation only; depth 1 is
        // never cut short (its moves are evaluations anyway).
        const bool cutShort = isTerminated() && depth > 1;
        if (cutShort)
            break;
        best = choice;
        report(depth, *best);
        depthTimes.push_back(duration_cast<microseconds>(Clock::now() - depthStart));
        if (isTerminated() || (best->legalCount == 1 && !plan_.infinite && plan_.allotment) ||
            !nextDepthFits(plan_, duration_cast<microseconds>(Clock::now() - start_), depthTimes, best->legalCount))
            break;
    }
    return best;
}

void SearchThread::report(std::int32_t depth, const RootChoice& choice) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
    const std::uint64_t nodes = board_.trialMoveCount() - startNodes_;
    const std::uint64_t nps = elapsed > 0 ? nodes * 1000 / static_cast<std::uint64_t>(elapsed) : nodes * 1000;
    output_.write("info depth " + std::to_string(depth) + " score cp " +
                  std::to_string(centipawnsFor(board_.sideToMove(), choice.score)) + " nodes " + std::to_string(nodes) +
                  " nps " + std::to_string(nps) + " time " + std::to_string(elapsed) + " pv " + moveText(choice.move));
}

void SearchThread::awaitStop() {
    while (!isTerminated())
        getStopEvent().wait(kStopPollMs);
}

}  // namespace vek::uci
