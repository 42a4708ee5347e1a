#pragma once
// A root search shared out over worker threads, each on its own copy of the board.
//
// The lists that a refresh leaves can depend on those of the position refreshed before it, so
// a root move's score can depend on the root moves searched before it. Each root move is
// therefore scored from the lists that the single-threaded search leaves before it: a worker
// that did not itself score the move just before replays that move's last lines, and every
// guess is checked against the lists that the move before really left; a root move scored
// from other lists is scored again from the right ones. The results are those of one thread.

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>

#include "chess/board.h"
#include "foundation/array.h"
#include "foundation/thread.h"

namespace vek::chess {

class RootSplit {
public:
    // `list` holds the root candidates of `board`, whose side is to move. `engine`'s stop
    // request ends the deepening of every worker.
    RootSplit(Board& board, MoveList& list, std::int32_t depth, const vek::Thread* engine)
        : board_(board), list_(list), depth_(depth), engine_(engine) {}

    // Scores every entry of the list with `workers` (2 or more) threads, the calling one among
    // them; adds the trial moves to the board's count and leaves on it the lists that one
    // thread would leave. Returns the best score for the side to move. Throws what a worker
    // threw, once all have stopped; the board is then as it was.
    std::int32_t run(std::size_t workers);

private:
    struct Outcome {
        std::int32_t score = 0;
        std::uint64_t trials = 0;
        bool continued = false;  // scored right after the move before, on the same board
        SearchState start;       // the guessed lists before it, when not continued
        SearchState end;         // the lists after it
    };

    void prepareCopies(std::size_t workers);
    void work(std::size_t worker) noexcept;
    void score(std::size_t worker, std::size_t index, SearchContext& context);
    void settle();
    std::int32_t best() const;

    Board& board_;
    MoveList& list_;
    std::int32_t depth_;
    const vek::Thread* engine_;
    std::unique_ptr<Board[]> copies_;
    vek::Array<MoveList> lists_;  // the root list on each copy
    vek::Array<Outcome> outcomes_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> abandoned_{false};
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

}  // namespace vek::chess
