#pragma once
// The game file in the user's temporary directory: its names, the text saved in it and the
// start-up decision that turns its content into a position.

#include <cstdint>
#include <optional>

#include "chess/board.h"
#include "foundation/platform.h"
#include "foundation/string.h"

namespace chessapp {

// The value of an environment variable; none when it is not set.
using EnvironmentLookup = std::optional<vek::STRING> (*)(const char* name);

// The names of the game file and of its numbered copies for one run. The names are computed on
// first use and kept; the window computes gameFileName before any engine thread exists, after
// which the engine thread alone uses this object.
class GameFiles {
public:
    explicit GameFiles(EnvironmentLookup lookup = vek::environmentVariable) : lookup_(lookup) {}

    // TMP, else TEMP, with a trailing backslash ("\" when neither is set). The folder keeps
    // every letter of the user's name: it is UTF-8 when code page 1252 lacks one.
    const vek::STRING& tempDirectory();
    // tempDirectory + "chess.txt".
    const vek::STRING& gameFileName();
    // tempDirectory + "chess" + N + ".txt" with N = 1, 2, ... counting the calls of this run.
    vek::STRING numberedGameFileName();

private:
    EnvironmentLookup lookup_;
    vek::STRING tempDirectory_;
    vek::STRING gameFileName_;
    std::uint32_t numberedCount_ = 0;
};

// The text saved for a position: the 64 square letters and "W" or "S" for the side to move,
// exactly 65 characters; empty when it could not be built (memory ran out).
vek::STRING savedPositionText(const vek::chess::Board& board);

// How the game at start-up came about.
enum GameStart {
    gsNEW_GAME,     // no usable game file: the initial layout
    gsEMPTY_BOARD,  // a file of 1 to 63 characters: an empty board without a game
    gsRESTORED,     // the saved position
};

// Sets up `board` from the game file at `path`: a file that is missing, cannot be read, is
// empty or holds a position the board refuses (no king of a colour) gives a new game.
GameStart restoreGame(vek::chess::Board& board, const vek::STRING& path);

}  // namespace chessapp
