#pragma once
// The rules of standard chess on a plain array of squares, independent of the board's own move
// lists: what a GUI's move is checked against and what the engine's own move must obey. The
// board's acceptance test differs from these rules in corners, and a GUI plays standard chess.

#include <array>
#include <cstdint>
#include <vector>

#include "chess/board.h"

namespace vek::uci {

// A move by square indices (a1 = 0 ... h8 = 63, as the board counts them). Castling is the
// king's move of two columns.
struct StandardMove {
    std::uint8_t from = 0;
    std::uint8_t to = 0;
    std::int8_t promotion = 0;  // KNIGHT to QUEEN, or 0

    friend bool operator==(const StandardMove&, const StandardMove&) = default;
};

// The castling rights, one bit each.
enum CastlingRight : unsigned {
    crWHITE_KING_SIDE = 1,
    crWHITE_QUEEN_SIDE = 2,
    crBLACK_KING_SIDE = 4,
    crBLACK_QUEEN_SIDE = 8,
};

// A position: each square holds 0 when empty, else the figure kind, negated for Black.
struct StandardPosition {
    std::array<std::int8_t, 64> squares{};
    chess::Colour side = chess::WHITE;
    unsigned castling = 0;
    int enPassant = -1;  // the square a pawn has just passed with its double step, or -1
    int halfmoveClock = 0;   // moves since the last capture or pawn move, for the fifty-move rule
    int fullmoveNumber = 1;  // counts Black's moves from 1
};

constexpr std::int8_t pieceCode(chess::Colour colour, chess::FigureKind kind) {
    return static_cast<std::int8_t>(colour == chess::WHITE ? kind : -kind);
}

// Whether a figure of `by` attacks `square`.
bool isAttacked(const StandardPosition& position, int square, chess::Colour by);
// Whether the king of the side to move is attacked (also false without such a king).
bool isInCheck(const StandardPosition& position);
// Whether the king of the side that is not to move is attacked: a position that cannot arise.
bool isOpponentInCheck(const StandardPosition& position);
// The position after `move`, which must be one of legalMoves, with the move counters advanced.
StandardPosition afterMove(const StandardPosition& position, StandardMove move);
// Every legal move of the side to move.
std::vector<StandardMove> legalMoves(const StandardPosition& position);
bool isLegal(const StandardPosition& position, StandardMove move);

// The board's position with the castling rights that its moved flags leave (king and rook
// unmoved on their initial squares) and the en passant square of its last move.
StandardPosition standardPositionOf(const chess::Board& board);

}  // namespace vek::uci
