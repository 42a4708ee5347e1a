#include "engine/search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "engine/evaluation.h"
#include "engine/exchange_value.h"
#include "engine/history.h"
#include "engine/move_picker.h"
#include "engine/search_constants.h"
#include "engine/thread.h"
#include "engine/transposition.h"
#include "engine/worker.h"

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

// A score as reports give it: centipawns, or the moves to a mate.
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

Worker::Worker(const Position& position, const std::vector<Move>& rootMoves, SharedSearch& shared,
               History& history, const WorkerEvents* events)
    : position_(position), shared_(shared), events_(events), history_(history) {
    if (shared.network) {
        accumulators_ = std::make_unique<AccumulatorStack>(*shared.network);
        accumulators_->reset(position_);
    }
    for (const Move move : rootMoves)
        roots_.push_back(RootMove{move, 0});
    // The root's own, so that "improving" at ply 2 compares with it.
    staticEvals_[0] = position_.inCheck() ? -kInfinity : evaluateHere();
}

// A network's score is kept off the mate scores, whatever its weights.
int Worker::evaluateHere() {
    if (!accumulators_)
        return evaluate(position_);
    return std::clamp(accumulators_->evaluate(position_), -kMateBound + 1, kMateBound - 1);
}

bool Worker::make(Move move) {
    if (!position_.make(move))
        return false;
    if (accumulators_)
        accumulators_->push(position_.lastChanges());
    return true;
}

void Worker::undo() {
    position_.undo();
    if (accumulators_)
        accumulators_->pop();
}

void Worker::makeNull() {
    position_.makeNull();
    if (accumulators_)
        accumulators_->push(FigureChanges{});
}

void Worker::undoNull() {
    position_.undoNull();
    if (accumulators_)
        accumulators_->pop();
}

std::optional<DepthResult> Worker::result(int depth) const {
    if (lines_.empty())
        return std::nullopt;
    return DepthResult{depth, std::max(selDepth_, depth), lines_};
}

bool Worker::poll() {
    ++nodes_;
    if (shared_.nodeBudget != 0 && nodes_ >= shared_.nodeBudget && rootDepth_ >= shared_.budgetFromDepth)
        stopped_ = true;
    if (nodes_ % kPollInterval == 0) {
        publishedNodes_.store(nodes_, std::memory_order_relaxed);
        if (shared_.stop.load(std::memory_order_relaxed) || shared_.callerStop.load(std::memory_order_relaxed))
            stopped_ = true;
        if (events_ && events_->polled)
            events_->polled();
    }
    return stopped_;
}

void Worker::sortRoots() {
    const std::size_t kept = std::max<std::size_t>(1, lines_.size());
    std::stable_sort(roots_.begin() + static_cast<std::ptrdiff_t>(std::min(kept, roots_.size())), roots_.end(),
                     [](const RootMove& a, const RootMove& b) { return a.nodes > b.nodes; });
}

void Worker::searchRoot(int depth, std::size_t lineCount) {
    rootDepth_ = depth;
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
        if (stopped_) {
            // The moves not searched may be better: the best so far is only a lower bound.
            if (first == 0 && lineFound_ && lineFound_->bound != bdUPPER) {
                lines_.push_back(*lineFound_);
                lines_.back().bound = bdLOWER;
            }
            break;
        }
        lines_.push_back(*lineFound_);
    }
    // Lines by score, best first, and the root moves in the same order.
    std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.score > b.score; });
    putLinesFirst();
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
}

void Worker::putLinesFirst() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto root = std::find_if(roots_.begin() + static_cast<std::ptrdiff_t>(i), roots_.end(),
                                       [&](const RootMove& r) { return r.move == lines_[i].pv.front(); });
        if (root != roots_.end())
            std::rotate(roots_.begin() + static_cast<std::ptrdiff_t>(i), root, root + 1);
    }
}

void Worker::adopt(const DepthResult& result) {
    lines_ = result.lines;
    putLinesFirst();
}

void Worker::aspirationSearch(int depth, int guess) {
    int delta = kAspirationWindow;
    int alpha = std::max(guess - delta, -kInfinity);
    int beta = std::min(guess + delta, kInfinity);
    // A move that rose above the window is at least that good: stopped before its search
    // again says more, it stands as the line.
    std::optional<Line> failedHigh;
    for (;;) {
        const int score = searchLine(depth, 0, alpha, beta);
        if (stopped_) {
            if (!lineFound_)
                lineFound_ = failedHigh;
            return;
        }
        if (score > alpha && score < beta)
            return;
        if (events_ && events_->windowFailed)
            events_->windowFailed(depth, *lineFound_);
        if (score <= alpha) {
            beta = (alpha + beta) / 2;
            alpha = std::max(score - delta, -kInfinity);
        } else {
            failedHigh = lineFound_;
            beta = std::min(score + delta, kInfinity);
        }
        delta += delta / 2;
    }
}

