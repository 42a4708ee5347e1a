#pragma once
// The GUI's game on the board of engine/: the same squares and moves, with the game's moves
// played so that the search sees repetitions of its earlier positions.

#include <vector>

#include "engine/position.h"
#include "uci/standard_rules.h"

namespace vek::uci {

inline engine::Move engineMove(StandardMove move) { return engine::Move{move.from, move.to, move.promotion}; }
inline StandardMove standardMove(engine::Move move) { return StandardMove{move.from, move.to, move.promotion}; }

// The position `start` after `moves`, which must be legal one after the other.
engine::Position enginePosition(const StandardPosition& start, const std::vector<StandardMove>& moves = {});

}  // namespace vek::uci
