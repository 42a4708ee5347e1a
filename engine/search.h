#pragma once
// The engine's search: iterative deepening over a principal-variation alpha-beta search with a
// shared transposition table, pruned and reduced where it is safe, on one or more threads.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/move.h"
#include "engine/position.h"
#include "engine/transposition.h"

namespace vek::engine {

// Centipawns from the side to move, or a mate in `value` moves (negative: the side to move is
// mated).
struct Score {
    bool isMate = false;
    int value = 0;

    friend bool operator==(const Score&, const Score&) = default;
};

// The most lines a search reports at once.
inline constexpr int kMaxMultiPv = 16;

struct Limits {
    int depth = 0;                       // 0: up to the engine's maximum
    int multiPv = 1;                     // lines to report, each the best of the moves the lines before it left
    std::optional<std::uint64_t> nodes;  // stop after about this many nodes (all threads)
    // The node budget waits until depth 1 has searched every root move: a choice among the
    // lines (the strength limit's) needs them whole.
    bool wholeFirstDepth = false;
    std::optional<int> mate;             // stop once a mate in at most this many moves is found
    std::vector<Move> searchMoves;       // only these root moves (when not empty)
};

// One line of a finished depth (or, for the last, a stopped one): each depth reports its
// lines in order, the best (multiPv 1) first. A long search that reports its progress also
// reports its first line when it falls outside its aspiration window, before it searches it
// again.
struct Report {
    int depth = 0;
    int multiPv = 1;
    int selDepth = 0;
    Score score;
    // bdEXACT; bdLOWER for the line of a stopped depth (the moves not searched may be better)
    // and of an aspiration window failed high; bdUPPER of one failed low.
    Bound bound = bdEXACT;
    std::uint64_t nodes = 0;
    std::chrono::milliseconds time{0};
    int hashfull = 0;  // per mille
    std::vector<Move> pv;  // the whole principal variation, starting with the best move
};

// How settled the search is when the deepening asks whether to begin another depth.
struct Stability {
    int nextDepth = 1;
    int stableDepths = 0;  // the depths in a row, before the last, whose best move the last kept
    int scoreDrop = 0;     // centipawns the best line lost at the last depth (0 when it held or rose)
};

inline bool deepenAlways(const Stability&) { return true; }

// What a long search says between its lines, so that a GUI never waits long without a word:
// from kCurrentMoveAfter on each root move as it is begun, and after any kProgressInterval
// without a report its counts.
struct Progress {
    int depth = 0;
    std::optional<Move> currentMove;  // none: the counts alone
    int currentMoveNumber = 0;        // from 1, in the order the depth searches its moves
    std::uint64_t nodes = 0;
    std::chrono::milliseconds time{0};
    int hashfull = 0;  // per mille
};
inline constexpr std::chrono::milliseconds kCurrentMoveAfter{3000};
inline constexpr std::chrono::milliseconds kProgressInterval{1000};

class History;
class Network;

class Searcher {
public:
    explicit Searcher(std::size_t hashMegabytes = 16);
    ~Searcher();
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    // The table, and what each thread's history learnt in the searches before: both live from
    // move to move of a game. Resizing the table clears both too.
    void resizeHash(std::size_t megabytes);
    void clearHash();
    void setThreads(std::size_t count);  // shared-table parallel search; 1 = single thread
    // The evaluation of the searches to come: the network's, shared read-only by the threads,
    // or (null) the hand-written one. Another one clears the table and the histories, which
    // hold the evaluations and corrections of the one before.
    void setNetwork(std::shared_ptr<const Network> network);

    // Deepens from depth 1; after each finished depth calls `report` for each line, then asks
    // `mayDeepen` whether to begin the next (the caller's soft time limit, which may weigh how
    // settled the search is). Between the lines of a long search it calls `progress`.
    // Ends at once (within about a millisecond) when `stop` becomes true or when `limits` are
    // met. Returns the best move of the deepest depth searched (a partially searched depth's
    // move counts if it was searched first or scored better); a legal move whenever one exists,
    // even when stopped during depth 1; none only when the side to move has no legal move. Not
    // reentrant: one search at a time per Searcher.
    std::optional<Move> search(const Position& position, const Limits& limits, const std::atomic<bool>& stop,
                               const std::function<bool(const Stability&)>& mayDeepen,
                               const std::function<void(const Report&)>& report,
                               const std::function<void(const Progress&)>& progress = {});

private:
    void clearHistories();

    std::unique_ptr<TranspositionTable> table_;
    std::vector<std::unique_ptr<History>> histories_;  // one a thread, the main thread's first
    std::shared_ptr<const Network> network_;
};

}  // namespace vek::engine
