#include "tune/texel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/evaluation.h"
#include "uci/engine_game.h"
#include "uci/fen.h"

namespace vek::engine::tune {

double expectedScore(double score, double scale) { return 1.0 / (1.0 + std::pow(10.0, -scale * score / 400.0)); }

double meanError(const std::vector<Sample>& samples, const EvalWeights& weights, double scale) {
    if (samples.empty())
        return 0.0;
    // The positions are split among the cores: each part sums its own squares.
    const std::size_t parts = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t partSize = (samples.size() + parts - 1) / parts;
    std::vector<double> totals(parts, 0.0);
    std::vector<std::thread> threads;
    for (std::size_t part = 0; part < parts; ++part) {
        threads.emplace_back([&, part] {
            const std::size_t first = part * partSize;
            const std::size_t last = std::min(samples.size(), first + partSize);
            double total = 0.0;
            for (std::size_t i = first; i < last; ++i) {
                const Sample& sample = samples[i];
                const int score = evaluate(sample.position, weights);
                const int white = sample.position.sideToMove() == chess::WHITE ? score : -score;
                const double difference = sample.result - expectedScore(white, scale);
                total += difference * difference;
            }
            totals[part] = total;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    double total = 0.0;
    for (const double part : totals)
        total += part;
    return total / static_cast<double>(samples.size());
}

double fitScale(const std::function<double(double)>& error) {
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double low = 0.1;
    double high = 4.0;
    for (int i = 0; i < 40; ++i) {
        const double a = high - ratio * (high - low);
        const double b = low + ratio * (high - low);
        if (error(a) < error(b))
            high = b;
        else
            low = a;
    }
    return (low + high) / 2.0;
}

double localSearch(const std::vector<int*>& values, const std::function<double()>& error, int step, int maxPasses,
                   const std::function<void(int, double)>& progress) {
    double best = error();
    for (int pass = 1; pass <= maxPasses; ++pass) {
        bool improved = false;
        for (int* value : values) {
            for (const int delta : {step, -step}) {
                *value += delta;
                const double tried = error();
                if (tried < best) {
                    best = tried;
                    improved = true;
                    break;
                }
                *value -= delta;
            }
        }
        progress(pass, best);
        if (!improved)
            break;
    }
    return best;
}

namespace {

template <typename Change>
void eachWingPair(EvalWeights& weights, Change change) {
    for (auto& table : weights.squares)
        for (std::size_t square = 0; square < 64; ++square)
            if (square % 8 < 4)
                change(table[square], table[square ^ 7]);
}

}  // namespace

void averageWings(EvalWeights& weights) {
    eachWingPair(weights, [](Weight& left, Weight& right) {
        left = {(left.mg + right.mg) / 2, (left.eg + right.eg) / 2};
        right = left;
    });
}

void mirrorSquares(EvalWeights& weights) {
    eachWingPair(weights, [](const Weight& left, Weight& right) { right = left; });
}

Position positionFromFen(const std::string& fen) {
    std::string error;
    const std::optional<uci::PositionSetup> setup = uci::parseFen(fen, error);
    if (!setup)
        throw std::invalid_argument(error + ": " + fen);
    return uci::enginePosition(*setup);
}

}  // namespace vek::engine::tune
