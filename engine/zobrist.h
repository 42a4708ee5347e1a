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

// The file of the standard rook of a right: h for the king side (even rights), a for the queen side.
constexpr std::size_t cornerFile(std::size_t right) { return right % 2 == 0 ? 7 : 0; }

struct Keys {
    std::array<std::array<std::array<std::uint64_t, 64>, 7>, 2> pieces{};  // [colour][kind][square]
    // [right][the file of its rook]: white king side, white queen side, black king side,
    // black queen side, as the bits of Position::castling() count them.
    std::array<std::array<std::uint64_t, 8>, 4> castlingRook{};
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
    // The rights are keyed one at a time, so that a set's key is the XOR of its rights'; a
    // right's key depends on its rook's file, as Chess960 may give a side two rooks that
    // could be the one. The rooks of standard chess, in the corners, are keyed first, so that
    // their keys stay those of the standard rules alone.
    for (std::size_t right = 0; right < 4; ++right)
        keys.castlingRook[right][cornerFile(right)] = splitMix(state);
    for (auto& file : keys.enPassantFile)
        file = splitMix(state);
    keys.blackToMove = splitMix(state);
    for (std::size_t right = 0; right < 4; ++right)
        for (std::size_t file = 0; file < 8; ++file)
            if (file != cornerFile(right))
                keys.castlingRook[right][file] = splitMix(state);
    return keys;
}();

}  // namespace detail

inline std::uint64_t piece(int colour, int kind, int square) { return detail::kKeys.pieces[colour][kind][square]; }
// The key of one castling right (0 to 3, see Keys) whose rook stands on `file`.
inline std::uint64_t castlingRook(int right, int file) { return detail::kKeys.castlingRook[right][file]; }
inline std::uint64_t enPassant(int square) { return detail::kKeys.enPassantFile[square & 7]; }
inline std::uint64_t blackToMove() { return detail::kKeys.blackToMove; }

}  // namespace vek::engine::zobrist
