#pragma once
// Positions in Forsyth-Edwards Notation, as a GUI sends them with "position fen": read into a
// plain setup, from which either board is set up; and written from the engine's board.
// Castling is read in both notations of Chess960, and mixed: K, Q, k, q for the outermost rook
// on that side of the king (X-FEN, the standard letters), or the rook's file (Shredder-FEN:
// HAha for the standard rooks).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chess/types.h"
#include "engine/position.h"

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
    engine::CastlingRooks castlingRooks = engine::kCornerRooks;  // of the rights in `castling`
    bool chess960 = false;  // the rules the rights were read by, and castling is written in
    int enPassant = -1;      // the square a pawn has just passed with its double step, or -1
    int halfmoveClock = 0;   // moves since the last capture or pawn move, for the fifty-move rule
    int fullmoveNumber = 1;  // counts Black's moves from 1
};

constexpr std::int8_t pieceCode(chess::Colour colour, chess::FigureKind kind) {
    return static_cast<std::int8_t>(colour == chess::WHITE ? kind : -kind);
}

// The setup of a FEN text: placement, side, castling and en passant fields, and the
// half-move clock and move number, which may be left out (0 and 1).
// A castling right without its king and rook at home (in standard chess the king on e and the
// rook in the corner; in Chess960 both anywhere on the back rank), and an en passant square
// without the pawn that passed it, are dropped, as a GUI means nothing by them. None, with the
// reason in `error`, for a malformed text or a position that cannot arise: not one king a
// side, a pawn on the first or last row, the side not to move in check, or two rooks named
// for one side's castling.
std::optional<PositionSetup> parseFen(std::string_view text, std::string& error, bool chess960 = false);

// The FEN of a position. Its castling rights in the standard letters, and in Chess960 a
// rook that is not the outermost on its side by its file (Shredder-FEN's letter).
std::string fenOf(const engine::Position& position);

}  // namespace vek::uci
