#pragma once
// Games of the engine against itself at a fixed number of nodes per move, for the tuner: each
// game starts from a few random moves, and its quiet positions are written with its result.

#include <cstdint>
#include <ostream>
#include <string>

#include "engine/position.h"

namespace vek::engine::tune {

struct SelfPlaySettings {
    int games = 100;
    std::uint64_t nodesPerMove = 5000;
    std::uint64_t seed = 1;
    int randomPlies = 8;  // random moves that open each game
};

// The first four fields of the position's FEN, the clocks as "0 1".
std::string fenOf(const Position& position);

// Plays the games and writes "FEN | RESULT" for each kept position of a game, then an empty
// line (the format texel-tune reads). Kept are positions after the opening, not in check, whose
// chosen move is quiet and whose score is not yet decisive. Returns the positions written.
std::uint64_t playSelfGames(const SelfPlaySettings& settings, std::ostream& out);

}  // namespace vek::engine::tune
