#pragma once
// Moves and squares in the long algebraic notation of the UCI protocol: "e2e4", "e7e8q", and
// castling as the king's move, "e1g1".

#include <optional>
#include <string>
#include <string_view>

#include "engine/move.h"

namespace vek::uci {

// "a1" to "h8" as the square index, or none.
std::optional<int> parseSquare(std::string_view text);
std::string squareName(int square);

// The move of a text of four squares' letters and an optional promotion letter (n, b, r, q in
// either case); none for anything else. Whether it is legal is not asked.
std::optional<engine::Move> parseMove(std::string_view text);
std::string moveText(engine::Move move);

}  // namespace vek::uci
