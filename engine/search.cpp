#include "engine/search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "engine/evaluation.h"
#include "engine/exchange_value.h"
#include "engine/history.h"
#include "engine/move_picker.h"
#include "engine/search_constants.h"
#include "engine/transposition.h"

namespace vek::engine {
namespace {

using Clock = std::chrono::steady_clock;

// Late-move reductions by depth and move number: the later a quiet move comes in a deep
// search, the less likely it is to matter.
const auto kReductions = [] {
    std::array<std::array<std::int8_t, 64>, 64> table{};
    for (int depth = 1; depth < 64; ++depth)
        for (int number = 1; number < 64; ++number)
            table[depth][number] =
                static_cast<std::int8_t>(kLmrBase + std::log(depth) * std::log(number) / kLmrDivisor);
    return table;
}();

Score reportedScore(int value) {
    if (value >= kMateBound)
        return {true, (kMate - value + 1) / 2};
    if (value <= -kMateBound)
        return {true, -(kMate + value) / 2};
    return {false, value};
}

// Centipawns the best line lost from one depth to the next; a mate counts as a large score.
int dropOf(int before, int after) {
    const auto bounded = [](int score) { return std::clamp(score, -kMateBound, kMateBound); };
    return std::max(0, bounded(before) - bounded(after));
}

// Whether a stored result decides the window without a search.
bool tableScoreDecides(const TableEntry& entry, int alpha, int beta) {
    return entry.bound == bdEXACT || (entry.bound == bdLOWER && entry.score >= beta) ||
           (entry.bound == bdUPPER && entry.score <= alpha);
}

// What a search's result says about the node: beyond beta a lower bound, within the window
// exact, at or below the alpha it started with an upper bound.
Bound resultBound(int best, int originalAlpha, int beta) {
    return best >= beta ? bdLOWER : (best > originalAlpha ? bdEXACT : bdUPPER);
}

// One line of a depth: a root move's score and its principal variation.
struct Line {
    int score = 0;
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
    SharedSearch(const std::atomic<bool>& stopRequest, TranspositionTable& sharedTable, std::uint64_t budget)
        : callerStop(stopRequest), table(sharedTable), nodeBudget(budget) {}

    const std::atomic<bool>& callerStop;
    std::atomic<bool> stop{false};
    TranspositionTable& table;
    std::uint64_t nodeBudget = 0;  // per thread; 0: none
    // The deepest depth a helper has finished: the main thread takes it over once it is
    // deeper than its own.
    std::mutex mutex;
    DepthResult deepestHelper;

    void offer(DepthResult result) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (result.depth > deepestHelper.depth)
            deepestHelper = std::move(result);
    }
    // The helpers' result when deeper than `depth`.
    std::optional<DepthResult> deeperThan(int depth) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (deepestHelper.depth > depth)
            return deepestHelper;
        return std::nullopt;
    }
};

class Worker {
public:
    Worker(const Position& position, const std::vector<Move>& rootMoves, SharedSearch& shared)
        : position_(position), shared_(shared) {
        for (const Move move : rootMoves)
            roots_.push_back(RootMove{move, 0});
        // The root's own, so that "improving" at ply 2 compares with it.
        staticEvals_[0] = position_.inCheck() ? -kInfinity : evaluate(position_);
    }

    // One depth over the root moves with the full window: the best `lineCount` lines, each
    // the best of the root moves that the lines before it left, ordered by score. Stopped in
    // the first line, its best move so far (the first searched or one that scored better)
    // still makes a line.
    void searchRoot(int depth, std::size_t lineCount);
    // The depth just searched, when it has a line.
    std::optional<DepthResult> result(int depth) const {
        if (lines_.empty())
            return std::nullopt;
        return DepthResult{depth, std::max(selDepth_, depth), lines_};
    }
    bool stopped() const { return stopped_; }
    std::uint64_t nodes() const { return publishedNodes_.load(std::memory_order_relaxed); }
    Move firstRootMove() const { return roots_.front().move; }
    // Orders the root moves for the next depth: those of the lines first, in their order, then
    // the others by the work they took.
    void sortRoots();

private:
    struct RootMove {
        Move move;
        std::uint64_t nodes = 0;
    };

