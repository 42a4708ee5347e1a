#pragma once
// Texel's method: fit the evaluation's weights to game results by minimising the mean squared
// difference between each position's result and a sigmoid of its static score.

#include <functional>
#include <string>
#include <vector>

#include "engine/evaluation_weights.h"
#include "engine/position.h"

namespace vek::engine::tune {

struct Sample {
    Position position;
    double result = 0.5;  // of the game the position came from, from White's view: 1, 0.5 or 0
};

// The expected score of a position White leads by `score` centipawns; `scale` stretches the
// curve so that the engine's centipawns match the games' odds.
double expectedScore(double score, double scale);
// The mean squared difference between results and expected scores under `weights`.
double meanError(const std::vector<Sample>& samples, const EvalWeights& weights, double scale);
// The scale (0.1 to 4) that gives the smallest error for `error(scale)`, by golden section.
double fitScale(const std::function<double(double)>& error);
// Texel's local search: each value in turn is moved up by `step` (else down) while that lowers
// `error()`; whole passes repeat until none helps or `maxPasses` are done. Returns the error
// reached; `progress(pass, error)` is told after each pass.
double localSearch(const std::vector<int*>& values, const std::function<double()>& error, int step, int maxPasses,
                   const std::function<void(int, double)>& progress);

// Makes each square table symmetric between the wings: files a to d and their mirror images
// take the mean of both, then the right half follows the left.
void averageWings(EvalWeights& weights);
void mirrorSquares(EvalWeights& weights);

// The position of a FEN, read as the UCI engine reads it; std::invalid_argument, with the
// reason, for one it refuses.
Position positionFromFen(const std::string& fen);

}  // namespace vek::engine::tune
