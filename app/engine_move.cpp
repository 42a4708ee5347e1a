#include "app/engine_move.h"

#include <exception>

#include "app/game_file_writer.h"

namespace chessapp {

EngineAnswer playEngineMove(vek::chess::Board& board, std::int32_t depth) {
    try {
        std::int32_t candidateCount = 0;
        const vek::chess::Move chosen = board.findBestMove(depth, candidateCount, true);
        if (candidateCount == 0)
            return EngineAnswer{eoNO_MOVE, vek::STRING()};
        board.playMove(chosen);
    } catch (const std::exception&) {
        // Running out of memory: the search takes its trial moves back on the way out and a
        // game move reserves its history entry before it touches the board, so the position is
        // as it was. The window must still get its end message and unlock.
        return EngineAnswer{eoFAILED, vek::STRING()};
    }
    return EngineAnswer{eoPLAYED, savedPositionText(board)};
}

EngineOutcome runEngineTask(vek::chess::Board& board, std::int32_t depth, GameFiles& files) {
    const EngineAnswer answer = playEngineMove(board, depth);
    saveGame(files, answer.savedText);
    return answer.outcome;
}

}  // namespace chessapp
