#pragma once
// The AVX2 kernels of the neural evaluation (x86-64 only), compiled for AVX2 function by
// function and called only where the processor has it (nn_simd.h chooses).

#include "engine/nn_simd.h"

namespace vek::engine {

const SimdKernels& avx2Kernels();

}  // namespace vek::engine
