#include "uci/strength.h"

#include <algorithm>
#include <cmath>

namespace vek::uci {
namespace {

// A mate in n as centipawns beyond any evaluation, the quicker the higher.
constexpr int kMateCentipawns = 100000;

int centipawnsOf(const engine::Score& score) {
    if (!score.isMate)
        return score.value;
    return score.value > 0 ? kMateCentipawns - score.value : -kMateCentipawns - score.value;
}

}  // namespace

StrengthLimit strengthFor(int elo) {
    const int clamped = std::clamp(elo, kMinElo, kMaxElo);
    const double steps = (clamped - kMinElo) / 100.0;  // 0 to 14
    StrengthLimit limit;
    limit.depth = 1 + (clamped - kMinElo) / 140;
    limit.nodes = static_cast<std::uint64_t>(300.0 * std::pow(2.0, steps * 2.0 / 3.0));
    limit.lines = 4;
    limit.errorCp = 10 + (kMaxElo - clamped) / 5;
    return limit;
}

std::size_t pickLine(const std::vector<engine::Score>& scores, int errorCp, std::mt19937& random) {
    std::uniform_int_distribution<int> error(0, std::max(errorCp, 0));
    std::size_t chosen = 0;
    int highest = 0;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const int judged = centipawnsOf(scores[i]) + error(random);
        if (i == 0 || judged > highest) {
            highest = judged;
            chosen = i;
        }
    }
    return chosen;
}

}  // namespace vek::uci
