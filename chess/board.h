#pragma once
// The position of one game: the figures on the 64 squares, the two kings, the game state, the
// side to move, the move history and the two players' clocks. The Board owns every figure it
// created until it is cleared, captured and promoted-away figures included, so that moves can
// be taken back; the figures that a root search's trial promotions create are released when
// that search returns.
//
// After every change of position the whole board is refreshed: each figure's pin and lists of
// targets and covered squares are recomputed, then check, mate and stalemate are decided.
// Attack, check and legality questions are answered from those stored lists.

#include <array>
#include <atomic>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "chess/clock.h"
#include "chess/figure.h"
#include "chess/king.h"
#include "chess/move_list.h"
#include "chess/search_state.h"
#include "chess/types.h"
#include "foundation/array.h"
#include "foundation/string.h"

namespace vek::chess {

class SearchContext;

class Board {
public:
    // An empty board in state NO_GAME; the clocks read `ticks`.
    explicit Board(TickSource ticks = systemTick);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // ---- Figures and position

    // Deletes every figure, empties the history, resets kings, state and clocks.
    void clear();
    // Creates a figure, puts it on `square` and appends it to figures(); none for a kind
    // outside 1 to 6 or a square off the board. The kings are not set here: newGame and
    // loadPosition do that.
    Figure* createFigure(Colour colour, FigureKind kind, Square square, bool moved);

    // The figure on s, or none (also for {0, 0}).
    Figure* figureAt(Square s) const { return isOnBoard(s) ? squares_[squareIndex(s)] : nullptr; }
    // The figure on the square of that index (below 64), or none.
    Figure* figureAtIndex(std::size_t index) const {
        assert(index < squares_.size());
        return squares_[index];
    }
    // The occupied squares as bits by squareIndex.
    std::uint64_t occupancy() const { return occupied_; }
    // Every figure created since the last clear, in creation order.
    const vek::Array<Figure*>& figures() const { return figures_; }
    King* whiteKing() const { return whiteKing_; }
    King* blackKing() const { return blackKing_; }
    King* kingOf(Colour colour) const { return colour == WHITE ? whiteKing_ : blackKing_; }
    GameState state() const { return state_; }
    Colour sideToMove() const { return sideToMove_; }
    // The moves played (during a search also the trial moves made so far), oldest first.
    const vek::Array<Move>& history() const { return history_; }
    const PlayerClock& whiteClock() const { return whiteClock_; }
    const PlayerClock& blackClock() const { return blackClock_; }
    // The current tick of the clocks' time source.
    std::int32_t tick() const { return ticks_(); }

    // ---- Refresh and legality

    // Recomputes every figure's pin and lists (by square index, then the white king, then the
    // black king; each figure sees the lists of the others as they stand at that moment) and,
    // in a running game, decides check, mate and stalemate.
    void refresh();
    // Whether the player may not make this move: outside a running game, with a figure not of
    // the side to move, with a wrong promotion kind, to a square that is not a target, or when
    // a figure giving check now would still give it.
    bool isMoveRejected(const Figure* figure, Square from, Square to, int promotionKind) const;

    // ---- Candidate moves (read the lists of the last refresh, change nothing)

    // Every move of the side to move: by square index, each figure's targets in order.
    MoveList listAllMoves() const;
    // The answers to a check: captures of a single checker, blocks of its line, then king moves;
    // checkerCount receives the number of checks on the king of the side to move.
    MoveList listEvasions(std::size_t& checkerCount) const;
    // Whether the side to move has a move at all; allocates nothing.
    bool hasLegalMove() const;

    // ---- Playing

    // The initial position, White to move with White's clock running.
    void newGame();
    // The pawn that `figure`, moving from `from` to `to`, takes en passant, or none.
    Figure* enPassantVictim(const Figure* figure, Square from, Square to) const;
    // Game moves: move the figures, append the history entry, hand over the turn and the
    // running clock, refresh, and record the state in the entry. playMove hands promotions and
    // castlings (by promotionKind and castlingRook) to the other two. A promotion to a kind
    // other than knight, bishop, rook or queen plays nothing.
    void playMove(Move move);
    void playPromotion(Figure* pawn, Square from, FigureKind kind, Square to);
    void playCastling(Figure* king, Square kingTarget, Figure* rook, Square rookTarget);

    // The search's make and take-back: no side switch, no moved flags, no refresh. applyMove
    // records in `move` what it takes and the figure a promotion creates (reused when the same
    // Move is applied again; within a root search, a figure of that colour and kind that an
    // earlier trial promotion left is renewed instead); takeBack wants that same Move and
    // leaves the state RUNNING.
    void applyMove(Move& move);
    void takeBack(Move move);

    // The status line for the game state, in the OEM code page.
    vek::STRING statusText() const;

    // ---- Engine

