#pragma once
// The engine's static evaluation.

#include <vector>

#include "engine/evaluation_weights.h"
#include "engine/position.h"

namespace vek::engine {

// Centipawns (a pawn near 100) from the side to move's view: material and figure placement
// blended from middlegame to endgame, mobility, pawn structure, king safety and the move.
int evaluate(const Position& position);
// The same with other weights (for the tuner).
int evaluate(const Position& position, const EvalWeights& weights);

// One term of the evaluation, each side's share for its own colour (the king's danger taken
// off as a negative share), middlegame and endgame apart.
struct EvalTerm {
    const char* name;
    Weight white;
    Weight black;
};

// How evaluate() comes to its score, for the "eval" command: the terms and their total,
// then White's lead blended by the phase (24 with every figure on the board, 0 with pawns
// alone), the same after drawish endings are scaled down, and the score for the side to
// move with the tempo.
struct EvalBreakdown {
    std::vector<EvalTerm> terms;
    int phase = 0;
    int blended = 0;
    int white = 0;
    int tempo = 0;
    int sideToMove = 0;
};
EvalBreakdown explainEvaluation(const Position& position);

}  // namespace vek::engine
