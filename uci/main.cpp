// chess-uci: the engine for chess GUIs that speak UCI, on standard input and output.
// "chess-uci bench [depth]" runs the bench instead and exits.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "uci/bench.h"
#include "uci/engine.h"

namespace {

int bench(int argc, char** argv) {
    const std::optional<int> depth = argc > 2 ? vek::uci::benchDepthOf(argv[2]) : vek::uci::kBenchDepth;
    if (!depth) {
        std::cerr << "usage: chess-uci bench [depth from 1 to " << vek::uci::kMaxPlanDepth << "]\n";
        return 2;
    }
    for (const std::string& line : vek::uci::benchReport(vek::uci::runBench(*depth)))
        std::cout << line << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "bench")
        return bench(argc, argv);
    vek::uci::Engine engine([](const std::string& line) { std::cout << line << '\n' << std::flush; });
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')  // a GUI on Windows may end lines so
            line.pop_back();
        if (!engine.handle(line))
            break;
    }
    return 0;
}
