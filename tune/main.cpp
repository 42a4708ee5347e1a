// texel-tune DATA [--passes N] [--step N] [--squares]: fits the evaluation's weights to the
// results of the positions in DATA (lines "FEN | RESULT", RESULT 1-0, 1/2-1/2 or 0-1, an empty
// line after each game, as scripts/tune_data.py and texel-selfplay write them). Every tenth
// game is held back to check the fit on games it did not see. Prints the errors before and
// after and the weights that changed, as code; with --squares the square tables are fitted
// too, and each changed one is printed whole.
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <stdexcept>
#include <iostream>
#include <string>
#include <vector>

#include "tune/texel.h"

namespace {

using vek::engine::EvalWeights;
using vek::engine::Weight;
using vek::engine::tune::Sample;

double resultOf(const std::string& text) {
    if (text == "1-0")
        return 1.0;
    if (text == "0-1")
        return 0.0;
    if (text == "1/2-1/2")
        return 0.5;
    throw std::invalid_argument("unknown result: " + text);
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The square tables that changed, as the diagrams of engine/square_tables.h (row 8 first).
void printChangedTables(const EvalWeights& weights, const EvalWeights& start) {
    const char* const names[] = {"", "Pawn", "Knight", "Bishop", "Rook", "Queen", "King"};
    for (std::size_t kind = 1; kind < 7; ++kind) {
        if (weights.squares[kind] == start.squares[kind])
            continue;
        for (const bool middlegame : {true, false}) {
            std::cout << "inline constexpr Table k" << names[kind] << (middlegame ? "Mg" : "Eg") << "{";
            for (std::size_t row = 0; row < 64; ++row) {
                const Weight weight = weights.squares[kind][row ^ 56];
                std::cout << (row % 8 == 0 ? "\n    " : " ") << std::setw(4) << (middlegame ? weight.mg : weight.eg)
                          << (row == 63 ? "" : ",");
            }
            std::cout << "};\n";
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: texel-tune DATA [--passes N] [--step N] [--squares]\n";
        return 2;
    }
    int passes = 20;
    int step = 2;
    bool withSquares = false;
    for (int i = 2; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--squares")
            withSquares = true;
        else if (flag == "--passes" && i + 1 < argc)
            passes = std::atoi(argv[++i]);
        else if (flag == "--step" && i + 1 < argc)
            step = std::atoi(argv[++i]);
    }
    std::ifstream file(argv[1]);
    if (!file) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<Sample> training;
    std::vector<Sample> held;
    std::string line;
    int game = 1;  // empty lines part the games
    for (int number = 1; std::getline(file, line); ++number) {
        const auto bar = line.find('|');
        if (bar == std::string::npos) {
            game += trimmed(line).empty() ? 1 : 0;
            continue;
        }
        try {
            Sample sample{vek::engine::tune::positionFromFen(trimmed(line.substr(0, bar))),
                          resultOf(trimmed(line.substr(bar + 1)))};
            (game % 10 == 0 ? held : training).push_back(std::move(sample));
        } catch (const std::exception& error) {
            std::cerr << argv[1] << ":" << number << ": " << error.what() << "\n";
            return 1;
        }
    }
    std::cout << training.size() << " positions to fit, " << held.size() << " held back\n";

    EvalWeights weights;
    const EvalWeights start = weights;
    if (withSquares)
        vek::engine::tune::averageWings(weights);
    const double scale = vek::engine::tune::fitScale(
        [&](double k) { return vek::engine::tune::meanError(training, weights, k); });
    const auto errors = [&](const char* when) {
        std::cout << when << ": error " << vek::engine::tune::meanError(training, weights, scale) << ", held back "
                  << vek::engine::tune::meanError(held, weights, scale) << "\n";
    };
    std::cout << "scale " << scale << "\n";
    errors("before");

    std::vector<int*> values;
    const auto named = vek::engine::tunableWeights(weights);
    auto fitted = named;
    if (withSquares)
        for (const auto& entry : vek::engine::tunableSquares(weights))
            fitted.push_back(entry);
    for (const auto& [name, weight] : fitted) {
        values.push_back(&weight->mg);
        values.push_back(&weight->eg);
    }
    vek::engine::tune::localSearch(
        values,
        [&] {
            if (withSquares)
                vek::engine::tune::mirrorSquares(weights);
            return vek::engine::tune::meanError(training, weights, scale);
        },
        step, passes,
        [](int pass, double error) { std::cout << "pass " << pass << ": error " << error << std::endl; });
    // The search leaves the right wing as it was when a last trial was taken back.
    if (withSquares)
        vek::engine::tune::mirrorSquares(weights);
    errors("after");

    EvalWeights original = start;
    const auto before = vek::engine::tunableWeights(original);
    for (std::size_t i = 0; i < named.size(); ++i) {
        const auto& [name, weight] = named[i];
        if (weight->mg != before[i].second->mg || weight->eg != before[i].second->eg)
            std::cout << name << " {" << weight->mg << ", " << weight->eg << "} (was {" << before[i].second->mg
                      << ", " << before[i].second->eg << "})\n";
    }
    if (withSquares)
        printChangedTables(weights, start);
    return 0;
}
