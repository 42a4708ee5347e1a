#pragma once
// Unsigned numbers as little-endian bytes: the byte order of the network and data files on
// every platform.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vek::engine {

template <std::unsigned_integral Number>
void putLittleEndian(std::span<std::uint8_t> bytes, std::size_t at, Number value) {
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::unsigned_integral Number>
Number getLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
    Number value = 0;
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        value = static_cast<Number>(value | static_cast<Number>(Number{bytes[at + i]} << (8 * i)));
    return value;
}

}  // namespace vek::engine
