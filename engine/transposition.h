#pragma once
// The transposition table shared by all search threads: what an earlier visit of a position
// found (its best move, a score bound and the depth behind it), keyed by the Zobrist key.
// Entries are written and read without a lock: each is two atomic words, the key stored XOR
// the data, so that a slot torn by two writers never matches a key and is simply missed.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/move.h"

namespace vek::engine {

// Scores of the search, in centipawns; a mate n plies from the root scores kMate - n.
inline constexpr int kMate = 32000;
inline constexpr int kMaxPly = 128;
inline constexpr int kMateBound = kMate - kMaxPly;  // beyond it, a score is a mate

enum Bound : std::uint8_t { bdNONE = 0, bdUPPER = 1, bdLOWER = 2, bdEXACT = 3 };

struct TableEntry {
    Move move;
    int score = 0;  // relative to the probing node's ply, as returned by probe
    int eval = 0;   // the position's static evaluation, kept so that a revisit need not evaluate
    int depth = 0;
    Bound bound = bdNONE;
};

class TranspositionTable {
public:
    explicit TranspositionTable(std::size_t megabytes);

    // Drops every entry and takes the new size (at least one bucket).
    void resize(std::size_t megabytes);
    void clear();
    // A new search: entries of earlier ones become the first to be replaced.
    void nextGeneration() { generation_ = static_cast<std::uint8_t>((generation_ + 1) & 63); }

    // Mate scores are stored by their distance to the node, not to the root, so that a
    // position reached at another ply reads the right distance.
    std::optional<TableEntry> probe(std::uint64_t key, int ply) const;
    void store(std::uint64_t key, int ply, Move move, int score, int eval, int depth, Bound bound);
    // The share of this search's entries among a sample, in per mille.
    int hashfull() const;

private:
    struct Slot {
        std::atomic<std::uint64_t> check{0};  // key XOR data
        std::atomic<std::uint64_t> data{0};
    };
    static constexpr std::size_t kBucketSize = 4;
    // A probe touches one cache line: a bucket fills one and starts on one.
    struct alignas(64) Bucket {
        std::array<Slot, kBucketSize> slots;
    };
    static_assert(sizeof(Bucket) == 64);

    // The bucket of a key, by the key's high half scaled to the count (no division: at most
    // 2^32 buckets).
    Slot* bucketOf(std::uint64_t key) const;

    std::unique_ptr<Bucket[]> buckets_;
    std::size_t bucketCount_ = 0;
    std::uint8_t generation_ = 0;
};

}  // namespace vek::engine
