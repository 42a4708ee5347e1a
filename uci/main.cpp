// chess-uci: the engine for chess GUIs that speak UCI, on standard input and output.
// "chess-uci bench [depth [hand-written|network]]" runs the bench instead and exits (with the
// hand-written evaluation, the default, unless it names the built-in network).
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "uci/bench.h"
#include "uci/engine.h"

namespace {

int bench(int argc, char** argv) {
    const std::optional<vek::uci::BenchRequest> request =
        vek::uci::benchRequestOf(std::vector<std::string>(argv + 2, argv + argc), false);
    if (!request) {
        std::cerr << "usage: chess-uci " << vek::uci::benchUsage() << "\n";
        return 2;
    }
    const auto network = request->network ? vek::engine::Network::builtIn() : nullptr;
    for (const std::string& line : vek::uci::benchReport(vek::uci::runBench(request->depth, network)))
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
