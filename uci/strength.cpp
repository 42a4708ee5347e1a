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
    // The scale of the limits below, fitted by matches against Stockfish held to the same
    // UCI_Elo (the engine's document has them): flat below 1600, where the error rather than
    // the nodes decides, steeper above, where more nodes buy less.
    const double scale = 1660.0 + (clamped - 1600) * (clamped <= 1600 ? 0.85 : 1.87);
    StrengthLimit limit;
    limit.depth = std::clamp(static_cast<int>(1 + (scale - 1000.0) / 140.0), 1, 64);
    limit.nodes = static_cast<std::uint64_t>(std::max(100.0, 300.0 * std::pow(2.0, (scale - 1000.0) / 150.0)));
    limit.lines = 4;
    limit.errorCp = std::max(0, static_cast<int>(10.0 + (2400.0 - scale) / 5.0));
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
