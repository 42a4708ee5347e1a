#pragma once
// The weaker engine of "UCI_LimitStrength": a search held to a depth and a number of nodes that
// grow with the Elo asked for, and a chosen error among its best lines, so that it plays the
// moves of a weaker player, quickly, rather than lose on time.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/search.h"

namespace vek::uci {

inline constexpr int kMinElo = 1000;
inline constexpr int kMaxElo = 2400;
inline constexpr int kDefaultElo = 1800;

struct StrengthLimit {
    int depth = 1;
    std::uint64_t nodes = 1;
    int lines = 1;     // the lines searched, among which the move is chosen
    int errorCp = 0;   // the most a line's score may be misjudged by, in centipawns
};

// The limits for an Elo from kMinElo to kMaxElo (others are clamped to that range).
StrengthLimit strengthFor(int elo);

// Which of the lines (their scores, the best first) is played: each score is raised by a
// random error from 0 to `errorCp`, and the highest wins. A mate stays beyond any error.
std::size_t pickLine(const std::vector<engine::Score>& scores, int errorCp, std::mt19937& random);

}  // namespace vek::uci
