// texel-selfplay [--games N] [--nodes N] [--seed N] > positions.txt: games of the engine against
// itself at a fixed number of nodes per move, their quiet positions with the game's result,
// as texel-tune reads them. Several processes with different seeds fill several cores.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tune/self_play.h"

int main(int argc, char** argv) {
    vek::engine::tune::SelfPlaySettings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const long long value = std::atoll(argv[i + 1]);
        if (flag == "--games") {
            settings.games = static_cast<int>(value);
        } else if (flag == "--nodes") {
            settings.nodesPerMove = static_cast<std::uint64_t>(value);
        } else if (flag == "--seed") {
            settings.seed = static_cast<std::uint64_t>(value);
        } else {
            std::cerr << "usage: texel-selfplay [--games N] [--nodes N] [--seed N]\n";
            return 2;
        }
    }
    const std::uint64_t written = vek::engine::tune::playSelfGames(settings, std::cout);
    std::cerr << written << " positions from " << settings.games << " games\n";
    return 0;
}
