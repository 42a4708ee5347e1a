#pragma once
// The random numbers of the position keys, fixed at compile time so that a key means the same
// in every run (and in every thread).

#include <array>
#include <cstdint>

namespace vek::engine::zobrist {

namespace detail {

constexpr std::uint64_t splitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

struct Keys {
    std::array<std::array<std::array<std::uint64_t, 64>, 7>, 2> pieces{};  // [colour][kind][square]
    std::array<std::uint64_t, 16> castling{};                                // by the set of rights
    std::array<std::uint64_t, 8> enPassantFile{};
    std::uint64_t blackToMove = 0;
};

inline constexpr Keys kKeys = [] {
    Keys keys;
    std::uint64_t state = 0x5EED5EED2026ULL;
    for (auto& colour : keys.pieces)
        for (auto& kind : colour)
            for (auto& square : kind)
                square = splitMix(state);
    // The rights are keyed one bit at a time, so that a set's key is the XOR of its bits'.
    std::array<std::uint64_t, 4> rights{};
    for (auto& right : rights)
        right = splitMix(state);
    for (unsigned set = 0; set < 16; ++set)
        for (unsigned right = 0; right < 4; ++right)
            if (set & (1u << right))
                keys.castling[set] ^= rights[right];
    for (auto& file : keys.enPassantFile)
        file = splitMix(state);
    keys.blackToMove = splitMix(state);
    return keys;
}();

}  // namespace detail

inline std::uint64_t piece(int colour, int kind, int square) { return detail::kKeys.pieces[colour][kind][square]; }
inline std::uint64_t castling(unsigned rights) { return detail::kKeys.castling[rights]; }
inline std::uint64_t enPassant(int square) { return detail::kKeys.enPassantFile[square & 7]; }
inline std::uint64_t blackToMove() { return detail::kKeys.blackToMove; }

}  // namespace vek::engine::zobrist
