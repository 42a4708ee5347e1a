// nn-datagen FILE [--positions N] [--nodes N] [--threads N] [--seed N] [--random-plies N]:
// appends the quiet positions of the engine's self-play games to FILE (created when missing)
// until it holds N positions (default 1,000,000), on every core. Ctrl-C or SIGTERM finishes the
// games in progress and keeps them (a few seconds); Ctrl-\ ends at once.
// nn-datagen --check FILE: reads every record of FILE and prints what it holds.
// docs/nn-data.md describes the file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "tune/command_line.h"
#include "tune/nn_data_file.h"
#include "tune/nn_datagen.h"

namespace {

using namespace vek::engine::tune;

constexpr auto kProgressEvery = std::chrono::seconds(10);

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// Repeated signals change nothing: `timeout`, for one, sends its signal twice.
void requestStop(int) { stopRequested = true; }

int usage() {
    std::cerr << "usage: nn-datagen FILE [--positions N] [--nodes N] [--threads N] [--seed N] [--random-plies N]\n"
                 "       nn-datagen --check FILE\n";
    return 2;
}

std::string hoursMinutes(double seconds) {
    const long long minutes = static_cast<long long>(seconds / 60);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes / 60, minutes % 60);
    return text;
}

int check(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << path << ": cannot open\n";
        return 1;
    }
    DataReader reader(in, path);
    std::uint64_t whiteWins = 0, draws = 0, blackWins = 0, blackToMove = 0;
    int lowest = std::numeric_limits<int>::max(), highest = std::numeric_limits<int>::min(), longest = 0;
    while (const std::optional<DataRecord> record = reader.next()) {
        const bool white = record->sideToMove == vek::chess::WHITE;
        blackToMove += white ? 0 : 1;
        if (record->result == rrDRAW)
            ++draws;
        else
            ++((record->result == rrWIN) == white ? whiteWins : blackWins);
        lowest = std::min(lowest, record->score);
        highest = std::max(highest, record->score);
        longest = std::max(longest, record->ply);
    }
    std::cout << path << ": format version " << kDataVersion << ", " << reader.records() << " positions ("
              << blackToMove << " with Black to move)\n"
              << "their games' results: 1-0 " << whiteWins << ", 1/2-1/2 " << draws << ", 0-1 " << blackWins
              << " positions\n";
    if (reader.records() > 0)
        std::cout << "scores (side to move): " << lowest << " to " << highest << " centipawns; plies up to "
                  << longest << "\n";
    return 0;
}

int run(const std::string& path, DatagenSettings settings, std::uint64_t target) {
    DataWriter writer(path);
    if (writer.existing() >= target) {
        std::cerr << path << " already holds " << writer.existing() << " positions\n";
        return 0;
    }
    settings.positions = target - writer.existing();
    std::cerr << "nn-datagen: " << path << " holds " << writer.existing() << " positions, adding "
              << settings.positions << " on " << settings.threads << " threads, " << settings.nodesPerMove
              << " nodes a move, seed " << settings.seed << "\n";
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    const auto start = std::chrono::steady_clock::now();
    auto lastReport = start;
    std::uint64_t added = 0, games = 0;
    generate(settings, stopRequested, [&](const std::vector<DataRecord>& records) {
        writer.append(records);
        added += records.size();
        ++games;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport < kProgressEvery || added == 0)
            return;
        lastReport = now;
        const double seconds = std::chrono::duration<double>(now - start).count();
        const double rate = added / seconds;
        const std::uint64_t left = settings.positions > added ? settings.positions - added : 0;
        std::cerr << "nn-datagen: " << writer.existing() + added << " positions (" << games << " games), "
                  << static_cast<long long>(rate) << " a second, " << hoursMinutes(left / rate) << " left\n";
    });
    std::cerr << "nn-datagen: " << (stopRequested ? "stopped, " : "done, ") << path << " holds "
              << writer.existing() + added << " positions (" << added << " added from " << games << " games)\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--check") {
        try {
            return check(argv[2]);
        } catch (const DataError& error) {
            std::cerr << error.what() << "\n";
            return 1;
        }
    }
    if (argc < 2 || argv[1][0] == '-')
        return usage();
    DatagenSettings settings;
    settings.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    settings.seed = std::random_device{}();
    std::uint64_t target = 1'000'000;
    try {
        const auto flags = flagValues(argc, argv, 2);
        if (!flags)
            return usage();
        for (const auto& [flag, value] : *flags) {
            constexpr std::uint64_t kAny = std::numeric_limits<std::uint64_t>::max();
            if (flag == "--positions")
                target = numberArgument(flag, value, 1, kAny);
            else if (flag == "--nodes")
                settings.nodesPerMove = numberArgument(flag, value, 1, kAny);
            else if (flag == "--threads")
                settings.threads = static_cast<int>(numberArgument(flag, value, 1, 256));
            else if (flag == "--seed")
                settings.seed = numberArgument(flag, value, 0, kAny);
            else if (flag == "--random-plies")
                settings.randomPlies = static_cast<int>(numberArgument(flag, value, 0, 100));
            else
                return usage();
        }
        return run(argv[1], settings, target);
    } catch (const std::exception& error) {
        std::cerr << "nn-datagen: " << error.what() << "\n";
        return 1;
    }
}
