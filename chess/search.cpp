#include <algorithm>
#include <limits>

#include "chess/board.h"
#include "chess/random.h"
#include "chess/root_split.h"
#include "chess/search_context.h"
#include "foundation/platform.h"
#include "foundation/thread.h"

namespace vek::chess {

// After any move of a list the opponent is to move; the move is handed back on every way out.
class Board::HandOver {
public:
    explicit HandOver(Board& board) : board_(board) { board_.sideToMove_ = opponent(board_.sideToMove_); }
    ~HandOver() { board_.sideToMove_ = opponent(board_.sideToMove_); }
    HandOver(const HandOver&) = delete;
    HandOver& operator=(const HandOver&) = delete;

private:
    Board& board_;
};

// Below the root the state is put back however the level is left.
class Board::StateKeeper {
public:
    explicit StateKeeper(Board& board) : board_(board), state_(board.state_) {}
    ~StateKeeper() { board_.state_ = state_; }
    StateKeeper(const StateKeeper&) = delete;
    StateKeeper& operator=(const StateKeeper&) = delete;

private:
    Board& board_;
    GameState state_;
};

// A root search reuses the figures of its trial promotions and releases them when it returns.
class Board::TrialScope {
public:
    explicit TrialScope(Board& board) : board_(board) {
        board_.trialFiguresFrom_ = board_.figures_.getCount();
        board_.trialHistoryFrom_ = board_.history_.getCount();
    }
    ~TrialScope() { board_.releaseTrialFigures(); }
    TrialScope(const TrialScope&) = delete;
    TrialScope& operator=(const TrialScope&) = delete;

private:
    Board& board_;
};

namespace {

// A trial move on the board that is taken back however its scope is left, so that an
// exception thrown deep in a search (running out of memory while a list grows) leaves the
// position as the search found it.
class TrialMove {
public:
    TrialMove(Board& board, Move& move) : board_(board), move_(move) { board_.applyMove(move_); }
    ~TrialMove() { board_.takeBack(move_); }
    TrialMove(const TrialMove&) = delete;
    TrialMove& operator=(const TrialMove&) = delete;

private:
    Board& board_;
    Move& move_;  // the list entry: applyMove records in it what takeBack needs
};

// Keeps exactly the entries scored `best`, in their list order.
void keepBest(MoveList& list, std::int32_t best) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.getCount(); ++i)
        if (list[i].score == best)
            list[kept++] = list[i];
    while (list.getCount() > kept)
        list.removeLast();
}

// Every best move has the same chance; the generator is left alone when there is no choice.
Move chooseAmong(const MoveList& list) {
    switch (list.getCount()) {
    case 0: return Move{};
    case 1: return list[0];
    default: return list[pickIndex(drawEngineRandom(), list.getCount())];
    }
}

// The score of a trial move that the opponent cannot answer, from the state that the refresh
// after the move decided: a mate or a king left attacked ends the game, a stalemate draws it,
// anything else keeps the evaluation.
std::int32_t scoreWithoutAnswer(const Board& board, std::int32_t evaluation) {
    const GameState state = board.state();
    const Colour side = board.sideToMove();
    if ((state == BLACK_IN_CHECK && side == BLACK) || state == WHITE_WINS)
        return MATE_SCORE;
    if ((state == WHITE_IN_CHECK && side == WHITE) || state == BLACK_WINS)
        return -MATE_SCORE;
    if (state == STALEMATE)
        return 0;
    return evaluation;
}

// Deeper requests search as deep as the engine goes; see MAX_SEARCH_DEPTH.
std::int32_t boundedDepth(std::int32_t depth) { return std::min(depth, MAX_SEARCH_DEPTH); }

}  // namespace

Move Board::findBestMove(std::int32_t depth, std::int32_t& candidateCount, bool isRoot) {
    const GameState state = state_;
    const Colour side = sideToMove_;
    std::size_t checkerCount = 0;
    MoveList list;
    collectCandidates(list, checkerCount);
    if (!list.isEmpty() && depth > 0) {
        try {
            keepBest(list, isRoot ? scoreRootMoves(list, depth) : scoreMoves(list, depth));
        } catch (...) {
            // The trial moves are taken back by now, but the figures' lists still show the
            // position where the search failed.
            if (isRoot)
                refresh();
            state_ = state;
            throw;
        }
    }
    const Move chosen = chooseAmong(list);
    if (!isRoot) {
        // The figures' lists stay those of the last trial position: the caller's next trial
        // move rebuilds them.
        state_ = state;
        return chosen;
    }
    candidateCount = static_cast<std::int32_t>(list.getCount());
    if (checkerCount > 0 && list.isEmpty())
        state_ = side == WHITE ? BLACK_WINS : WHITE_WINS;
    else
        refresh();
    return chosen;
}

