#pragma once
// The engine's turn without the thread around it: search, play the chosen move and save the
// new position. Runs on the engine thread while the window leaves the board alone; the search
// ends early when the calling thread's stop flag is set (a registered vek::Thread).

#include <atomic>
#include <cstdint>

#include "app/game_file_writer.h"
#include "app/game_files.h"
#include "chess/board.h"
#include "foundation/string.h"

namespace chessapp {

enum EngineOutcome {
    eoPLAYED,   // a move was played
    eoNO_MOVE,  // the side to move had no move: nothing played, the search set the final state
    eoFAILED,   // the search failed (memory ran out): the board is as it was before, nothing saved
};

// What the engine's turn came to, for the window: the move's outcome, and whether its position
// reached the game file.
struct EngineResult {
    EngineOutcome outcome = eoFAILED;
    WriteFault saveFault = wfNONE;  // the game file could not be written (and why)
};

struct EngineAnswer {
    EngineOutcome outcome = eoNO_MOVE;
    vek::STRING savedText;  // the 65 characters to save after a played move, else empty
};

// The root moves that a search of the side to move scores: the answers to a check, or every move.
std::uint32_t rootMoveCount(const vek::chess::Board& board);

// Searches `depth` plies for the side to move and plays one of the best moves as a game move.
EngineAnswer playEngineMove(vek::chess::Board& board, std::int32_t depth);

// The whole task: playEngineMove, then the new position saved as the game file and the next
// numbered copy, unless `closing` is set by the time the move is found (the window is closing:
// a move the player never saw is not saved). A search or move that fails, and a save that fails,
// are reported, not thrown.
EngineResult runEngineTask(vek::chess::Board& board, std::int32_t depth, GameFiles& files,
                            const std::atomic<bool>& closing);

}  // namespace chessapp
