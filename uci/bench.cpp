#include "uci/bench.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/search.h"
#include "uci/engine_game.h"
#include "uci/fen.h"
#include "uci/search_limits.h"
#include "uci/words.h"

namespace vek::uci {
namespace {

// The initial position, middlegames of open and closed games, tactics with castling and
// promotions, and endgames of rooks and of pawns.
constexpr std::array<std::string_view, 10> kBenchPositions{
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 13",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "1K1k4/1P6/8/8/8/8/r7/2R5 w - - 0 1",
    "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - - 0 1",
};

constexpr std::size_t kBenchHashMegabytes = 16;

}  // namespace

BenchResult runBench(int depth, std::shared_ptr<const engine::Network> network) {
    BenchResult result;
    result.depth = depth;
    result.network = network != nullptr;
    engine::Searcher searcher(kBenchHashMegabytes);
    searcher.setThreads(1);
    searcher.setNetwork(std::move(network));
    engine::Limits limits;
    limits.depth = depth;
    const std::atomic<bool> never{false};
    const auto start = std::chrono::steady_clock::now();
    for (const std::string_view fen : kBenchPositions) {
        std::string error;
        const PositionSetup setup = parseFen(fen, error).value();
        searcher.clearHash();  // each position's count stands alone
        std::uint64_t nodes = 0;
        searcher.search(enginePosition(setup), limits, never, engine::deepenAlways,
                        [&nodes](const engine::Report& report) { nodes = report.nodes; });
        result.nodes += nodes;
        ++result.positions;
    }
    result.time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return result;
}

std::optional<BenchRequest> benchRequestOf(const std::vector<std::string>& words, bool networkByDefault) {
    BenchRequest request{kBenchDepth, networkByDefault};
    if (words.size() > 2)
        return std::nullopt;
    if (!words.empty()) {
        const std::optional<std::int64_t> depth = numberWithin(words[0], 1, kMaxPlanDepth);
        if (!depth)
            return std::nullopt;
        request.depth = static_cast<int>(*depth);
    }
    if (words.size() == 2) {
        if (words[1] != "hand-written" && words[1] != "network")
            return std::nullopt;
        request.network = words[1] == "network";
    }
    return request;
}

std::string benchUsage() {
    return "bench [DEPTH from 1 to " + std::to_string(kMaxPlanDepth) + " [hand-written|network]]";
}

std::vector<std::string> benchReport(const BenchResult& result) {
    const auto milliseconds = static_cast<std::uint64_t>(result.time.count());
    const std::uint64_t nps = result.nodes * 1000 / std::max<std::uint64_t>(milliseconds, 1);
    return {"positions " + std::to_string(result.positions) + " depth " + std::to_string(result.depth) +
                " evaluation " + (result.network ? "network" : "hand-written"),
            "nodes " + std::to_string(result.nodes), "time " + std::to_string(milliseconds), "nps " + std::to_string(nps)};
}

}  // namespace vek::uci