std::int32_t Board::scoreMoves(MoveList& list, std::int32_t requestedDepth) {
    const std::int32_t depth = boundedDepth(requestedDepth);
    // Held for the whole call, so that the thread object outlives every look at its flag.
    const SharedRef<Thread> engine = findThread(currentThreadId());
    SearchContext context(engine.get(), nullptr, depth);
    return scoreList(list, depth, context);
}

std::int32_t Board::scoreRootMoves(MoveList& list, std::int32_t requestedDepth) {
    const std::int32_t depth = boundedDepth(requestedDepth);
    const SharedRef<Thread> engine = findThread(currentThreadId());
    const TrialScope trialFigures(*this);
    const std::size_t workers = std::min(searchThreads(), list.getCount());
    std::int32_t best = 0;
    // At depth 1 each root move is one evaluation: sharing them out would cost more.
    if (workers >= 2 && depth >= 2) {
        best = RootSplit(*this, list, depth, engine.get()).run(workers);
    } else {
        SearchContext context(engine.get(), nullptr, depth);
        best = scoreList(list, depth, context);
    }
    for (Move& move : list)
        move.promotedFigure = nullptr;  // released with the scope
    return best;
}

std::int32_t Board::scoreList(MoveList& list, std::int32_t depth, SearchContext& context) {
    const Colour mover = sideToMove_;
    const HandOver handOver(*this);
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    for (Move& move : list) {
        const std::int32_t score = scoreTrial(move, depth, context);
        low = std::min(low, score);
        high = std::max(high, score);
    }
    return mover == WHITE ? high : low;
}

// The side to move is already handed over to the opponent of the move's side.
std::int32_t Board::scoreTrial(Move& move, std::int32_t depth, SearchContext& context) {
    countRootTrial();
    const TrialMove trial(*this, move);
    ++trialMoves_;
    refresh();
    move.score = evaluate();
    if (depth >= 2 && !context.stopRequested())
        move.score = answerScore(depth - 1, move.score, context);
    return move.score;
}

// One root move on its own, as scoreList scores it among the others.
std::int32_t Board::scoreRootMove(Move& move, std::int32_t depth, SearchContext& context) {
    const HandOver handOver(*this);
    return scoreTrial(move, depth, context);
}

// The score of the opponent's best answer, searched `depth` plies deep. Only the best score
// matters here: every best answer carries it, so no choice is drawn.
std::int32_t Board::answerScore(std::int32_t depth, std::int32_t evaluation, SearchContext& context) {
    const StateKeeper keeper(*this);
    MoveList& list = context.listFor(depth);
    std::size_t checkerCount = 0;
    collectCandidates(list, checkerCount);
    return list.isEmpty() ? scoreWithoutAnswer(*this, evaluation) : scoreList(list, depth, context);
}

// Makes, without scoring, the trial moves that a search of `move` makes last: at every level
// the last candidate, after the one before it, so that the lists left behind are as near as
// cheaply possible to those that the whole search of `move` leaves. The replay doubles with
// every level, so it ends at a stop request like the search; a root move scored after a cut
// replay is checked and scored again like any other guess.
void Board::replayLine(Move move, std::int32_t depth, SearchContext& context) {
    move.promotedFigure = nullptr;
    const HandOver handOver(*this);
    const TrialMove trial(*this, move);
    refresh();
    if (depth >= 2 && !context.stopRequested())
        replayAnswers(depth - 1, context);
}

void Board::replayAnswers(std::int32_t depth, SearchContext& context) {
    const StateKeeper keeper(*this);
    MoveList& list = context.listFor(depth);
    std::size_t checkerCount = 0;
    collectCandidates(list, checkerCount);
    const std::size_t count = list.getCount();
    if (count >= 2)
        replayLine(list[count - 2], depth, context);
    if (count >= 1)
        replayLine(list[count - 1], depth, context);
}

}  // namespace vek::chess
