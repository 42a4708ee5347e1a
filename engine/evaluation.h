#pragma once
// The engine's static evaluation.

#include "engine/evaluation_weights.h"
#include "engine/position.h"

namespace vek::engine {

// Centipawns (a pawn near 100) from the side to move's view: material and figure placement
// blended from middlegame to endgame, mobility, pawn structure, king safety and the move.
int evaluate(const Position& position);
// The same with other weights (for the tuner).
int evaluate(const Position& position, const EvalWeights& weights);

}  // namespace vek::engine