    bool poll();
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
    // capture when it loses more than the depth could win back. `key` is its ordering key.
    bool prunedByCountOrExchange(Move move, bool noisy, int depth, int lmrDepth, bool improving, std::size_t quietCount,
                                 bool losing) const;
    // The piece squares of the two moves before the node at `ply`.
    PriorMoves priorMoves(int ply) const;

    Position position_;
    SharedSearch& shared_;
    std::vector<RootMove> roots_;
    std::uint64_t nodes_ = 0;
    std::atomic<std::uint64_t> publishedNodes_{0};
    bool stopped_ = false;
    int selDepth_ = 0;
    std::optional<Line> lineFound_;
    std::vector<Line> lines_;
    Killers killers_;
    History history_;
    // The piece square of the move made at each ply of the line (kNoPieceSquare: a null move).
    std::array<int, kMaxPly + 1> movedPieceSquares_{};
    // The move a node's search leaves out, by ply (none: kNoMove).
    std::array<Move, kMaxPly + 1> excluded_{};
    std::array<int, kMaxPly + 1> staticEvals_{};
    std::array<std::array<Move, kMaxPly + 1>, kMaxPly + 1> pv_{};
    std::array<int, kMaxPly + 1> pvLength_{};
};

bool Worker::poll() {
    ++nodes_;
    if (shared_.nodeBudget != 0 && nodes_ >= shared_.nodeBudget)
        stopped_ = true;
    if (nodes_ % kPollInterval == 0) {
        publishedNodes_.store(nodes_, std::memory_order_relaxed);
        if (shared_.stop.load(std::memory_order_relaxed) || shared_.callerStop.load(std::memory_order_relaxed))
            stopped_ = true;
    }
    return stopped_;
}

void Worker::sortRoots() {
    const std::size_t kept = std::max<std::size_t>(1, lines_.size());
    std::stable_sort(roots_.begin() + static_cast<std::ptrdiff_t>(std::min(kept, roots_.size())), roots_.end(),
                     [](const RootMove& a, const RootMove& b) { return a.nodes > b.nodes; });
}

void Worker::searchRoot(int depth, std::size_t lineCount) {
    selDepth_ = 0;
    // The last depth's score, where there is one and it is no mate, guesses this depth's.
    const bool guessed = !lines_.empty() && std::abs(lines_.front().score) < kMateBound;
    const int guess = guessed ? lines_.front().score : 0;
    lines_.clear();
    const std::size_t count = std::min(lineCount, roots_.size());
    for (std::size_t first = 0; first < count; ++first) {
        if (first == 0 && guessed && depth >= kAspirationDepth)
            aspirationSearch(depth, guess);
        else
            searchLine(depth, first, -kInfinity, kInfinity);
        if (stopped_ && !(first == 0 && lineFound_))
            break;
        lines_.push_back(*lineFound_);
        if (stopped_)
            break;
    }
    // Lines by score, best first, and the root moves in the same order.
    std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.score > b.score; });
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto root = std::find_if(roots_.begin() + static_cast<std::ptrdiff_t>(i), roots_.end(),
                                       [&](const RootMove& r) { return r.move == lines_[i].pv.front(); });
        std::rotate(roots_.begin() + static_cast<std::ptrdiff_t>(i), root, root + 1);
    }
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
}

void Worker::aspirationSearch(int depth, int guess) {
    int delta = kAspirationWindow;
    int alpha = std::max(guess - delta, -kInfinity);
    int beta = std::min(guess + delta, kInfinity);
    for (;;) {
        const int score = searchLine(depth, 0, alpha, beta);
        if (stopped_)
            return;
        if (score <= alpha) {
            beta = (alpha + beta) / 2;
            alpha = std::max(score - delta, -kInfinity);
        } else if (score >= beta) {
            beta = std::min(score + delta, kInfinity);
        } else {
            return;
        }
        delta += delta / 2;
    }
}

