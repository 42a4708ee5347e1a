#include "engine/nn_simd.h"

#include <algorithm>

#include "engine/nn_avx2.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vek::engine {
namespace {

void updatePlain(const std::int16_t* previous, std::int16_t* next, const std::int16_t* const* added, int addedCount,
                 const std::int16_t* const* removed, int removedCount, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        int sum = previous[i];
        for (int row = 0; row < addedCount; ++row)
            sum += added[row][i];
        for (int row = 0; row < removedCount; ++row)
            sum -= removed[row][i];
        next[i] = static_cast<std::int16_t>(sum);  // wraps as the vector forms do
    }
}

std::int32_t weighClippedPlain(const std::int16_t* values, const std::int16_t* weights, std::size_t size) {
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += std::clamp<std::int32_t>(values[i], 0, 255) * weights[i];
    return sum;
}

constexpr SimdKernels kPlainKernels{updatePlain, weighClippedPlain};

#if defined(__SSE2__)
__m128i load(const std::int16_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

void updateSse2(const std::int16_t* previous, std::int16_t* next, const std::int16_t* const* added, int addedCount,
                const std::int16_t* const* removed, int removedCount, std::size_t size) {
    for (std::size_t i = 0; i < size; i += 8) {
        __m128i sum = load(previous + i);
        for (int row = 0; row < addedCount; ++row)
            sum = _mm_add_epi16(sum, load(added[row] + i));
        for (int row = 0; row < removedCount; ++row)
            sum = _mm_sub_epi16(sum, load(removed[row] + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(next + i), sum);
    }
}

std::int32_t weighClippedSse2(const std::int16_t* values, const std::int16_t* weights, std::size_t size) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_set1_epi16(255);
    __m128i sum = zero;
    for (std::size_t i = 0; i < size; i += 8) {
        const __m128i clipped = _mm_min_epi16(_mm_max_epi16(load(values + i), zero), top);
        sum = _mm_add_epi32(sum, _mm_madd_epi16(clipped, load(weights + i)));
    }
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));  // the upper two lanes onto the lower
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));  // lane 1 onto lane 0
    return _mm_cvtsi128_si32(sum);
}

constexpr SimdKernels kSse2Kernels{updateSse2, weighClippedSse2};
#endif

}  // namespace

bool simdPathSupported(SimdPath path) {
    switch (path) {
    case SimdPath::spPLAIN: return true;
#if defined(__SSE2__)
    case SimdPath::spSSE2: return true;
#endif
#if defined(__x86_64__)
    case SimdPath::spAVX2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
#endif
    default: return false;
    }
}

SimdPath fastestSimdPath() {
    for (const SimdPath path : {SimdPath::spAVX2, SimdPath::spSSE2})
        if (simdPathSupported(path))
            return path;
    return SimdPath::spPLAIN;
}

const SimdKernels& simdKernels(SimdPath path) {
    switch (path) {
#if defined(__SSE2__)
    case SimdPath::spSSE2: return kSse2Kernels;
#endif
#if defined(__x86_64__)
    case SimdPath::spAVX2: return avx2Kernels();
#endif
    default: return kPlainKernels;
    }
}

const char* simdPathName(SimdPath path) {
    switch (path) {
    case SimdPath::spSSE2: return "SSE2";
    case SimdPath::spAVX2: return "AVX2";
    default: return "plain C++";
    }
}

}  // namespace vek::engine
