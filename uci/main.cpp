// chess-uci: the engine for chess GUIs that speak UCI, on standard input and output.
#include <iostream>
#include <string>

#include "uci/engine.h"

int main() {
    vek::uci::Engine engine([](const std::string& line) { std::cout << line << '\n' << std::flush; });
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')  // a GUI on Windows may end lines so
            line.pop_back();
        if (!engine.handle(line))
            break;
    }
    return 0;
}
