#pragma once
// The figures' square tables: what a figure's placement is worth beside its material, in the
// middlegame and the endgame.

#include <array>
#include <cstdlib>

#include "engine/weight.h"

namespace vek::engine::squares {

// Square tables from White's side, written with the eighth row first as a diagram reads.
using Table = std::array<int, 64>;

inline constexpr Table kPawnMg{
      0,   0,   0,   0,   0,   0,   0,   0,
     30,  30,  30,  35,  35,  30,  30,  30,
     10,  12,  18,  25,  25,  18,  12,  10,
      4,   6,  10,  20,  20,  10,   6,   4,
      0,   0,   5,  16,  16,   5,   0,   0,
      2,  -2,  -4,   4,   4,  -4,  -2,   2,
      2,   4,   4, -14, -14,   4,   4,   2,
      0,   0,   0,   0,   0,   0,   0,   0};
inline constexpr Table kPawnEg{
      0,   0,   0,   0,   0,   0,   0,   0,
     50,  50,  50,  50,  50,  50,  50,  50,
     30,  30,  30,  30,  30,  30,  30,  30,
     15,  15,  15,  15,  15,  15,  15,  15,
      5,   5,   5,   5,   5,   5,   5,   5,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0};
inline constexpr Table kKnightMg{
    -50, -35, -25, -20, -20, -25, -35, -50,
    -30, -15,   0,   5,   5,   0, -15, -30,
    -20,   5,  12,  18,  18,  12,   5, -20,
    -15,   5,  15,  22,  22,  15,   5, -15,
    -15,   0,  15,  20,  20,  15,   0, -15,
    -20,   5,  10,  12,  12,  10,   5, -20,
    -30, -15,   0,   5,   5,   0, -15, -30,
    -50, -30, -20, -20, -20, -20, -30, -50};
inline constexpr Table kBishopMg{
    -20, -10, -10, -10, -10, -10, -10, -20,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10,   0,   5,  10,  10,   5,   0, -10,
    -10,   5,   5,  10,  10,   5,   5, -10,
    -10,   0,  10,  10,  10,  10,   0, -10,
    -10,  10,  10,  10,  10,  10,  10, -10,
    -10,   8,   0,   0,   0,   0,   8, -10,
    -20, -10, -12, -10, -10, -12, -10, -20};
inline constexpr Table kRookMg{
      0,   0,   0,   0,   0,   0,   0,   0,
     15,  20,  20,  20,  20,  20,  20,  15,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,  -5,   0,   8,   8,   5,  -5,  -5};
inline constexpr Table kQueenMg{
    -20, -10, -10,  -5,  -5, -10, -10, -20,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10,   0,   5,   5,   5,   5,   0, -10,
     -5,   0,   5,   5,   5,   5,   0,  -5,
     -5,   0,   5,   5,   5,   5,   0,  -5,
    -10,   5,   5,   5,   5,   5,   0, -10,
    -10,   0,   5,   0,   0,   0,   0, -10,
    -20, -10, -10,  -5,  -5, -10, -10, -20};
inline constexpr Table kKingMg{
    -30, -40, -40, -50, -50, -40, -40, -30,
    -30, -40, -40, -50, -50, -40, -40, -30,
    -30, -40, -40, -50, -50, -40, -40, -30,
    -30, -40, -40, -50, -50, -40, -40, -30,
    -20, -30, -30, -40, -40, -30, -30, -20,
    -10, -20, -20, -25, -25, -20, -20, -10,
     10,  10,  -5, -15, -15,  -5,  10,  10,
     20,  30,  10, -10,   0, -10,  30,  20};

// The endgame wants the figures, the king above all, near the centre: `step` per square of
// distance from it.
constexpr Table centralised(int step) {
    Table table{};
    for (int square = 0; square < 64; ++square) {
        const int file = square & 7;
        const int rank = square >> 3;
        const int distance = (std::abs(2 * file - 7) + std::abs(2 * rank - 7)) / 2;  // 1 to 7
        table[static_cast<std::size_t>(square)] = step * (3 - distance);
    }
    return table;
}

inline constexpr Table kRookEg = [] {
    Table table{};
    for (int square = 8; square < 16; ++square)
        table[static_cast<std::size_t>(square)] = 12;
    return table;
}();

inline constexpr Table kKnightEg = centralised(8);
inline constexpr Table kBishopEg = centralised(6);
inline constexpr Table kQueenEg = centralised(6);
inline constexpr Table kKingEg = centralised(12);

// [kind][square], from White's side (a1 = 0): the tables above, whose diagrams put row 8 first.
constexpr std::array<std::array<Weight, 64>, 7> byKind() {
    const std::array<const Table*, 7> mg{nullptr, &kPawnMg, &kKnightMg, &kBishopMg, &kRookMg, &kQueenMg, &kKingMg};
    const std::array<const Table*, 7> eg{nullptr, &kPawnEg, &kKnightEg, &kBishopEg, &kRookEg, &kQueenEg, &kKingEg};
    std::array<std::array<Weight, 64>, 7> weights{};
    for (std::size_t kind = 1; kind < 7; ++kind)
        for (std::size_t square = 0; square < 64; ++square)
            weights[kind][square] = {(*mg[kind])[square ^ 56], (*eg[kind])[square ^ 56]};
    return weights;
}

}  // namespace vek::engine::squares
