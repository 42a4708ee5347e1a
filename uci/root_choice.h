#pragma once
// One search of the engine's root moves at a fixed depth, and the choice among them of a move
// that standard chess allows.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "chess/board.h"
#include "uci/standard_rules.h"

namespace vek::uci {

struct RootChoice {
    StandardMove move;
    std::int32_t score = 0;       // from White's side, in pawns
    std::size_t legalCount = 0;   // the legal moves of the side to move
};

// Scores the board's root candidates `depth` plies deep (over its search threads) and picks,
// at random among the equally best, one that leaves its own king safe; when the board offers
// no such candidate, a legal move of standard chess at random, scored by the evaluation. None
// when the side to move has no legal move. The search stops early on a stop request of the
// calling thread; the board is refreshed afterwards. Throws what the search throws.
std::optional<RootChoice> chooseRootMove(chess::Board& board, std::int32_t depth);

}  // namespace vek::uci