int Worker::searchLine(int depth, std::size_t first, int alpha, int beta) {
    int best = -kInfinity;
    std::optional<std::size_t> bestIndex;
    lineFound_.reset();
    pvLength_[0] = 0;
    for (std::size_t i = first; i < roots_.size(); ++i) {
        RootMove& root = roots_[i];
        const std::uint64_t before = nodes_;
        movedPieceSquares_[0] = pieceSquareOf(position_, root.move);
        position_.make(root.move);
        int score = 0;
        if (i == first) {
            score = -negamax(depth - 1, -beta, -alpha, 1, true);
        } else {
            score = -negamax(depth - 1, -alpha - 1, -alpha, 1, true);
            if (score > alpha && score < beta && !stopped_)
                score = -negamax(depth - 1, -beta, -alpha, 1, true);
        }
        position_.undo();
        if (stopped_)
            break;
        root.nodes = nodes_ - before;
        best = std::max(best, score);
        // At or below alpha a later move's score is only a bound, which tells nothing against
        // the first move's: the first stays the line until a move beats alpha.
        if (i == first || score > alpha) {
            alpha = std::max(alpha, score);
            bestIndex = i;
            updatePv(0, root.move);
            lineFound_ = Line{score, std::vector<Move>(pv_[0].begin(), pv_[0].begin() + pvLength_[0])};
        }
        if (score >= beta)
            break;
    }
    if (bestIndex) {
        const auto at = roots_.begin() + static_cast<std::ptrdiff_t>(*bestIndex);
        std::rotate(roots_.begin() + static_cast<std::ptrdiff_t>(first), at, at + 1);
    }
    return best;
}

bool Worker::updateBest(int score, Move move, int ply, int beta, int& best, int& alpha, Move& bestMove) {
    if (score <= best)
        return false;
    best = score;
    if (score <= alpha)
        return false;
    alpha = score;
    bestMove = move;
    updatePv(ply, move);
    return alpha >= beta;
}

void Worker::updatePv(int ply, Move move) {
    const auto p = static_cast<std::size_t>(ply);
    pv_[p][0] = move;
    const int childLength = pvLength_[p + 1];
    std::copy(pv_[p + 1].begin(), pv_[p + 1].begin() + childLength, pv_[p].begin() + 1);
    pvLength_[p] = childLength + 1;
}

bool Worker::isDrawn(int ply) {
    if (ply == 0)
        return false;
    if (position_.isRepetition())
        return true;
    // A mate on the hundredth half move still counts.
    if (position_.isFiftyMoveDraw() && !(position_.inCheck() && position_.legalMoves().empty()))
        return true;
    return position_.lacksMatingMaterial();
}

PriorMoves Worker::priorMoves(int ply) const {
    const auto at = [this](int before) {
        return before >= 0 ? movedPieceSquares_[static_cast<std::size_t>(before)] : kNoPieceSquare;
    };
    return PriorMoves{at(ply - 1), at(ply - 2)};
}

MovePicker Worker::picker(bool noisyOnly, Move tableMove, int ply) const {
    const PriorMoves prior = priorMoves(ply);
    return MovePicker(position_, noisyOnly, tableMove, killers_.at(ply), history_.counterMove(prior), history_, prior);
}

void Worker::rewardQuiet(Move move, int depth, int ply, const Move* tried, std::size_t triedCount) {
    killers_.add(ply, move);
    history_.rewardQuiet(position_, move, depth, priorMoves(ply), tried, triedCount);
}

