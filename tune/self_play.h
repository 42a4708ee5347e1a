#pragma once
// Games of the engine against itself at a fixed number of nodes per move, for the tuner: each
// game starts from a few random moves, and its quiet positions are written with its result.

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "engine/position.h"

namespace vek::engine::tune {

struct SelfPlaySettings {
    int games = 100;
    std::uint64_t nodesPerMove = 5000;
    std::uint64_t seed = 1;
    int randomPlies = 8;  // random moves that open each game
};

enum Outcome { ocWHITE_WINS, ocBLACK_WINS, ocDRAW, ocUNDECIDED };

// A kept position of a game: after the opening, not in check, its chosen move quiet and its
// score (from White's view, in centipawns) not yet decisive.
struct KeptPosition {
    Position position;
    int whiteScore = 0;
};

// Takes each finished game's kept positions with its outcome (never ocUNDECIDED); returns
// whether to play another game.
using GameSink = std::function<bool(const std::vector<KeptPosition>&, Outcome)>;

// Plays up to `settings.games` games, one after another, and hands each to `take` while it asks
// for more.
void playSelfGames(const SelfPlaySettings& settings, const GameSink& take);

// Plays the games and writes "FEN | RESULT" for each kept position of a game, then an empty
// line (the format texel-tune reads). Returns the positions written.
std::uint64_t playSelfGames(const SelfPlaySettings& settings, std::ostream& out);

}  // namespace vek::engine::tune
