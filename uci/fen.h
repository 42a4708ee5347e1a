#pragma once
// Positions in Forsyth-Edwards Notation, as a GUI sends them with "position fen".

#include <optional>
#include <string>
#include <string_view>

#include "uci/standard_rules.h"

namespace vek::uci {

inline constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The position of a FEN text: placement, side, castling and en passant fields, and the
// half-move clock and move number, which may be left out (0 and 1).
// A castling right without its king and rook at home, and an en passant square without the
// pawn that passed it, are dropped, as a GUI means nothing by them. None, with the reason in
// `error`, for a malformed text or a position that cannot arise: not one king a side, a pawn
// on the first or last row, or the side not to move in check.
std::optional<StandardPosition> parseFen(std::string_view text, std::string& error);

}  // namespace vek::uci