bool Worker::prunedByCountOrExchange(Move move, bool noisy, int depth, int lmrDepth, bool improving, std::size_t quietCount,
                         bool losing) const {
    if (depth > kPruningDepth)
        return false;
    if (noisy)
        return losing && position_.exchangeGain(move) < -kSeeNoisyMargin * depth * depth;
    const auto enough = static_cast<std::size_t>((kLateMoveBase + depth * depth) / (improving ? 1 : 2));
    return quietCount >= enough || position_.exchangeGain(move) < -kSeeQuietMargin * std::max(lmrDepth, 1);
}

int Worker::negamax(int depth, int alpha, int beta, int ply, bool allowNull) {
    const bool pvNode = beta - alpha > 1;
    pvLength_[static_cast<std::size_t>(ply)] = 0;
    if (poll())
        return 0;
    if (isDrawn(ply))
        return 0;
    if (ply >= kMaxPly - 1)
        return evaluate(position_);
    // No line from here can be better than a mate at once, or worse than being mated now.
    alpha = std::max(alpha, -kMate + ply);
    beta = std::min(beta, kMate - ply - 1);
    if (alpha >= beta)
        return alpha;

    const bool inCheck = position_.inCheck();
    if (inCheck)
        ++depth;
    if (depth <= 0)
        return quiesce(alpha, beta, ply);
    selDepth_ = std::max(selDepth_, ply);

    // A search that leaves out one move (to see whether it is singular) must not take a result
    // of the whole node from the table, nor leave its own there.
    const Move excluded = excluded_[static_cast<std::size_t>(ply)];
    Move tableMove = kNoMove;
    const auto entry = shared_.table.probe(position_.key(), ply);
    if (entry) {
        tableMove = entry->move;
        if (!pvNode && excluded == kNoMove && entry->depth >= depth && tableScoreDecides(*entry, alpha, beta))
            return entry->score;
    }

    const int rawEval = inCheck ? -kInfinity : (entry ? entry->eval : evaluate(position_));
    const int staticEval = inCheck ? -kInfinity : history_.correctedEval(position_, rawEval);
    staticEvals_[static_cast<std::size_t>(ply)] = staticEval;
    const bool improving = !inCheck && ply >= 2 && staticEval > staticEvals_[static_cast<std::size_t>(ply - 2)];
    const chess::Colour us = position_.sideToMove();

    if (!pvNode && !inCheck && excluded == kNoMove && std::abs(beta) < kMateBound) {
        // Far enough above beta that a shallow search would not come back below it.
        if (depth <= kStaticCutDepth && staticEval - kStaticCutMargin * depth >= beta)
            return staticEval;
        // So far below alpha that only a capture could help: if the quiescence search finds
        // none that does, the node fails low.
        if (depth <= kRazorDepth && staticEval + kRazorMargin * depth <= alpha) {
            const int score = quiesce(alpha, alpha + 1, ply);
            if (stopped_)
                return 0;
            if (score <= alpha)
                return score;
        }
        // The table's score, where its bound points the right way, is a better guess than the
        // static evaluation of whether the node holds beta.
        int eval = staticEval;
        if (entry && std::abs(entry->score) < kMateBound &&
            (entry->bound == bdEXACT || entry->bound == (entry->score > staticEval ? bdLOWER : bdUPPER)))
            eval = entry->score;
        // Passing is rarely the best move: if even that holds beta, a real move will too. Not
        // with pawns alone, where being obliged to move can lose (zugzwang).
        if (allowNull && depth >= kNullMinDepth && eval >= beta && position_.hasPieces(us)) {
            const int reduction =
                kNullBase + depth / kNullDepthDivisor + std::min((eval - beta) / kNullEvalDivisor, kNullEvalMostPlies);
            movedPieceSquares_[static_cast<std::size_t>(ply)] = kNoPieceSquare;
            position_.makeNull();
            const int score = -negamax(depth - 1 - reduction, -beta, -beta + 1, ply + 1, false);
            position_.undoNull();
            if (stopped_)
                return 0;
            if (score >= beta)
                return score >= kMateBound ? beta : score;
        }
    }
    // Without a move from an earlier visit, a deep search here is likely a waste: go shallower.
    if (tableMove == kNoMove && depth >= kNoTableMoveDepth)
        --depth;
    // The table's move searched a ply deeper when every other move falls clearly short of its
    // score (it is singular); when even without it the node holds beta, it is cut off.
    int singularExtension = 0;
    if (entry && ply > 0 && depth >= kSingularDepth && excluded == kNoMove && tableMove != kNoMove &&
        entry->depth >= depth - kSingularEntryLag && entry->bound != bdUPPER && std::abs(entry->score) < kMateBound) {
        const int singularBeta = entry->score - kSingularMargin * depth;
        excluded_[static_cast<std::size_t>(ply)] = tableMove;
        const int score = negamax((depth - 1) / 2, singularBeta - 1, singularBeta, ply, false);
        excluded_[static_cast<std::size_t>(ply)] = kNoMove;
        if (stopped_)
            return 0;
        if (score < singularBeta)
            singularExtension = 1;
        else if (singularBeta >= beta)
            return singularBeta;
    }

    MovePicker moves = picker(false, tableMove, ply);

    const int originalAlpha = alpha;
    int best = -kInfinity;
    Move bestMove = kNoMove;
    int legal = 0;
    std::array<Move, 64> quietsTried{};
    std::size_t quietCount = 0;
    for (Move move; moves.next(move);) {
        if (move == excluded)
            continue;
        const bool noisy = position_.isNoisy(move);
        const int historyScore = noisy ? 0 : history_.quietScore(position_, move, priorMoves(ply));
        // The depth a late quiet move would be searched to after its reduction.
        const int lmrDepth =
            std::max(0, depth - 1 - kReductions[static_cast<std::size_t>(std::min(depth, 63))]
                                               [static_cast<std::size_t>(std::min(legal + 1, 63))]);
        if (!pvNode && !inCheck && legal > 0 && best > -kMateBound &&
            prunedByCountOrExchange(move, noisy, depth, lmrDepth, improving, quietCount,
                                    moves.stage() == MovePicker::psBAD_NOISY))
            continue;
        movedPieceSquares_[static_cast<std::size_t>(ply)] = pieceSquareOf(position_, move);
        if (!position_.make(move))
            continue;
        ++legal;
        const bool givesCheck = position_.inCheck();
        const bool quietLate = !noisy && !inCheck && !givesCheck && legal > 1;
        // A late quiet move that even a good positional gain would not lift to alpha.
        if (quietLate && !pvNode && best > -kMateBound && lmrDepth <= kFutilityDepth &&
            staticEval + kFutilityBase + kFutilityMargin * lmrDepth <= alpha) {
            position_.undo();
            continue;
        }
        const int newDepth = depth - 1 + (move == tableMove ? singularExtension : 0);
        int score = 0;
        if (legal == 1) {
            score = -negamax(newDepth, -beta, -alpha, ply + 1, true);
        } else {
            int reduction = 0;
            const auto& killers = killers_.at(ply);
            if (depth >= kLmrMinDepth && quietLate && move != killers[0] && move != killers[1]) {
                reduction = kReductions[static_cast<std::size_t>(std::min(depth, 63))]
                                       [static_cast<std::size_t>(std::min(legal, 63))];
                if (pvNode)
                    --reduction;
                if (!improving)
                    ++reduction;
                reduction -= historyScore / kLmrHistoryDivisor;
                reduction = std::clamp(reduction, 0, newDepth - 1);
            }
            score = -negamax(newDepth - reduction, -alpha - 1, -alpha, ply + 1, true);
            if (score > alpha && reduction > 0 && !stopped_)
                score = -negamax(newDepth, -alpha - 1, -alpha, ply + 1, true);
            if (score > alpha && score < beta && !stopped_)
                score = -negamax(newDepth, -beta, -alpha, ply + 1, true);
        }
        position_.undo();
        if (stopped_)
            return 0;
        if (updateBest(score, move, ply, beta, best, alpha, bestMove)) {
            if (!noisy)
                rewardQuiet(move, depth, ply, quietsTried.data(), quietCount);
            break;
        }
        if (!noisy && quietCount < quietsTried.size())
            quietsTried[quietCount++] = move;
    }
    if (legal == 0)
        return excluded != kNoMove ? alpha : (inCheck ? -kMate + ply : 0);
    if (excluded == kNoMove) {
        const Bound bound = resultBound(best, originalAlpha, beta);
        shared_.table.store(position_.key(), ply, bestMove, best, rawEval, depth, bound);
        // What the search found and the evaluation missed corrects the evaluation of these
        // pawns; not when a capture decided the node, nor when the bound still lets the
        // evaluation be right.
        if (!inCheck && (bestMove == kNoMove || !position_.isNoisy(bestMove)) &&
            !(bound == bdLOWER && best <= staticEval) && !(bound == bdUPPER && best >= staticEval) &&
            std::abs(best) < kMateBound)
            history_.learnCorrection(position_, rawEval, best, depth);
    }
    return best;
}

