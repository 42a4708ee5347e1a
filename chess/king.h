#pragma once
// The king: single steps that avoid attacked squares, castling, and the check test for a
// move of another own figure.

#include <array>
#include <cstdint>
#include <utility>

#include "chess/figure.h"

namespace vek::chess {

class Rook;

// A castling that the last generation offered, or all zero.
struct CastlingOption {
    Square kingTarget;     // column c or g
    Square rookTarget;     // column d or f
    Rook* rook = nullptr;  // none when the corner figure is not a rook
};

// A figure met on a line from the king that gives check along it, with its distance in steps;
// figure is none when the line holds no such checker.
struct RayProbe {
    Figure* figure = nullptr;
    int distance = 0;
};

class King final : public Figure {
public:
    King(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, KING) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    // The same, with the squares to avoid already gathered (the refresh has them at hand).
    FigureMoves& generateMoves(FigureMoves& record, const KingSafety& safety);
    // Whether a generation with `safety` reads nothing but the king's square and the occupants
    // and forbidden squares of its neighbourhood: not in check (no line probes) and no castling
    // to examine.
    bool readsOnlyItsNeighbourhood(const KingSafety& safety) const;
    FigureKind kind() const override { return KING; }
    static constexpr int kValue = 2;
    int value() const override { return kValue; }

    const CastlingOption& queenSide() const { return queenSide_; }
    const CastlingOption& kingSide() const { return kingSide_; }

    // The enemy figure that would still give check after another own figure moved from
    // `from` to `to`, or none. Only figures checking in the current position are found.
    Figure* findCheckingFigure(Square from, Square to) const;
    // One line of that search: up to `steps` steps from the king, where `from` counts as empty
    // and `to` as blocked.
    RayProbe probeLine(StepFunction step, Square from, Square to, int steps) const;

private:
    // Walks the single steps that no line checker forbids; returns the targets that the west
    // and the east step added, which castling asks for.
    std::pair<std::int64_t, std::int64_t> addSingleSteps(FigureMoves& record, const KingSafety& safety) const;
    // By line direction: whether a line checker forbids the single step that way.
    std::array<bool, 8> stepsOffLineCheckers(const KingSafety& safety) const;
    RayProbe probe(Direction direction) const;
    // One single step onto a square that `forbidden` leaves open; returns the targets it added.
    std::int64_t addStep(FigureMoves& record, Direction direction, std::uint64_t forbidden) const;
    // Offers the castling toward rookColumn when the king's two squares that way are safe and
    // empty and the unmoved corner figure walks at least rookTargets squares toward the king;
    // its rookTargets-th square is where the rook lands.
    void castle(FigureMoves& record, CastlingOption& option, const KingSafety& safety,
                Direction kingWay, char rookColumn, std::int64_t rookTargets);

    CastlingOption queenSide_;
    CastlingOption kingSide_;
};

}  // namespace vek::chess
