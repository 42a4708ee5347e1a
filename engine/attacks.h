#pragma once
// Which squares a figure attacks, as bitboards (bit n = square n, a1 = 0 ... h8 = 63): lookup
// tables for the leapers and pawns, rays cut at the first blocker for the sliders. The tables
// are built at compile time.

#include <array>
#include <bit>
#include <cstdint>

#include "chess/types.h"

namespace vek::engine {

using Bitboard = std::uint64_t;

constexpr Bitboard bit(int square) { return Bitboard{1} << square; }
constexpr int fileOf(int square) { return square & 7; }
constexpr int rankOf(int square) { return square >> 3; }

inline constexpr Bitboard kFileA = 0x0101010101010101ULL;
inline constexpr Bitboard kFileH = kFileA << 7;
inline constexpr Bitboard kRank1 = 0xFFULL;

constexpr Bitboard fileMask(int file) { return kFileA << file; }
constexpr Bitboard rankMask(int rank) { return kRank1 << (8 * rank); }

// Removes and returns the lowest square of a non-empty set.
inline int popLowest(Bitboard& set) {
    const int square = std::countr_zero(set);
    set &= set - 1;
    return square;
}

namespace detail {

// The eight directions as column and row steps: the first four run towards higher squares.
inline constexpr std::array<std::array<int, 2>, 8> kDirections{{
    {0, 1}, {1, 0}, {1, 1}, {-1, 1}, {0, -1}, {-1, 0}, {-1, -1}, {1, -1},
}};

constexpr Bitboard stepsFrom(int square, const int (*steps)[2], int count) {
    Bitboard set = 0;
    for (int i = 0; i < count; ++i) {
        const int file = fileOf(square) + steps[i][0];
        const int rank = rankOf(square) + steps[i][1];
        if (file >= 0 && file < 8 && rank >= 0 && rank < 8)
            set |= bit(rank * 8 + file);
    }
    return set;
}

inline constexpr auto kKnight = [] {
    constexpr int steps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    std::array<Bitboard, 64> table{};
    for (int square = 0; square < 64; ++square)
        table[square] = stepsFrom(square, steps, 8);
    return table;
}();

inline constexpr auto kKing = [] {
    constexpr int steps[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
    std::array<Bitboard, 64> table{};
    for (int square = 0; square < 64; ++square)
        table[square] = stepsFrom(square, steps, 8);
    return table;
}();

// [colour][square]: the two squares a pawn of that colour attacks.
inline constexpr auto kPawn = [] {
    constexpr int white[2][2] = {{-1, 1}, {1, 1}};
    constexpr int black[2][2] = {{-1, -1}, {1, -1}};
    std::array<std::array<Bitboard, 64>, 2> table{};
    for (int square = 0; square < 64; ++square) {
        table[chess::WHITE][square] = stepsFrom(square, white, 2);
        table[chess::BLACK][square] = stepsFrom(square, black, 2);
    }
    return table;
}();

// [direction][square]: every square of the ray up to the edge.
inline constexpr auto kRays = [] {
    std::array<std::array<Bitboard, 64>, 8> table{};
    for (int direction = 0; direction < 8; ++direction)
        for (int square = 0; square < 64; ++square) {
            int file = fileOf(square) + kDirections[direction][0];
            int rank = rankOf(square) + kDirections[direction][1];
            while (file >= 0 && file < 8 && rank >= 0 && rank < 8) {
                table[direction][square] |= bit(rank * 8 + file);
                file += kDirections[direction][0];
                rank += kDirections[direction][1];
            }
        }
    return table;
}();

// The ray cut behind its first blocker (which it keeps: it may be taken).
template <int Direction>
Bitboard ray(int square, Bitboard occupied) {
    const Bitboard full = kRays[Direction][square];
    const Bitboard blockers = full & occupied;
    if (blockers == 0)
        return full;
    const int first = Direction < 4 ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
    return full ^ kRays[Direction][first];
}

}  // namespace detail

inline Bitboard knightAttacks(int square) { return detail::kKnight[square]; }
inline Bitboard kingAttacks(int square) { return detail::kKing[square]; }
inline Bitboard pawnAttacks(chess::Colour colour, int square) { return detail::kPawn[colour][square]; }

inline Bitboard rookAttacks(int square, Bitboard occupied) {
    using detail::ray;
    return ray<0>(square, occupied) | ray<1>(square, occupied) | ray<4>(square, occupied) |
           ray<5>(square, occupied);
}

inline Bitboard bishopAttacks(int square, Bitboard occupied) {
    using detail::ray;
    return ray<2>(square, occupied) | ray<3>(square, occupied) | ray<6>(square, occupied) |
           ray<7>(square, occupied);
}

inline Bitboard queenAttacks(int square, Bitboard occupied) {
    return rookAttacks(square, occupied) | bishopAttacks(square, occupied);
}

}  // namespace vek::engine
