#pragma once
// One thread's search of one "go": its root moves in their order and the recursion's state
// along the line searched, with the history of its thread, which outlives the search. The main
// thread's worker serves the deepening (search.cpp), each helper's its thread (thread.h).
// Defined in search.cpp.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/history.h"
#include "engine/move.h"
#include "engine/move_picker.h"
#include "engine/nn_accumulator.h"
#include "engine/position.h"
#include "engine/transposition.h"

namespace vek::engine {

// One line of a depth: a root move's score, what the score is (exact, or only a bound of the
// line's worth), and its principal variation.
struct Line {
    int score = 0;
    Bound bound = bdEXACT;
    std::vector<Move> pv;  // starting with the root move
};

// One depth searched to its end (or, stopped, as far as it got): its lines, the best first.
struct DepthResult {
    int depth = 0;
    int selDepth = 0;
    std::vector<Line> lines;
};

// What the threads of one search share.
struct SharedSearch {
    SharedSearch(const std::atomic<bool>& stopRequest, TranspositionTable& sharedTable, std::uint64_t budget,
                 bool budgetAfterFirstDepth = false)
        : callerStop(stopRequest),
          table(sharedTable),
          nodeBudget(budget),
          budgetFromDepth(budgetAfterFirstDepth ? 2 : 1) {}

    const std::atomic<bool>& callerStop;
    std::atomic<bool> stop{false};
    TranspositionTable& table;
    std::uint64_t nodeBudget = 0;  // per thread; 0: none
    int budgetFromDepth = 1;       // the first root depth that the budget may stop
    const Network* network = nullptr;  // evaluates instead of the hand-written evaluation
};

// What a worker tells as it searches (each may be empty).
struct WorkerEvents {
    std::function<void()> polled;  // every kPollInterval nodes
    // A root move is begun: the `number`th (from 1) of the depth.
    std::function<void(int depth, Move move, int number)> rootMoveBegun;
    // The first line fell outside its aspiration window: a bound, searched again.
    std::function<void(int depth, const Line& line)> windowFailed;
};

class Worker {
public:
    // `history` must outlive the worker, and serve no other worker while it searches; so must
    // `events`, which may be null.
    Worker(const Position& position, const std::vector<Move>& rootMoves, SharedSearch& shared, History& history,
           const WorkerEvents* events = nullptr);

    // One depth over the root moves with the full window: the best `lineCount` lines, each
    // the best of the root moves that the lines before it left, ordered by score. Stopped in
    // the first line, its best move so far (the first searched, or one that scored better)
    // still makes a line, a lower bound of the depth's: unless that move fell below its
    // aspiration window, which leaves the depth without a line.
    void searchRoot(int depth, std::size_t lineCount);
    // The depth just searched, when it has a line.
    std::optional<DepthResult> result(int depth) const;
    bool stopped() const { return stopped_; }
    std::uint64_t nodes() const { return publishedNodes_.load(std::memory_order_relaxed); }
    Move firstRootMove() const { return roots_.front().move; }
    // Takes over a depth another thread finished: its lines become this worker's, and their
    // moves lead the root moves, so that the next depth searches them first.
    void adopt(const DepthResult& result);
    // Orders the root moves for the next depth: those of the lines first, in their order, then
    // the others by the work they took.
    void sortRoots();

private:
    struct RootMove {
        Move move;
        std::uint64_t nodes = 0;
    };

    bool poll();
    // The position's static evaluation, by the network when the search has one. Every move
    // and null move goes through these, so that the accumulators follow the board.
    int evaluateHere();
    bool make(Move move);
    void undo();
    void makeNull();
    void undoNull();
    // Moves the root moves of the lines to the front, in the lines' order.
    void putLinesFirst();
    // The best of the root moves from `first` on, moved to `first`; its line in `lineFound_`.
    // A score at or below alpha or at or above beta is only a bound.
    int searchLine(int depth, std::size_t first, int alpha, int beta);
    // The first line in a window around `guess`, widened until the score falls inside it.
    void aspirationSearch(int depth, int guess);
    int negamax(int depth, int alpha, int beta, int ply, bool allowNull);
    int quiesce(int alpha, int beta, int ply);
    bool isDrawn(int ply);
    MovePicker picker(bool noisyOnly, Move tableMove, int ply) const;
    // Takes a move's score into the node's best (and, above alpha, its principal variation);
    // true when it reaches beta and cuts the node off.
    bool updateBest(int score, Move move, int ply, int beta, int& best, int& alpha, Move& bestMove);
    void updatePv(int ply, Move move);
    // A quiet move cut the node off: it becomes a killer, and the history learns.
    void rewardQuiet(Move move, int depth, int ply, const Move* tried, std::size_t triedCount);
    // Whether a move after the first of a quiet node near the leaves is skipped unmade: a
    // quiet move once enough have been tried or when it loses material on its square, a
    // capture that loses material (`losing`) when it loses more than the depth could win back.
    bool prunedByCountOrExchange(Move move, bool noisy, int depth, int lmrDepth, bool improving, std::size_t quietCount,
                                 bool losing) const;
    // The piece squares of the two moves before the node at `ply`.
    PriorMoves priorMoves(int ply) const;

    Position position_;
    SharedSearch& shared_;
    std::unique_ptr<AccumulatorStack> accumulators_;  // with a network only
    const WorkerEvents* events_;
    std::vector<RootMove> roots_;
    std::uint64_t nodes_ = 0;
    std::atomic<std::uint64_t> publishedNodes_{0};
    bool stopped_ = false;
    int rootDepth_ = 0;  // of the depth being searched
    int selDepth_ = 0;
    std::optional<Line> lineFound_;
    std::vector<Line> lines_;
    Killers killers_;
    History& history_;
    // The piece square of the move made at each ply of the line (kNoPieceSquare: a null move).
    std::array<int, kMaxPly + 1> movedPieceSquares_{};
    // The move a node's search leaves out, by ply (none: kNoMove).
    std::array<Move, kMaxPly + 1> excluded_{};
    std::array<int, kMaxPly + 1> staticEvals_{};
    std::array<std::array<Move, kMaxPly + 1>, kMaxPly + 1> pv_{};
    std::array<int, kMaxPly + 1> pvLength_{};
};

}  // namespace vek::engine