int Worker::quiesce(int alpha, int beta, int ply) {
    pvLength_[static_cast<std::size_t>(ply)] = 0;
    if (poll())
        return 0;
    selDepth_ = std::max(selDepth_, ply);
    if (ply >= kMaxPly - 1)
        return evaluate(position_);
    const bool pvNode = beta - alpha > 1;
    Move tableMove = kNoMove;
    const auto entry = shared_.table.probe(position_.key(), ply);
    if (entry) {
        tableMove = entry->move;
        if (!pvNode && tableScoreDecides(*entry, alpha, beta))
            return entry->score;
    }

    // In check every evasion is searched and standing still is no option; otherwise the side
    // to move may stand on the evaluation and look at captures and promotions only.
    const bool inCheck = position_.inCheck();
    const int originalAlpha = alpha;
    int best = -kInfinity;
    int rawEval = -kInfinity;
    int standPat = 0;
    if (!inCheck) {
        rawEval = entry ? entry->eval : evaluate(position_);
        standPat = history_.correctedEval(position_, rawEval);
        if (standPat >= beta)
            return standPat;
        alpha = std::max(alpha, standPat);
        best = standPat;
    }
    MovePicker moves = picker(!inCheck, tableMove, ply);
    Move bestMove = kNoMove;
    int legal = 0;
    for (Move move; moves.next(move);) {
        if (!inCheck && move.promotion == 0) {
            // Captures that lose material, or cannot lift the score near alpha even when won
            // free, are not worth a look.
            const int victim = std::max(1, std::abs(position_.pieceAt(move.to)));
            if (standPat + exchangeValue(victim) + kDeltaMargin <= alpha || moves.stage() == MovePicker::psBAD_NOISY)
                continue;
        }
        if (!position_.make(move))
            continue;
        ++legal;
        const int score = -quiesce(-beta, -alpha, ply + 1);
        position_.undo();
        if (stopped_)
            return 0;
        if (updateBest(score, move, ply, beta, best, alpha, bestMove))
            break;
    }
    if (inCheck && legal == 0)
        return -kMate + ply;
    shared_.table.store(position_.key(), ply, bestMove, best, rawEval, 0,
                        resultBound(best, originalAlpha, beta));
    return best;
}

