#pragma once
// The move list's notation: long algebraic with the German figure letters.

#include <cstddef>
#include <cstdint>

#include "chess/types.h"
#include "foundation/string.h"

namespace vek::chess {

// "B", "S", "L", "T", "D", "K" for pawn to king (upper case); 0 for any other code.
char figureLetter(std::int32_t kind);

// The notation of a history entry, e.g. "Sg1-f3", "e5xd6", "b7xa8D+", "O-O"; empty for an
// entry without a figure.
vek::STRING moveText(const Move& entry);

// How history entry i enters the move list, which shows a move pair per line.
struct MoveListEntry {
    bool extendsLine;  // append `text` to line `line` (Black's answer)
    std::size_t line;  // only for extendsLine
    vek::STRING text;  // ", " and the move; or a whole new last line, "n. " and the move
};

// Black's move extends line i / 2, unless it is the very first entry; any other move starts a
// new line numbered i / 2 + 1, with "..., " before a Black move.
MoveListEntry moveListEntry(std::size_t historyIndex, const Move& entry);

}  // namespace vek::chess
