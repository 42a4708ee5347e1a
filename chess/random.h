#pragma once
// The engine's pseudo-random numbers, used to pick one of several equally scored moves: the
// classic linear congruential sequence state = state * 214013 + 2531011 (mod 2^32), each draw
// being bits 16 to 30 of the new state.

#include <cstddef>
#include <cstdint>

namespace vek::chess {

// One such sequence, as a plain value.
class RandomSequence {
public:
    // Draws lie in 0 .. kRange - 1.
    static constexpr std::int32_t kRange = 32768;

    explicit constexpr RandomSequence(std::uint32_t seed = 0) : state_(seed) {}

    constexpr std::int32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_;
};

// The entry among n (n >= 1) that the draw r selects: r / (32768.0 / n) truncated, which
// spreads the 32768 possible draws evenly over the n entries.
std::size_t pickIndex(std::int32_t r, std::size_t n);

// A draw from the process-wide sequence. The first draw of the process seeds it from the
// calendar time in seconds, unless seedEngineRandom came first. Safe on any thread.
std::int32_t drawEngineRandom();

// Seeds the process-wide sequence now, so that the draws that follow are reproducible; the
// seeding from the calendar time is then no longer due.
void seedEngineRandom(std::uint32_t seed);

}  // namespace vek::chess
