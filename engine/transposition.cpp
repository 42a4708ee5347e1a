#include "engine/transposition.h"

#include <algorithm>

namespace vek::engine {
namespace {

// The data word: move (from 6, to 6, promotion 3 bits), score (16), depth (8), bound (2),
// generation (6), static evaluation (16).
std::uint64_t pack(Move move, int score, int eval, int depth, Bound bound, std::uint8_t generation) {
    const std::uint64_t moveBits = std::uint64_t{move.from} | std::uint64_t{move.to} << 6 |
                                   static_cast<std::uint64_t>(move.promotion) << 12;
    return moveBits | static_cast<std::uint64_t>(static_cast<std::uint16_t>(score)) << 16 |
           static_cast<std::uint64_t>(static_cast<std::uint8_t>(depth)) << 32 |
           static_cast<std::uint64_t>(bound) << 40 | static_cast<std::uint64_t>(generation) << 42 |
           static_cast<std::uint64_t>(static_cast<std::uint16_t>(eval)) << 48;
}

Move moveOf(std::uint64_t data) {
    return Move{static_cast<std::uint8_t>(data & 63), static_cast<std::uint8_t>((data >> 6) & 63),
                static_cast<std::int8_t>((data >> 12) & 7)};
}
int scoreOf(std::uint64_t data) { return static_cast<std::int16_t>((data >> 16) & 0xFFFF); }
int depthOf(std::uint64_t data) { return static_cast<std::int8_t>((data >> 32) & 0xFF); }
Bound boundOf(std::uint64_t data) { return static_cast<Bound>((data >> 40) & 3); }
std::uint8_t generationOf(std::uint64_t data) { return static_cast<std::uint8_t>((data >> 42) & 63); }
int evalOf(std::uint64_t data) { return static_cast<std::int16_t>(data >> 48); }

}  // namespace

TranspositionTable::TranspositionTable(std::size_t megabytes) { resize(megabytes); }

void TranspositionTable::resize(std::size_t megabytes) {
    bucketCount_ = std::max<std::size_t>(1, megabytes * 1024 * 1024 / sizeof(Bucket));
    buckets_.reset();  // the old table goes first: never both at once
    buckets_ = std::make_unique<Bucket[]>(bucketCount_);  // zeroed here, not at the first search
}

void TranspositionTable::clear() {
    for (std::size_t i = 0; i < bucketCount_; ++i) {
        for (Slot& slot : buckets_[i].slots) {
            slot.check.store(0, std::memory_order_relaxed);
            slot.data.store(0, std::memory_order_relaxed);
        }
    }
    generation_ = 0;
}

TranspositionTable::Slot* TranspositionTable::bucketOf(std::uint64_t key) const {
    return buckets_[static_cast<std::size_t>(((key >> 32) * bucketCount_) >> 32)].slots.data();
}

std::optional<TableEntry> TranspositionTable::probe(std::uint64_t key, int ply) const {
    const Slot* bucket = bucketOf(key);
    for (std::size_t i = 0; i < kBucketSize; ++i) {
        const std::uint64_t data = bucket[i].data.load(std::memory_order_relaxed);
        if ((bucket[i].check.load(std::memory_order_relaxed) ^ data) != key || data == 0)
            continue;
        int score = scoreOf(data);
        if (score > kMateBound)
            score -= ply;
        else if (score < -kMateBound)
            score += ply;
        return TableEntry{moveOf(data), score, evalOf(data), depthOf(data), boundOf(data)};
    }
    return std::nullopt;
}

void TranspositionTable::store(std::uint64_t key, int ply, Move move, int score, int eval, int depth, Bound bound) {
    Slot* bucket = bucketOf(key);
    // The slot of the same position, else the one least worth keeping: shallow and old.
    Slot* target = &bucket[0];
    int worst = 1 << 20;
    for (std::size_t i = 0; i < kBucketSize; ++i) {
        const std::uint64_t data = bucket[i].data.load(std::memory_order_relaxed);
        if ((bucket[i].check.load(std::memory_order_relaxed) ^ data) == key) {
            // A much shallower bound of this search (another thread's, or the quiescence
            // search's) would only lose what the deeper one knew.
            if (bound != bdEXACT && depth + 2 < depthOf(data) && generationOf(data) == generation_)
                return;
            target = &bucket[i];
            // A result without a move keeps the move found before.
            if (move == kNoMove)
                move = moveOf(data);
            break;
        }
        const int age = (generation_ - generationOf(data)) & 63;
        const int worth = depthOf(data) - 8 * age;
        if (data == 0 || worth < worst) {
            worst = data == 0 ? -(1 << 20) : worth;
            target = &bucket[i];
        }
    }
    if (score > kMateBound)
        score += ply;
    else if (score < -kMateBound)
        score -= ply;
    const std::uint64_t data = pack(move, score, eval, std::clamp(depth, -1, 127), bound, generation_);
    target->check.store(key ^ data, std::memory_order_relaxed);
    target->data.store(data, std::memory_order_relaxed);
}

int TranspositionTable::hashfull() const {
    const std::size_t sample = std::min<std::size_t>(1000, bucketCount_ * kBucketSize);
    int used = 0;
    for (std::size_t i = 0; i < sample; ++i) {
        const std::uint64_t data = buckets_[i / kBucketSize].slots[i % kBucketSize].data.load(std::memory_order_relaxed);
        if (data != 0 && generationOf(data) == generation_)
            ++used;
    }
    return static_cast<int>(used * 1000 / static_cast<int>(sample));
}

}  // namespace vek::engine