int Worker::searchLine(int depth, std::size_t first, int alpha, int beta) {
    const int windowAlpha = alpha;
    int best = -kInfinity;
    std::optional<std::size_t> bestIndex;
    lineFound_.reset();
    pvLength_[0] = 0;
    for (std::size_t i = first; i < roots_.size(); ++i) {
        RootMove& root = roots_[i];
        const std::uint64_t before = nodes_;
        if (events_ && events_->rootMoveBegun)
            events_->rootMoveBegun(depth, root.move, static_cast<int>(i + 1));
        movedPieceSquares_[0] = pieceSquareOf(position_, root.move);
        make(root.move);
        int score = 0;
        if (i == first) {
            score = -negamax(depth - 1, -beta, -alpha, 1, true);
        } else {
            score = -negamax(depth - 1, -alpha - 1, -alpha, 1, true);
            if (score > alpha && score < beta && !stopped_)
                score = -negamax(depth - 1, -beta, -alpha, 1, true);
        }
        undo();
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
            const Bound bound = score >= beta ? bdLOWER : (score <= windowAlpha ? bdUPPER : bdEXACT);
            lineFound_ = Line{score, bound, std::vector<Move>(pv_[0].begin(), pv_[0].begin() + pvLength_[0])};
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
        return evaluateHere();
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

    const int rawEval = inCheck ? -kInfinity : (entry ? entry->eval : evaluateHere());
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
            makeNull();
            const int score = -negamax(depth - 1 - reduction, -beta, -beta + 1, ply + 1, false);
            undoNull();
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
        if (!make(move))
            continue;
        ++legal;
        const bool givesCheck = position_.inCheck();
        const bool quietLate = !noisy && !inCheck && !givesCheck && legal > 1;
        // A late quiet move that even a good positional gain would not lift to alpha.
        if (quietLate && !pvNode && best > -kMateBound && lmrDepth <= kFutilityDepth &&
            staticEval + kFutilityBase + kFutilityMargin * lmrDepth <= alpha) {
            undo();
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
        undo();
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
        return evaluateHere();
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
        rawEval = entry ? entry->eval : evaluateHere();
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
        if (!make(move))
            continue;
        ++legal;
        const int score = -quiesce(-beta, -alpha, ply + 1);
        undo();
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

Searcher::Searcher(std::size_t hashMegabytes) : table_(std::make_unique<TranspositionTable>(hashMegabytes)) {
    setThreads(1);
}

Searcher::~Searcher() = default;

void Searcher::resizeHash(std::size_t megabytes) {
    table_->resize(megabytes);
    clearHistories();
}

void Searcher::clearHash() {
    table_->clear();
    clearHistories();
}

void Searcher::setNetwork(std::shared_ptr<const Network> network) {
    if (network == network_)
        return;
    network_ = std::move(network);
    clearHash();
}

void Searcher::clearHistories() {
    for (const auto& history : histories_)
        history->clear();
}

void Searcher::setThreads(std::size_t count) {
    // A thread added starts with an empty history; one taken away takes its history along.
    histories_.resize(std::max<std::size_t>(1, count));
    for (auto& history : histories_)
        if (!history)
            history = std::make_unique<History>();
}

std::optional<Move> Searcher::search(const Position& position, const Limits& limits, const std::atomic<bool>& stop,
                                     const std::function<bool(const Stability&)>& mayDeepen,
                                     const std::function<void(const Report&)>& report,
                                     const std::function<void(const Progress&)>& progress) {
    const Clock::time_point start = Clock::now();
    const std::vector<Move> roots = rootMovesOf(position, limits.searchMoves);
    if (roots.empty())
        return std::nullopt;
    table_->nextGeneration();
    SharedSearch shared(stop, *table_, limits.nodes ? std::max<std::uint64_t>(1, *limits.nodes / histories_.size()) : 0,
                        limits.wholeFirstDepth);
    shared.network = network_.get();
    const int maxDepth = limits.depth > 0 ? std::min(limits.depth, kMaxDepth) : kMaxDepth;

    const std::size_t lineCount = static_cast<std::size_t>(std::clamp(limits.multiPv, 1, kMaxMultiPv));
    std::vector<History*> helperHistories;
    for (std::size_t i = 1; i < histories_.size(); ++i)
        helperHistories.push_back(histories_[i].get());
    HelperThreads helpers(helperHistories, position, roots, shared, maxDepth, lineCount == 1);
    WorkerEvents events;  // what the main worker tells, set below
    // On the heap: its tables are too large for a small thread stack.
    const auto mainWorker = std::make_unique<Worker>(position, roots, shared, *histories_.front(), &events);
    Worker& main = *mainWorker;
    Clock::time_point lastCounts = start;  // of the last line with the counts
    const auto elapsed = [&] { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start); };
    const auto counted = [&](auto& line) {
        line.nodes = main.nodes() + helpers.nodes();
        line.time = elapsed();
        line.hashfull = table_->hashfull();
        lastCounts = Clock::now();
    };
    const auto send = [&](const DepthResult& result) {
        Report line;
        line.depth = result.depth;
        line.selDepth = result.selDepth;
        counted(line);
        for (std::size_t i = 0; i < result.lines.size(); ++i) {
            line.multiPv = static_cast<int>(i + 1);
            line.score = reportedScore(result.lines[i].score);
            line.bound = result.lines[i].bound;
            line.pv = result.lines[i].pv;
            report(line);
        }
    };
    events.polled = [&] {
        if (progress && Clock::now() - lastCounts >= kProgressInterval) {
            Progress counts;
            counted(counts);
            progress(counts);
        }
    };
    events.rootMoveBegun = [&](int depth, Move move, int number) {
        if (progress && elapsed() >= kCurrentMoveAfter)
            progress(Progress{.depth = depth, .currentMove = move, .currentMoveNumber = number});
    };
    events.windowFailed = [&](int depth, const Line& line) {
        if (progress && elapsed() >= kCurrentMoveAfter)
            send(DepthResult{depth, depth, {line}});
    };
    std::optional<Move> best;
    Stability stability;
    std::optional<int> lastScore;
    for (int depth = 1; depth <= maxDepth; ++depth) {
        main.searchRoot(depth, lineCount);
        std::optional<DepthResult> result = helpers.worthTakingOver(depth, !main.stopped());
        if (result)
            main.adopt(*result);
        else
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
    return best ? best : main.firstRootMove();
}

}  // namespace vek::engine
