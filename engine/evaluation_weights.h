#pragma once
// The weights of the engine's evaluation that are fitted to game results (see tune/): each a
// middlegame and an endgame value in centipawns, blended by the material left on the board.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/square_tables.h"
#include "engine/weight.h"

namespace vek::engine {

struct EvalWeights {
    // By chess::FigureKind and square from White's side (a1 = 0); Black's mirrored.
    std::array<std::array<Weight, 64>, 7> squares = squares::byKind();
    // By chess::FigureKind (pawn to queen; the king's is unused).
    std::array<Weight, 7> material{{{0, 0}, {85, 105}, {330, 300}, {345, 315}, {470, 520}, {1000, 960}, {0, 0}}};
    // A passed pawn by its rank counted from its own side (0 to 7).
    std::array<Weight, 8> passed{{{0, 0}, {0, 5}, {5, 12}, {10, 22}, {22, 42}, {38, 72}, {60, 115}, {0, 0}}};
    // A passed pawn whose next square is free, and whose whole way to promotion no enemy figure
    // covers: per step weight (1, 3, 6, 10 from the fourth rank on).
    Weight passedFreeStep{2, 4};
    Weight passedSafePath{3, 7};
    Weight doubled{-10, -20};
    Weight isolated{-10, -14};
    Weight connected{3, 2};  // a pawn beside or backed by another, per rank from its own side
    Weight bishopPair{30, 50};
    Weight rookOpenFile{25, 10};
    Weight rookHalfOpenFile{12, 6};
    // Per reachable square beyond a typical count, by kind.
    std::array<Weight, 7> mobility{{{0, 0}, {0, 0}, {4, 4}, {5, 5}, {2, 4}, {1, 2}, {0, 0}}};
    // Figures attacked by a lesser one or left without a defender.
    Weight threatByPawn{50, 35};
    Weight threatByMinor{30, 20};  // on a rook or queen
    Weight threatByRook{30, 15};   // on a queen
    Weight hanging{20, 15};
    // A knight or bishop on the fourth to sixth rank, backed by a pawn, that no enemy pawn can
    // chase away.
    Weight knightOutpost{28, 14};
    Weight bishopOutpost{14, 7};
    // The pawn shield of a king at a wing, per file beside and before it: a pawn one step
    // ahead, two steps ahead, none; and a file there without an own pawn while enemy rooks or
    // queens remain.
    Weight shelterNear{12, 0};
    Weight shelterFar{6, 0};
    Weight shelterMissing{-14, 0};
    Weight openFileNearKing{-18, 0};
};

// The weights the engine plays with.
inline const EvalWeights kEvalWeights{};

// Every weight by name, for the tuner to change one at a time: the square tables apart, which
// are many and best fitted to many games. Of the tables only the files a to d are named: the
// tuner keeps the others their mirror image (see tune::mirrorSquares), halving the noise.
std::vector<std::pair<std::string, Weight*>> tunableWeights(EvalWeights& weights);
std::vector<std::pair<std::string, Weight*>> tunableSquares(EvalWeights& weights);

}  // namespace vek::engine
