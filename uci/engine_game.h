#pragma once
// The GUI's game on the board of engine/, the one authority on the rules for the protocol: the
// GUI's moves, "searchmoves" and the engine's own answer are checked against its legal moves,
// and the game's moves are played on it so that the search sees repetitions.

#include <optional>
#include <string_view>
#include <vector>

#include "engine/position.h"
#include "uci/fen.h"

namespace vek::uci {

// The position of a setup after `moves`, which must be legal one after the other.
engine::Position enginePosition(const PositionSetup& start, const std::vector<engine::Move>& moves = {});

// Whether `move` is one of the position's legal moves.
bool isLegal(const engine::Position& position, engine::Move move);

// The legal move a GUI's text names, or none. Castling is the king's move of two files, or in
// Chess960 the king's taking its own rook (e1h1); outside Chess960 that is read too, as some
// programs write standard castling so.
std::optional<engine::Move> legalMove(const engine::Position& position, std::string_view text);

}  // namespace vek::uci
