#include "chess/root_split.h"

#include <algorithm>
#include <limits>
#include <new>
#include <system_error>
#include <thread>

#include "chess/search_context.h"
#include "foundation/exceptions.h"

namespace vek::chess {
namespace {

// Joins the started workers however the run is left.
class Workers {
public:
    // Room for all is made first, so that a started thread always finds its place.
    explicit Workers(std::size_t count) { threads_.grow(count); }
    ~Workers() {
        for (std::thread& thread : threads_)
            thread.join();
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // False when the system gives no more threads: the workers started so far share the moves.
    template <typename Body>
    bool start(Body body) {
        try {
            threads_.append(std::thread(body));
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

private:
    vek::Array<std::thread> threads_;
};

}  // namespace

std::int32_t RootSplit::run(std::size_t workers) {
    prepareCopies(workers);
    outcomes_.writeAt(list_.getCount() - 1);
    {
        Workers started(workers - 1);
        for (std::size_t worker = 1; worker < workers && started.start([this, worker] { work(worker); }); ++worker) {
        }
        work(0);
    }
    if (failure_)
        std::rethrow_exception(failure_);
    settle();
    std::uint64_t trials = 0;
    for (std::size_t i = 0; i < list_.getCount(); ++i) {
        list_[i].score = outcomes_[i].score;
        trials += outcomes_[i].trials;
    }
    board_.trialMoves_ += trials;
    board_.restoreSearchState(outcomes_[list_.getCount() - 1].end);
    return best();
}

void RootSplit::prepareCopies(std::size_t workers) {
    copies_.reset(new (std::nothrow) Board[workers]);
    if (!copies_)
        throw vek::AllocError();
    lists_.writeAt(workers - 1);
    for (std::size_t worker = 0; worker < workers; ++worker) {
        Board& copy = copies_[worker];
        copy.copyFrom(board_);
        copy.trialFiguresFrom_ = copy.figures_.getCount();
        copy.trialHistoryFrom_ = copy.history_.getCount();
        for (const Move& move : list_)
            lists_[worker].append(copy.counterpart(move, board_));
    }
}

// Root moves are handed out one at a time, so that the uneven subtrees even out.
void RootSplit::work(std::size_t worker) noexcept {
    try {
        SearchContext context(engine_, &abandoned_, depth_);
        std::size_t previous = std::numeric_limits<std::size_t>::max();
        for (std::size_t index = next_++; index < list_.getCount() && !abandoned_; index = next_++) {
            Outcome& outcome = outcomes_[index];
            // The first move handed out is this copy's first: its lists are the board's own.
            outcome.continued = index == 0 || previous == index - 1;
            if (!outcome.continued) {
                Board& copy = copies_[worker];
                if (index >= 2)
                    copy.replayLine(lists_[worker][index - 2], depth_, context);
                copy.replayLine(lists_[worker][index - 1], depth_, context);
                outcome.start = copy.searchState();
            }
            score(worker, index, context);
            previous = index;
        }
    } catch (...) {
        abandoned_ = true;
        const std::lock_guard<std::mutex> lock(failureMutex_);
        if (!failure_)
            failure_ = std::current_exception();
    }
}

void RootSplit::score(std::size_t worker, std::size_t index, SearchContext& context) {
    Board& copy = copies_[worker];
    Move move = lists_[worker][index];
    move.promotedFigure = nullptr;  // a replay may have made the move before
    const std::uint64_t before = copy.trialMoves_;
    outcomes_[index].score = copy.scoreRootMove(move, depth_, context);
    outcomes_[index].trials = copy.trialMoves_ - before;
    outcomes_[index].end = copy.searchState();
}

// Checks, in list order, that each root move was scored from the lists that the move before
// left, and scores it again from those lists where it was not.
void RootSplit::settle() {
    SearchContext context(engine_, nullptr, depth_);
    SearchState replaced;  // the lists that the move before left before it was scored again
    bool previousRescored = false;
    for (std::size_t index = 1; index < list_.getCount(); ++index) {
        Outcome& outcome = outcomes_[index];
        const SearchState& before = outcomes_[index - 1].end;
        const bool valid = outcome.continued ? !previousRescored || replaced == before : outcome.start == before;
        previousRescored = !valid;
        if (valid)
            continue;
        replaced = std::move(outcome.end);
        copies_[0].restoreSearchState(before);
        score(0, index, context);
        ++board_.rescoredRootMoves_;
    }
}

std::int32_t RootSplit::best() const {
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    for (const Move& move : list_) {
        low = std::min(low, move.score);
        high = std::max(high, move.score);
    }
    return board_.sideToMove_ == WHITE ? high : low;
}

}  // namespace vek::chess
