#pragma once
// The commands of analysts and developers on the engine's position: "go perft N" (the leaves
// under each legal move, as perft-debugging tools read them), "d" (the board, its FEN and
// key) and "eval" (the static evaluation and its terms).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/nn_network.h"
#include "engine/position.h"

namespace vek::uci {

// The deepest "go perft": depth 7 of the middlegame takes minutes, and nothing stops it.
inline constexpr int kMaxPerftDepth = 10;

// The positions `depth` plies below, counting legal moves only.
std::uint64_t perft(engine::Position& position, int depth);

// "MOVE: COUNT" for each legal move, an empty line and "Nodes searched: N".
std::vector<std::string> perftReport(const engine::Position& position, int depth);

// The board as text, White at the bottom, then "Fen: ..." and "Key: HEX".
std::vector<std::string> boardReport(const engine::Position& position);

// Each term of the evaluation for both sides, the phase and the scores they make.
std::vector<std::string> evaluationReport(const engine::Position& position);

// The network's score from White's view and the side to move's, and which evaluation the
// search uses (`searched`: the network).
std::vector<std::string> networkReport(const engine::Position& position, const engine::Network& network,
                                       const std::string& name, bool searched);

}  // namespace vek::uci
