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

// Writes the history entries after index lastWritten (-1: none written yet) into the lines, two
// half-moves to a line, and returns the index of the last entry written.
std::int64_t writeNewMoves(const vek::chess::Board& board, std::int64_t lastWritten, MoveListLines& lines);

}  // namespace chessapp
