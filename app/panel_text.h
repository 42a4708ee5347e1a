#pragma once
// The texts that the side panel shows: the evaluation label and the move list lines. Each
// function reads the board: call it only while no other thread changes the board.

#include <cstddef>
#include <cstdint>

#include "chess/board.h"
#include "foundation/string.h"

namespace chessapp {

// The evaluation in decimal, a blank and the status text while the game runs (check included);
// the status text alone otherwise. Tagged as OEM text, like the status texts.
vek::STRING evaluationText(const vek::chess::Board& board);

// The lines of the move list, as the list box offers them.
class MoveListLines {
public:
    virtual ~MoveListLines() = default;
    virtual std::size_t lineCount() const = 0;
    // The text of an existing line.
    virtual vek::STRING line(std::size_t index) const = 0;
    // Replaces an existing line, keeping its place.
    virtual void replaceLine(std::size_t index, const vek::STRING& text) = 0;
    virtual void addLine(const vek::STRING& text) = 0;
};

// The window's caption while the engine thinks: the idle caption, then the root move being
// scored of all (at most `total`; a move scored again does not count past it) and the time
// taken, e.g. "Chess - Rechner denkt: Zug 7 von 20, 0:12". Windows code page.
vek::STRING thinkingCaption(const vek::STRING& idleCaption, std::uint32_t scored, std::uint32_t total,
                            std::int32_t elapsedMs);

// The "Stop" button's caption while the engine thinks: its idle caption and the root move being
// scored of all, e.g. "Stop 7/20", for a window without a visible caption.
vek::STRING thinkingButtonCaption(const vek::STRING& idleCaption, std::uint32_t scored, std::uint32_t total);

// Writes the history entries after index lastWritten (-1: none written yet) into the lines, two
// half-moves to a line, and returns the index of the last entry written.
std::int64_t writeNewMoves(const vek::chess::Board& board, std::int64_t lastWritten, MoveListLines& lines);

}  // namespace chessapp
