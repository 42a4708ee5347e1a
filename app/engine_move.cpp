#include "app/engine_move.h"

#include "app/game_file_writer.h"

namespace chessapp {

std::uint32_t rootMoveCount(const vek::chess::Board& board) {
    std::size_t checkers = 0;
    const std::size_t evasions = board.listEvasions(checkers).getCount();
    return static_cast<std::uint32_t>(checkers > 0 ? evasions : board.listAllMoves().getCount());
}

EngineAnswer playEngineMove(vek::chess::Board& board, std::int32_t depth) {
    try {
        std::int32_t candidateCount = 0;
        const vek::chess::Move chosen = board.findBestMove(depth, candidateCount, true);
        if (candidateCount == 0)
            return EngineAnswer{eoNO_MOVE, vek::STRING()};
        board.playMove(chosen);
    } catch (...) {
        // Running out of memory, or anything else: the search takes its trial moves back on the
        // way out, whatever is thrown, and a game move reserves its history entry before it
        // touches the board, so the position is as it was. The window must still get its end
        // message and unlock.
        return EngineAnswer{eoFAILED, vek::STRING()};
    }
    return EngineAnswer{eoPLAYED, savedPositionText(board)};
}

EngineResult runEngineTask(vek::chess::Board& board, std::int32_t depth, GameFiles& files,
                           const std::atomic<bool>& closing) {
    const EngineAnswer answer = playEngineMove(board, depth);
    if (closing.load(std::memory_order_acquire))
        return EngineResult{answer.outcome, wfNONE};
    return EngineResult{answer.outcome, saveGame(files, answer.savedText)};
}

}  // namespace chessapp
