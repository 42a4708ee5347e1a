#pragma once
// The small value types of the chess model: squares, colours, figure kinds, game states, the
// per-figure record of targets and covered squares, and the Move record.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

namespace vek::chess {

class Figure;

// A square as column letter 'a'..'h' and row number 1..8. {0, 0} stands for "no square": the
// square of a captured figure, the capture square of a quiet move, a step off the board.
struct Square {
    char column = 0;
    std::int8_t row = 0;

    friend constexpr bool operator==(Square, Square) = default;
};

inline constexpr Square kNoSquare{};

constexpr bool isOnBoard(Square s) {
    return s.column >= 'a' && s.column <= 'h' && s.row >= 1 && s.row <= 8;
}

// a1 = 0, h1 = 7, a2 = 8, ..., h8 = 63: the order of the board array, the position text and
// every scan over the board.
constexpr std::size_t squareIndex(Square s) {
    assert(isOnBoard(s));
    return static_cast<std::size_t>((s.row - 1) * 8 + (s.column - 'a'));
}

// Every square by its index, so that the walks of every refresh look squares up instead of
// computing them.
inline constexpr std::array<Square, 64> kSquaresByIndex = [] {
    std::array<Square, 64> squares{};
    for (std::size_t index = 0; index < squares.size(); ++index)
        squares[index] = Square{static_cast<char>('a' + index % 8), static_cast<std::int8_t>(index / 8 + 1)};
    return squares;
}();

constexpr Square squareAt(std::size_t index) {
    assert(index < 64);
    return kSquaresByIndex[index];
}

enum Colour : std::int32_t { WHITE = 0, BLACK = 1 };

constexpr Colour opponent(Colour c) { return c == WHITE ? BLACK : WHITE; }

enum FigureKind : std::int32_t { PAWN = 1, KNIGHT = 2, BISHOP = 3, ROOK = 4, QUEEN = 5, KING = 6 };

// The value 4 is never assigned.
enum GameState : std::int32_t {
    NO_GAME = 0,
    RUNNING = 1,
    WHITE_IN_CHECK = 2,
    BLACK_IN_CHECK = 3,
    BLACK_WINS = 5,
    WHITE_WINS = 6,
    STALEMATE = 7,
};

// States 1 to 3: the game goes on.
constexpr bool isGameRunning(GameState s) { return s >= RUNNING && s <= BLACK_IN_CHECK; }

// Scores count in pawns from White's side: +MATE_SCORE White has won, -MATE_SCORE Black has.
inline constexpr std::int32_t MATE_SCORE = 376;

// The deepest search the engine makes; a deeper request searches this deep. Far beyond what
// could ever finish (a middlegame at depth 8 would take days), yet shallow enough that the
// recursion fits any thread's stack and a stopped search unwinds its open levels at once.
inline constexpr std::int32_t MAX_SEARCH_DEPTH = 100;

// Where a figure may go and what it takes there: captureSquare is the target itself for an
// ordinary capture, the passed pawn's square for en passant, {0, 0} for a quiet move.
struct MoveTarget {
    Square target;
    Square captureSquare;

    friend constexpr bool operator==(const MoveTarget&, const MoveTarget&) = default;
};

// What one figure can do in the position of the last refresh. A queen reaches at most 27
// squares; the capacity leaves room behind them for a whole run of a ray's squares, which the
// sliding figures copy at once and then count only in part. The entries past the counts are
// left over from earlier lists: nothing reads them, and two records with the same lists
// compare equal.
struct FigureMoves {
    static constexpr std::size_t kCapacity = 36;

    std::array<MoveTarget, kCapacity> targets{};
    std::array<Square, kCapacity> covered{};
    std::size_t targetCount = 0;
    bool canCapture = false;
    std::size_t coveredCount = 0;
    // The covered squares again as bits by squareIndex, so that attack questions need no scan.
    std::uint64_t coveredSet = 0;
    // The material of the figures on the capture squares when the lists were made.
    std::int32_t capturedMaterial = 0;

    // Empties a record for a new generation, which appends to it from the start.
    void clear() {
        targetCount = 0;
        canCapture = false;
        coveredCount = 0;
        coveredSet = 0;
        capturedMaterial = 0;
    }
    void addTarget(Square target, Square captureSquare) {
        assert(targetCount < kCapacity);
        targets[targetCount++] = MoveTarget{target, captureSquare};
    }
    // A target where a figure of that material is taken, on `taken`.
    void addCapture(Square target, Square taken, std::int32_t material) {
        addTarget(target, taken);
        canCapture = true;
        capturedMaterial += material;
    }
    void addCovered(std::size_t index) {
        assert(coveredCount < kCapacity);
        covered[coveredCount++] = squareAt(index);
        coveredSet |= std::uint64_t{1} << index;
    }
    bool covers(Square s) const { return isOnBoard(s) && ((coveredSet >> squareIndex(s)) & 1u); }
    bool hasTarget(Square s) const {
        for (std::size_t i = 0; i < targetCount; ++i)
            if (targets[i].target == s)
                return true;
        return false;
    }

    friend bool operator==(const FigureMoves& a, const FigureMoves& b) {
        return a.targetCount == b.targetCount && a.canCapture == b.canCapture && a.coveredCount == b.coveredCount &&
               a.coveredSet == b.coveredSet && a.capturedMaterial == b.capturedMaterial &&
               std::equal(a.targets.begin(), a.targets.begin() + a.targetCount, b.targets.begin()) &&
               std::equal(a.covered.begin(), a.covered.begin() + a.coveredCount, b.covered.begin());
    }
};

// One move: a search candidate, the engine's choice and a history entry. A plain value; the
// figure pointers never own. A new Move has every field zero.
struct Move {
    Figure* figure = nullptr;            // for a promotion: the pawn
    Square from;
    Square to;
    Figure* promotedFigure = nullptr;    // the figure that replaces the pawn
    std::int32_t promotionKind = 0;      // 0, or the FigureKind of the new figure (2 to 5)
    Figure* captured = nullptr;
    Square capturedSquare;               // differs from `to` for en passant
    Figure* castlingRook = nullptr;
    Square rookFrom;
    Square rookTo;
    std::int32_t score = 0;              // filled by the search
    GameState stateAfter = NO_GAME;      // filled when the move is played in the game
};

}  // namespace vek::chess
