#include "winlib/dpi_scale.h"

#include <cstdint>

namespace winlib {

int scaleForDpi(int value, int dpi) {
    if (dpi <= 0 || dpi == kBaseDpi)
        return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = kBaseDpi / 2;
    const std::int64_t scaled = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
    // A definition's numbers fit 32 bits; scaled up they may not: clamp rather than wrap.
    if (scaled > INT32_MAX)
        return INT32_MAX;
    if (scaled < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(scaled);
}

}  // namespace winlib