    // The score of the position from White's side: a fixed score for a finished game (or a king
    // left attacked by its own side), else material, mobility and attacked material of White
    // minus Black's, as the last refresh weighed the figures' lists. Changes nothing.
    std::int32_t evaluate() const;
    // The engine's choice for the side to move: every candidate searched `depth` plies deep
    // with plain minimax (at most MAX_SEARCH_DEPTH), one of the best drawn at random (all
    // candidates for depth <= 0); the empty move when there is none. At the root,
    // candidateCount receives the number of best moves and the board is refreshed (or, when
    // mated, given to the winner); below it, the state is put back. Trial moves are always
    // taken back, also when an exception leaves.
    // A stop request of the calling thread ends the deepening: the remaining moves keep their
    // evaluation. At the root (depth 2 or more) the candidates are shared out over
    // searchThreads() workers, each on its own copy of the board, with the very scores and
    // lists that one thread would give; the chosen move names no promoted figure (the root
    // search releases the figures its trial promotions created).
    Move findBestMove(std::int32_t depth, std::int32_t& candidateCount, bool isRoot);
    // Plays each move of `list` (moves of the side to move) as a trial move and writes its
    // score (searched at most MAX_SEARCH_DEPTH deep); returns the best of them for that side
    // (the highest for White, the lowest for Black).
    std::int32_t scoreMoves(MoveList& list, std::int32_t depth);
    // The root search's scoring of its candidates `list` (moves of the side to move), with the
    // scores, the lists left on the board and the trial moves that scoreMoves gives, shared
    // out over searchThreads() workers from depth 2 on. Releases the figures that its trial
    // promotions created (the entries name none afterwards).
    std::int32_t scoreRootMoves(MoveList& list, std::int32_t depth);
    // The trial moves that searches on this board have made since it was constructed (those
    // of its workers included).
    std::uint64_t trialMoveCount() const { return trialMoves_; }
    // The root moves that a worker scored from lists other than those one thread would have
    // left before them, and that were therefore scored again (their trial moves not counted).
    std::uint64_t rescoredRootMoves() const { return rescoredRootMoves_; }
    // A counter that root searches on this board raise as they begin to score each root move
    // (a move scored again counts again), so that another thread can show their progress;
    // none: nothing counted. The workers' copies count into the same one.
    void setRootProgress(std::atomic<std::uint32_t>* counter) { rootProgress_ = counter; }
    // The workers a root search may use (at most one per root candidate); 0 stands for one per
    // core, the default. Not safe while a search runs on this board.
    void setSearchThreads(std::size_t threads) { searchThreads_ = threads; }
    std::size_t searchThreads() const;

    // ---- Copies for the search's workers

    // Makes this board an exact copy of `source`: every figure (captured ones too) with its
    // square, moved flag, lists and pin, and the squares, kings, state, side, history and
    // clocks. The kings' castling offers are left to the next refresh, which rewrites them
    // before anything reads them. Throws AllocError, leaving this board to be cleared. Only
    // reads `source`, which no thread may change meanwhile.
    void copyFrom(const Board& source);
    // What the next refresh reads besides the position: the figures' lists, pins and moved
    // flags, the squares changed since the last refresh, the state and the side to move.
    // Figures created by the running root search's trial promotions are left out: each use
    // renews them.
    SearchState searchState() const;

    // ---- Position text

    // The 64 square letters from a1 to h8 (space for empty, upper case White, lower case Black).
    vek::STRING positionText() const;
    // Replaces the board by the position of a text of 64 square letters and the side letter
    // ("W" White, anything else or none Black), and refreshes. A text shorter than 64
    // characters or without a king of each colour is refused: the board stays cleared and the
    // result is false.
    bool loadPosition(const vek::STRING& text);

    // ---- What a position text cannot say

    // Marks the figure on s as moved, so that it castles no more, and refreshes; nothing for an
    // empty square.
    void markMoved(Square s);
    // Enters, as the move played last, the double step of the pawn on `to` from two rows behind
    // it, so that it may be taken en passant now, and refreshes. False, with nothing changed,
    // unless a pawn of the side not to move stands on `to` in its double step's row with both
    // squares behind it empty.
    bool recordDoubleStep(Square to);

private:
    friend class RootSplit;
    class HandOver;
    class StateKeeper;
    class TrialScope;

    static constexpr std::size_t kNoTrialScope = static_cast<std::size_t>(-1);

    // Squares covered by each colour's figures (bit squareIndex), gathered during a refresh.
    using CoverMaps = std::array<std::uint64_t, 2>;

