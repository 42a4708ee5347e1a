#include "tune/texel.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/evaluation.h"

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
    std::istringstream fields(fen);
    std::string placement, side, castlingText, enPassantText;
    if (!(fields >> placement >> side >> castlingText >> enPassantText))
        throw std::invalid_argument("FEN with fewer than four fields: " + fen);
    std::array<std::int8_t, 64> squares{};
    int rank = 7;
    int file = 0;
    const std::string letters = "pnbrqk";
    for (const char c : placement) {
        if (c == '/') {
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else {
            const auto kind = letters.find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
            if (kind == std::string::npos || rank < 0 || file > 7)
                throw std::invalid_argument("bad FEN placement: " + fen);
            const int code = static_cast<int>(kind) + 1;
            const bool white = std::isupper(static_cast<unsigned char>(c)) != 0;
            squares[static_cast<std::size_t>(rank * 8 + file)] = static_cast<std::int8_t>(white ? code : -code);
            ++file;
        }
    }
    unsigned castling = 0;
    for (const char c : castlingText)
        castling |= c == 'K' ? 1u : c == 'Q' ? 2u : c == 'k' ? 4u : c == 'q' ? 8u : 0u;
    const int enPassant =
        enPassantText == "-" ? -1 : (enPassantText[0] - 'a') + 8 * (enPassantText[1] - '1');
    return Position::fromSquares(squares, side == "w" ? chess::WHITE : chess::BLACK, castling, enPassant, 0, 1);
}

}  // namespace vek::engine::tune
