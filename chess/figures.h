#pragma once
// The five figure classes besides the king. Each walks its fixed directions; the pawn has
// rules of its own.

#include <algorithm>

#include "chess/figure.h"

namespace vek::chess {

// Steps forward (twice from its start row), captures diagonally forward and en passant. It
// ignores its pin directions: a pawn leaving its pin line is caught by the refresh, which
// gives the game to the other side.
class Pawn final : public Figure {
public:
    Pawn(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, PAWN) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    FigureKind kind() const override { return PAWN; }
    // 1 on its own half, growing to 2, 3 and 4 on the last three rows ahead.
    int value() const override { return valueOn(colour(), square().row); }
    static constexpr int valueOn(Colour colour, int row) {
        const int advance = colour == WHITE ? row - 5 : 4 - row;
        return std::max(advance, 0) + 1;
    }

private:
    void addDiagonal(FigureMoves& record, const Ray& diagonal) const;
    bool lastMoverIsPawn() const;
    void addEnPassant(FigureMoves& record, int columnDelta) const;
};

class Knight final : public Figure {
public:
    Knight(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, KNIGHT) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    FigureKind kind() const override { return KNIGHT; }
    static constexpr int kValue = 3;
    int value() const override { return kValue; }
};

class Bishop final : public Figure {
public:
    Bishop(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, BISHOP) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    FigureKind kind() const override { return BISHOP; }
    static constexpr int kValue = 3;
    int value() const override { return kValue; }
};

class Rook final : public Figure {
public:
    Rook(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, ROOK) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    FigureKind kind() const override { return ROOK; }
    static constexpr int kValue = 5;
    int value() const override { return kValue; }
};

class Queen final : public Figure {
public:
    Queen(Board& board, Colour colour, Square square, bool moved) : Figure(board, colour, square, moved, QUEEN) {}
    FigureMoves& generateMoves(FigureMoves& record) override;
    FigureKind kind() const override { return QUEEN; }
    static constexpr int kValue = 8;
    int value() const override { return kValue; }
};

}  // namespace vek::chess
