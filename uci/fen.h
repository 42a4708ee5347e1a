#pragma once
// Positions in Forsyth-Edwards Notation, as a GUI sends them with "position fen": read into a
// plain setup, from which either board is set up.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chess/types.h"

namespace vek::uci {

inline constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The castling rights, one bit each, as engine::Position takes them.
enum CastlingRight : unsigned {
    crWHITE_KING_SIDE = 1,
    crWHITE_QUEEN_SIDE = 2,
    crBLACK_KING_SIDE = 4,
    crBLACK_QUEEN_SIDE = 8,
};

// What a FEN text says, field by field; no rules are applied to it.
struct PositionSetup {
    // a1 = 0 ... h8 = 63; 0 empty, else the chess::FigureKind, negated for Black.
    std::array<std::int8_t, 64> squares{};
    chess::Colour side = chess::WHITE;
    unsigned castling = 0;
    int enPassant = -1;      // the square a pawn has just passed with its double step, or -1
    int halfmoveClock = 0;   // moves since the last capture or pawn move, for the fifty-move rule
    int fullmoveNumber = 1;  // counts Black's moves from 1
};

constexpr std::int8_t pieceCode(chess::Colour colour, chess::FigureKind kind) {
    return static_cast<std::int8_t>(colour == chess::WHITE ? kind : -kind);
}

// The setup of a FEN text: placement, side, castling and en passant fields, and the
// half-move clock and move number, which may be left out (0 and 1).
// A castling right without its king and rook at home, and an en passant square without the
// pawn that passed it, are dropped, as a GUI means nothing by them. None, with the reason in
// `error`, for a malformed text or a position that cannot arise: not one king a side, a pawn
// on the first or last row, or the side not to move in check.
std::optional<PositionSetup> parseFen(std::string_view text, std::string& error);

}  // namespace vek::uci
