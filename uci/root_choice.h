#pragma once
// One search of the program's board at a fixed depth (the Minimax search), and the choice among
// its root candidates of a move that is legal.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "chess/board.h"
#include "engine/move.h"

namespace vek::uci {

struct RootChoice {
    engine::Move move;
    std::int32_t score = 0;       // from White's side, in pawns
    std::size_t legalCount = 0;   // the legal moves of the side to move
};

// Scores the board's root candidates `depth` plies deep (over its search threads) and picks,
// at random among the equally best, one of `legal`, the legal moves of the board's position;
// when the board offers none of them, one of `legal` at random, scored by the evaluation. None
// when `legal` is empty. The search stops early on a stop request of the
// calling thread; the board is refreshed afterwards. Throws what the search throws.
std::optional<RootChoice> chooseRootMove(chess::Board& board, const std::vector<engine::Move>& legal, std::int32_t depth);

}  // namespace vek::uci
