// Two measurements of a root search that Google Benchmark cannot make, for this host (Linux):
//   search_probe memory POSITION DEPTH THREADS  peak resident memory of one search
//   search_probe stops COUNT THREADS [DEPTH...] latency of COUNT stop requests at each depth
//                                               (default 5) during searches of the middlegame
//                                               (position 2), and the worst of all
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "chess/board.h"
#include "foundation/thread.h"
#include "tests/chess/reference_positions.h"

namespace {

using vek::chess::Board;
using Clock = std::chrono::steady_clock;

bool load(Board& board, int position) {
    if (position < 1 || position > static_cast<int>(vek::chess::testing::kReferencePositions.size()))
        return false;
    const bool loaded = board.loadPosition(
        vek::STRING(vek::chess::testing::kReferencePositions[static_cast<std::size_t>(position - 1)]));
    board.refresh();
    return loaded;
}

// The peak resident set of this process in kB, as the kernel counts it.
long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

int measureMemory(int position, int depth, std::size_t threads) {
    Board board;
    board.setSearchThreads(threads);
    if (!load(board, position))
        return 2;
    const long before = peakResidentKb();
    const std::size_t figures = board.figures().getCount();
    std::int32_t candidates = 0;
    board.findBestMove(depth, candidates, true);
    std::printf("position %d depth %d threads %zu: peak resident %ld kB (%ld kB before the search), "
                "figures %zu before, %zu after, %llu trial moves\n",
                position, depth, threads, peakResidentKb(), before, figures, board.figures().getCount(),
                static_cast<unsigned long long>(board.trialMoveCount()));
    return 0;
}

// One search of the middlegame on its own registered thread.
class Search : public vek::Thread {
public:
    Search(std::int32_t depth, std::size_t threads) : depth_(depth) {
        board_.setSearchThreads(threads);
        load(board_, 2);
    }
    void ExecuteThread() override {
        started_ = true;
        std::int32_t candidates = 0;
        board_.findBestMove(depth_, candidates, true);
        finished_ = Clock::now().time_since_epoch().count();
    }
    bool started() const { return started_; }
    Clock::time_point finished() const { return Clock::time_point(Clock::duration(finished_.load())); }

private:
    Board board_;
    std::int32_t depth_;
    std::atomic<bool> started_{false};
    std::atomic<Clock::rep> finished_{0};
};

// The latencies of `count` stop requests, each at a random moment of a search, sorted; empty
// when a stopped search did not return.
std::vector<double> stopLatencies(int count, std::int32_t depth, std::size_t threads) {
    std::mt19937 random(12345);
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        auto* search = new Search(depth, threads);
        search->setAutoDelete(true);
        const vek::SharedRef<Search> held(search);
        search->StartThread(vek::STRING("engine"));
        for (int wait = 0; wait < 10000 && !search->started(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 300)(random)));
        const Clock::time_point requested = Clock::now();
        search->StopThread();
        if (!search->waitUntilFinished(60000)) {
            std::printf("depth %d: a stopped search did not return within a minute\n", depth);
            return {};
        }
        // A search that ended before the request counts as answering at once.
        latencies.push_back(
            std::max(0.0, std::chrono::duration<double, std::milli>(search->finished() - requested).count()));
    }
    vek::purgeThreads();
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

int measureStops(int count, std::size_t threads, const std::vector<std::int32_t>& depths) {
    double worst = 0;
    for (const std::int32_t depth : depths) {
        const std::vector<double> latencies = stopLatencies(count, depth, threads);
        if (latencies.empty())
            return 1;
        const auto at = [&](double share) {
            return latencies[std::min(latencies.size() - 1, static_cast<std::size_t>(share * latencies.size()))];
        };
        std::printf("depth %d, %d stops, threads %zu: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", depth, count, threads,
                    at(0.5), at(0.99), latencies.back());
        worst = std::max(worst, latencies.back());
    }
    std::printf("worst of all: %.2f ms\n", worst);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "memory" && argc == 5)
        return measureMemory(std::atoi(argv[2]), std::atoi(argv[3]), static_cast<std::size_t>(std::atoi(argv[4])));
    if (mode == "stops" && argc >= 4) {
        std::vector<std::int32_t> depths;
        for (int i = 4; i < argc; ++i)
            depths.push_back(static_cast<std::int32_t>(std::strtol(argv[i], nullptr, 10)));
        if (depths.empty())
            depths.push_back(5);
        return measureStops(std::atoi(argv[2]), static_cast<std::size_t>(std::atoi(argv[3])), depths);
    }
    std::fprintf(stderr, "usage: search_probe memory POSITION DEPTH THREADS | stops COUNT THREADS [DEPTH...]\n");
    return 2;
}
