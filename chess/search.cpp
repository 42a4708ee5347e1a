#include <algorithm>
#include <limits>

#include "chess/board.h"
#include "chess/random.h"
#include "foundation/platform.h"
#include "foundation/thread.h"

namespace vek::chess {
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

// The candidates of the side to move: the answers to a check, or every move when nothing
// gives check.
MoveList candidatesOf(const Board& board, std::size_t& checkerCount) {
    MoveList evasions = board.listEvasions(checkerCount);
    if (checkerCount > 0)
        return evasions;
    return board.listAllMoves();
}

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

bool isRealMove(const Move& move) {
    return move.figure && move.from.column != 0 && move.from.row != 0 && move.to.column != 0 &&
           move.to.row != 0;
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

// The score of a trial move searched `depth` plies deeper: that of the opponent's best answer.
std::int32_t deeperScore(Board& board, std::int32_t depth, std::int32_t evaluation) {
    std::int32_t ignoredCount = 0;
    const Move answer = board.findBestMove(depth, ignoredCount, false);
    return isRealMove(answer) ? answer.score : scoreWithoutAnswer(board, evaluation);
}

}  // namespace

Move Board::findBestMove(std::int32_t depth, std::int32_t& candidateCount, bool isRoot) {
    const GameState state = state_;
    const Colour side = sideToMove_;
    std::size_t checkerCount = 0;
    MoveList list = candidatesOf(*this, checkerCount);
    if (!list.isEmpty() && depth > 0) {
        try {
            keepBest(list, scoreMoves(list, depth));
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

std::int32_t Board::scoreMoves(MoveList& list, std::int32_t depth) {
    // Held for the whole call, so that the thread object outlives every look at its flag.
    const SharedRef<Thread> thread = findThread(currentThreadId());
    const Colour mover = sideToMove_;
    // After any of the moves the opponent is to move; the move is handed back on every way out.
    struct HandOver {
        Board& board;
        explicit HandOver(Board& b) : board(b) { board.sideToMove_ = opponent(board.sideToMove_); }
        ~HandOver() { board.sideToMove_ = opponent(board.sideToMove_); }
        HandOver(const HandOver&) = delete;
        HandOver& operator=(const HandOver&) = delete;
    } const handOver(*this);

    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    for (Move& move : list) {
        const TrialMove trial(*this, move);
        ++trialMoves_;
        refresh();
        move.score = evaluate();
        if (depth >= 2 && !(thread && thread->isTerminated()))
            move.score = deeperScore(*this, depth - 1, move.score);
        low = std::min(low, move.score);
        high = std::max(high, move.score);
    }
    return mover == WHITE ? high : low;
}

}  // namespace vek::chess