// The root moves: the legal ones, or those among them the caller names.
std::vector<Move> rootMovesOf(const Position& position, const std::vector<Move>& only) {
    std::vector<Move> legal = position.legalMoves();
    if (only.empty())
        return legal;
    std::vector<Move> chosen;
    for (const Move move : legal)
        if (std::find(only.begin(), only.end(), move) != only.end())
            chosen.push_back(move);
    return chosen.empty() ? legal : chosen;
}

}  // namespace

Searcher::Searcher(std::size_t hashMegabytes) : table_(std::make_unique<TranspositionTable>(hashMegabytes)) {}

Searcher::~Searcher() = default;

void Searcher::resizeHash(std::size_t megabytes) { table_->resize(megabytes); }

void Searcher::clearHash() { table_->clear(); }

void Searcher::setThreads(std::size_t count) { threads_ = std::max<std::size_t>(1, count); }

std::optional<Move> Searcher::search(const Position& position, const Limits& limits, const std::atomic<bool>& stop,
                                     const std::function<bool(const Stability&)>& mayDeepen,
                                     const std::function<void(const Report&)>& report) {
    const Clock::time_point start = Clock::now();
    const std::vector<Move> roots = rootMovesOf(position, limits.searchMoves);
    if (roots.empty())
        return std::nullopt;
    table_->nextGeneration();
    SharedSearch shared(stop, *table_, limits.nodes ? std::max<std::uint64_t>(1, *limits.nodes / threads_) : 0);
    const int maxDepth = limits.depth > 0 ? std::min(limits.depth, kMaxDepth) : kMaxDepth;

    const std::size_t lineCount = static_cast<std::size_t>(std::clamp(limits.multiPv, 1, kMaxMultiPv));
    // Helpers search the same depths on the shared table, every other one a depth ahead, so
    // that their results are ready in the table when the main thread comes by; a depth a
    // helper finishes first is taken over by the main thread, unless it is to report several
    // lines, which the helpers do not search.
    std::vector<std::unique_ptr<Worker>> helpers;
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < threads_; ++i) {
        helpers.push_back(std::make_unique<Worker>(position, roots, shared));
        threads.emplace_back([helper = helpers.back().get(), offset = static_cast<int>(i % 2), maxDepth, lineCount, &shared] {
            for (int depth = 1 + offset; depth <= maxDepth && !helper->stopped(); ++depth) {
                helper->searchRoot(depth, 1);
                if (helper->stopped())
                    break;
                if (auto result = helper->result(depth); result && lineCount == 1)
                    shared.offer(std::move(*result));
                helper->sortRoots();
            }
        });
    }

    // On the heap: its tables are too large for a small thread stack.
    const auto mainWorker = std::make_unique<Worker>(position, roots, shared);
    Worker& main = *mainWorker;
    std::optional<Move> best;
    const auto elapsed = [&] { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start); };
    const auto send = [&](const DepthResult& result) {
        Report line;
        line.depth = result.depth;
        line.selDepth = result.selDepth;
        line.nodes = main.nodes();
        for (const auto& helper : helpers)
            line.nodes += helper->nodes();
        line.time = elapsed();
        line.hashfull = table_->hashfull();
        for (std::size_t i = 0; i < result.lines.size(); ++i) {
            line.multiPv = static_cast<int>(i + 1);
            line.score = reportedScore(result.lines[i].score);
            line.pv = result.lines[i].pv;
            report(line);
        }
    };
    Stability stability;
    std::optional<int> lastScore;
    for (int depth = 1; depth <= maxDepth; ++depth) {
        main.searchRoot(depth, lineCount);
        // A depth the main thread could not finish is worth less than the same depth finished.
        std::optional<DepthResult> result = shared.deeperThan(main.stopped() ? depth - 1 : depth);
        if (!result)
            result = main.result(depth);
        if (result) {
            const Line& first = result->lines.front();
            stability.stableDepths = best == first.pv.front() ? stability.stableDepths + 1 : 0;
            stability.scoreDrop = lastScore ? dropOf(*lastScore, first.score) : 0;
            lastScore = first.score;
            best = first.pv.front();
            depth = result->depth;
            send(*result);
        }
        if (main.stopped())
            break;
        main.sortRoots();
        const bool mateFound =
            limits.mate && result && result->lines.front().score >= kMateBound &&
            reportedScore(result->lines.front().score).value <= *limits.mate;
        stability.nextDepth = depth + 1;
        if (mateFound || depth >= maxDepth || !mayDeepen(stability))
            break;
    }
    shared.stop.store(true);
    for (std::thread& thread : threads)
        thread.join();
    return best ? best : main.firstRootMove();
}

}  // namespace vek::engine
