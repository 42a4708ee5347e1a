#pragma once
// The two loops the neural evaluation spends its time in, in three forms: plain C++ for any
// processor, SSE2 (every x86-64 has it) and AVX2, chosen at run time where the processor has
// it, so that no build flag makes the program refuse an older processor. Every form gives the
// same numbers: int16 sums wrap alike (modulo 2^16), and the network is checked on loading so
// that the final sums never need to (nn_network.h).

#include <cstddef>
#include <cstdint>

namespace vek::engine {

// The number of int16 values every loop handles at once: a network's hidden size must be a
// multiple of it.
inline constexpr int kSimdWidth = 16;

enum class SimdPath { spPLAIN, spSSE2, spAVX2 };

struct SimdKernels {
    // next = previous + the rows added - the rows removed, `size` values each.
    void (*update)(const std::int16_t* previous, std::int16_t* next, const std::int16_t* const* added,
                   int addedCount, const std::int16_t* const* removed, int removedCount, std::size_t size);
    // The sum of clamp(values[i], 0, 255) × weights[i] over `size` values, in int32.
    std::int32_t (*weighClipped)(const std::int16_t* values, const std::int16_t* weights, std::size_t size);
};

// Whether this processor (and this build's target) runs the path.
bool simdPathSupported(SimdPath path);
// The fastest path this processor runs.
SimdPath fastestSimdPath();
// The kernels of a supported path.
const SimdKernels& simdKernels(SimdPath path);
const char* simdPathName(SimdPath path);

}  // namespace vek::engine