    // ownKingLines: the squares on the lines through the figure's king (none without one), whose
    // square index is ownKingIndex.
    void refreshFigure(Figure& figure, std::uint64_t ownKingLines, std::size_t ownKingIndex);
    // What a figure adds to its side's score: material, mobility and the material on its
    // capture squares, from its lists and the board as they stand. Outside the kings, which
    // every refresh weighs afresh, a figure's weight changes only when the refresh generates
    // its lists again: everything it reads is in the figure's read set (see mustGenerate).
    std::int32_t figureWeight(const Figure& figure) const;
    // White's weights minus Black's, every placed figure weighed afresh.
    std::int32_t weighFigures() const;
    // Gives every placed figure its weight afresh, and the board their balance.
    void reweighFigures();
    bool mustGenerate(const Figure& figure, StepFunction pinBefore) const;
    void markChanged(Square s) { changedSinceRefresh_ |= std::uint64_t{1} << squareIndex(s); }
    // `changed`: the squares changed since the refresh before.
    void refreshKing(King& king, const CoverMaps& figureCover, std::uint64_t kingSquares, std::uint64_t changed);
    void detectCheck(const CoverMaps& figureCover);
    std::uint64_t attackedBy(Colour colour, const CoverMaps& figureCover, std::uint64_t kingSquares) const;
    // `attacked`: at least the squares that the opponent of the side to move covers.
    void decideState(std::uint64_t attacked);
    bool hasLegalMove(std::uint64_t attacked) const;

    // The candidates of the side to move into `list`: the answers to a check, or every move.
    void collectCandidates(MoveList& list, std::size_t& checkerCount) const;
    void appendAllMoves(MoveList& list) const;
    void appendEvasions(MoveList& list, King& king, std::size_t checkerCount, Figure* checker) const;

    std::int32_t scoreList(MoveList& list, std::int32_t depth, SearchContext& context);
    std::int32_t scoreTrial(Move& move, std::int32_t depth, SearchContext& context);
    std::int32_t scoreRootMove(Move& move, std::int32_t depth, SearchContext& context);
    std::int32_t answerScore(std::int32_t depth, std::int32_t evaluation, SearchContext& context);
    void replayLine(Move move, std::int32_t depth, SearchContext& context);
    void replayAnswers(std::int32_t depth, SearchContext& context);

    // A figure of that colour and kind that a trial promotion of the running root search left
    // off the board, or none.
    Figure* spareTrialFigure(Colour colour, FigureKind kind) const;
    bool isPromotedInTrial(const Figure* figure) const;
    // The figure of this copy that stands for `figure` of `source`, by its place in figures().
    Figure* mappedFigure(const Figure* figure, const Board& source) const;
    // `move` of `source`, with its figures replaced by their counterparts on this copy.
    Move counterpart(const Move& move, const Board& source) const;
    // Gives this board the lists of `state`, taken from this board or a copy of it standing
    // in the same position.
    void restoreSearchState(const SearchState& state);
    void releaseTrialFigures();
    // Counts a trial move of the root search into the progress counter, if there is one.
    void countRootTrial() {
        if (rootProgress_ != nullptr && history_.getCount() == trialHistoryFrom_)
            rootProgress_->fetch_add(1, std::memory_order_relaxed);
    }

    void setUpSide(Colour colour);
    void switchSide();
    Move& appendHistory();
    void removeHistory(std::size_t index);
    Move& lastHistoryEntry() { return history_[history_.getCount() - 1]; }
    void finishGameMove();

    void put(Figure& figure, Square s);
    void vacate(Square s) {
        squares_[squareIndex(s)] = nullptr;
        occupied_ &= ~(std::uint64_t{1} << squareIndex(s));
        markChanged(s);
    }
    void takeOff(Figure& figure);
    PlayerClock& clockOf(Colour colour) { return colour == WHITE ? whiteClock_ : blackClock_; }

    std::array<Figure*, 64> squares_{};
    std::uint64_t occupied_ = 0;  // mirrors squares_, so that walks find the first figure at once
    // The squares whose occupant changed since the last refresh: a figure that stayed put and
    // whose walks passed none of them would generate the very lists it holds.
    std::uint64_t changedSinceRefresh_ = ~std::uint64_t{0};
    vek::Array<Figure*> figures_;
    King* whiteKing_ = nullptr;
    King* blackKing_ = nullptr;
    GameState state_ = NO_GAME;
    Colour sideToMove_ = WHITE;
    vek::Array<Move> history_;
    PlayerClock whiteClock_;
    PlayerClock blackClock_;
    TickSource ticks_;
    // White's figure weights minus Black's, summed by the last refresh: the evaluation of an
    // undecided position while no square has changed since.
    std::int32_t balance_ = 0;
    std::uint64_t trialMoves_ = 0;
    std::uint64_t rescoredRootMoves_ = 0;
    std::size_t searchThreads_ = 0;
    // While a root search runs: where its trial promotions' figures and its trial moves begin.
    std::size_t trialFiguresFrom_ = kNoTrialScope;
    std::size_t trialHistoryFrom_ = 0;
    std::atomic<std::uint32_t>* rootProgress_ = nullptr;
};

}  // namespace vek::chess
