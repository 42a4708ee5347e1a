#pragma once
// The abstract figure: where it stands, what it could do after the last refresh, and the
// walk and pin rules that the six figure classes share.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

#include "chess/steps.h"
#include "chess/types.h"

namespace vek::chess {

class Board;
class Figure;

// What a king's single steps must avoid: the squares next to the enemy king, and every square
// held in the stored covered list of an enemy figure standing elsewhere on the board. Built
// once per king generation from those lists, it answers exactly what a scan of the board for
// each square would. Bit squareIndex(s) stands for square s.
struct KingSafety {
    const Figure* enemyKing = nullptr;
    std::uint64_t enemyCovered = 0;
    std::uint64_t forbidden = 0;  // enemyCovered and the enemy king's neighbourhood

    static KingSafety against(const Board& board, Colour mover);
    // Completes `forbidden` once enemyKing and enemyCovered are set.
    void seal();
    bool isCovered(Square s) const { return (enemyCovered >> squareIndex(s)) & 1u; }
};

// The squares that a figure's stored covered list holds, leaving out its own square.
std::uint64_t coveredSquares(const Figure& figure);
// The square of that index (below 64) and its neighbours, as bits by squareIndex.
std::uint64_t neighbourhood(std::size_t index);

// What a figure carries from one refresh to the next: enough to give another board's figure
// exactly this one's part in the next refresh.
struct FigureState {
    Square square;
    bool moved = false;
    FigureMoves moves;
    StepFunction pinTowardKing = nullptr;
    StepFunction pinAwayFromKing = nullptr;

    friend bool operator==(const FigureState&, const FigureState&) = default;
};

// Opens the few changing operations of a figure to the Board alone.
class BoardKey {
    friend class Board;
    BoardKey() = default;
};

// Figures are owned by their Board, which deletes them through their concrete class (see
// Board::clear); there is deliberately no virtual destructor.
class Figure {
public:
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // Initialises record, fills it with this figure's targets and covered squares in the
    // current position and returns it. Reads the other figures' stored lists, never changes
    // them.
    virtual FigureMoves& generateMoves(FigureMoves& record) = 0;
    virtual FigureKind kind() const = 0;
    // The same without a virtual call, for the loops that run after every trial move.
    FigureKind kindCode() const { return kind_; }
    // The material value that the evaluation adds up.
    virtual int value() const = 0;
    // The same without a virtual call, kept with the square (a pawn's grows as it advances):
    // the evaluation reads it of every figure after every trial move. Only for a placed figure.
    int material() const {
        assert(isPlaced());
        return material_;
    }

    // Appends the targets and covered squares of up to maxSteps steps in one direction and
    // returns how many targets it added. A pinned figure walks only along its pin line; with
    // kingSafety the walk also stops before squares next to the enemy king or covered by an
    // enemy figure.
    std::int64_t walk(FigureMoves& record, StepFunction step, int maxSteps, bool kingSafety) const;

    // Sets both pin directions when an enemy figure covers this figure from beyond it on a
    // line through its own king, on square index kingIndex; clears them otherwise. Only for a
    // placed figure on such a line. The squares between this figure and its king are not
    // examined. Defined inline in board.cpp, next to the refresh that is its only caller.
    void computePin(std::size_t kingIndex);

    bool moved() const { return moved_; }
    Square square() const { return square_; }
    // Whether the figure stands on the board (a captured or promoted-away one does not).
    bool isPlaced() const { return index_ < kOffBoard; }
    // squareIndex(square()) of a placed figure, kept with the square: the refresh and the
    // evaluation ask it of every figure after every trial move.
    std::size_t index() const {
        assert(isPlaced());
        return index_;
    }
    const FigureMoves& moves() const { return moves_; }
    // The figure's part of the evaluation (material, mobility, attacked material), as the
    // board weighed it when it last generated the figure's lists.
    std::int32_t weight() const { return weight_; }
    StepFunction pinTowardKing() const { return pinTowardKing_; }
    StepFunction pinAwayFromKing() const { return pinAwayFromKing_; }
    Board& board() const { return *board_; }
    Colour colour() const { return colour_; }

    // For the Board: placing figures, marking them moved, storing the refreshed lists.
    void setSquare(Square s, BoardKey) { place(s); }
    void setMoved(BoardKey) { moved_ = true; }
    FigureMoves& storedMoves(BoardKey) { return moves_; }
    void setWeight(std::int32_t weight, BoardKey) { weight_ = weight; }
    void clearPin(BoardKey) {
        pinTowardKing_ = nullptr;
        pinAwayFromKing_ = nullptr;
    }
    // For a king whose lists were generated from its neighbourhood alone: the forbidden squares
    // there at that time; kNoMemo otherwise, and once its lists are restored from elsewhere.
    static constexpr std::uint64_t kNoMemo = ~std::uint64_t{0};
    std::uint64_t neighbourhoodMemo() const { return neighbourhoodMemo_; }
    void setNeighbourhoodMemo(std::uint64_t memo, BoardKey) { neighbourhoodMemo_ = memo; }
    FigureState state() const { return {square_, moved_, moves_, pinTowardKing_, pinAwayFromKing_}; }
    void restore(const FigureState& state, BoardKey);
    // Back to what a new moved figure on `s` would be: no lists, no pin.
    void renew(Square s, BoardKey key) { restore(FigureState{s, true, FigureMoves{}, nullptr, nullptr}, key); }

protected:
    Figure(Board& board, Colour colour, Square square, bool moved, FigureKind kind);
    ~Figure() = default;

    // The walk along rows of the step table, in the given order: at most maxSteps squares each,
    // subject to the pin, stopping before any square whose bit (by squareIndex) is set in
    // `forbidden`. added[i], when given, receives the number of targets of directions[i].
    void walkRays(FigureMoves& record, std::span<const Direction> directions, std::size_t maxSteps,
                  std::uint64_t forbidden = 0, std::int64_t* added = nullptr) const;
    // Initialises record and walks the line directions, in the order given, in ordinary mode,
    // each up to the first figure; the same as walkRays with 8 steps, with each run of empty
    // squares copied at once. Defined for the bishop's, the rook's and the queen's directions.
    template <Direction... kDirections>
    FigureMoves& slide(FigureMoves& record) const;
    // Initialises record and makes the eight knight jumps in table order: the single-step walk
    // of those rows, where a pin, which never runs along a jump, forbids every jump.
    FigureMoves& jumps(FigureMoves& record) const;

private:
    static constexpr std::uint8_t kOffBoard = 64;

    // Sets the square and what is kept with it.
    void place(Square s);
    // A pinned figure walks only along its pin line.
    bool mayWalk(const Step& step) const {
        return !pinTowardKing_ || !pinAwayFromKing_ || step.function == pinTowardKing_ ||
               step.function == pinAwayFromKing_;
    }

    bool moved_;
    Square square_;
    std::uint8_t index_ = kOffBoard;  // follows square_
    std::int8_t material_ = 0;        // follows square_
    FigureMoves moves_;
    std::int32_t weight_ = 0;  // follows moves_ and the occupants of its capture squares
    std::uint64_t neighbourhoodMemo_ = kNoMemo;
    StepFunction pinTowardKing_ = nullptr;
    StepFunction pinAwayFromKing_ = nullptr;
    Board* board_;
    Colour colour_;
    FigureKind kind_;
};

}  // namespace vek::chess
