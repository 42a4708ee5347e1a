#pragma once
// A move of the engine's own board: two squares and a promotion, nothing the board can tell
// by itself (capture, castling and en passant are read from the position it is played in).

#include <cstdint>

namespace vek::engine {

// a1 = 0 ... h8 = 63. Castling is the king's move of two columns; `promotion` is the
// chess::FigureKind of the new figure (KNIGHT to QUEEN), or 0.
struct Move {
    std::uint8_t from = 0;
    std::uint8_t to = 0;
    std::int8_t promotion = 0;

    friend bool operator==(const Move&, const Move&) = default;
};

// "No move", for empty table slots and killer entries: a1a1 is never a move.
inline constexpr Move kNoMove{};

}  // namespace vek::engine
