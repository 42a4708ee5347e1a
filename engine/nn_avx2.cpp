// Only these functions are compiled for AVX2 (by their target attribute, not a build flag), so
// that the rest of the program runs on any x86-64. MinGW's GCC may spill 256-bit registers with
// aligned moves to a stack that Windows aligns to 16 bytes only: the Windows build assembles
// this file with unaligned moves instead (engine/CMakeLists.txt).
#include "engine/nn_avx2.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace vek::engine {
namespace {

#define VEK_AVX2 __attribute__((target("avx2")))

VEK_AVX2 __m256i load(const std::int16_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }

VEK_AVX2 void updateAvx2(const std::int16_t* previous, std::int16_t* next, const std::int16_t* const* added,
                         int addedCount, const std::int16_t* const* removed, int removedCount, std::size_t size) {
    for (std::size_t i = 0; i < size; i += 16) {
        __m256i sum = load(previous + i);
        for (int row = 0; row < addedCount; ++row)
            sum = _mm256_add_epi16(sum, load(added[row] + i));
        for (int row = 0; row < removedCount; ++row)
            sum = _mm256_sub_epi16(sum, load(removed[row] + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(next + i), sum);
    }
}

VEK_AVX2 std::int32_t weighClippedAvx2(const std::int16_t* values, const std::int16_t* weights, std::size_t size) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i top = _mm256_set1_epi16(255);
    __m256i sum = zero;
    for (std::size_t i = 0; i < size; i += 16) {
        const __m256i clipped = _mm256_min_epi16(_mm256_max_epi16(load(values + i), zero), top);
        sum = _mm256_add_epi32(sum, _mm256_madd_epi16(clipped, load(weights + i)));
    }
    __m128i half = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0xB1));
    return _mm_cvtsi128_si32(half);
}

#undef VEK_AVX2

constexpr SimdKernels kAvx2Kernels{updateAvx2, weighClippedAvx2};

}  // namespace

const SimdKernels& avx2Kernels() { return kAvx2Kernels; }

}  // namespace vek::engine
#endif
