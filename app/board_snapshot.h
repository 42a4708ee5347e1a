#pragma once
// A copy of what the board view and the clock display read: the 64 squares' figures, the
// picked-up figure's square with its targets, and the two clocks. The window takes one when the
// engine starts and paints from it while the search makes and takes back trial moves on the
// live board; otherwise it paints from a fresh copy of the live board.

#include <array>
#include <cstddef>
#include <optional>

#include "chess/board.h"

namespace chessapp {

// What one square shows.
struct SquareView {
    bool occupied = false;
    vek::chess::Colour colour = vek::chess::WHITE;
    vek::chess::FigureKind kind = vek::chess::PAWN;
};

// A plain value: safe to read on the window thread while another thread changes the board.
struct BoardSnapshot {
    std::array<SquareView, 64> squares{};  // by squareIndex
    std::optional<vek::chess::Square> selected;
    std::array<vek::chess::Square, vek::chess::FigureMoves::kCapacity> targets{};
    std::size_t targetCount = 0;
    vek::chess::PlayerClock whiteClock;
    vek::chess::PlayerClock blackClock;

    // The copy of `board` and of the figure picked up on it (none: nothing picked up). Reads
    // the board: call it only while no other thread changes the board.
    static BoardSnapshot of(const vek::chess::Board& board, const vek::chess::Figure* selected);
};

// Decides which position the window shows: the copy frozen at the engine's start while the
// engine runs, the live board otherwise. Used on the window thread only.
class BoardViewSource {
public:
    // Keeps a copy of the board as it is now; call before the engine thread starts.
    void freeze(const vek::chess::Board& board, const vek::chess::Figure* selected);
    // Back to the live board; call once the engine thread has ended.
    void thaw() { frozen_.reset(); }
    bool isFrozen() const { return frozen_.has_value(); }
    // The frozen copy, or a fresh copy of the live board.
    BoardSnapshot current(const vek::chess::Board& board, const vek::chess::Figure* selected) const;

private:
    std::optional<BoardSnapshot> frozen_;
};

}  // namespace chessapp
