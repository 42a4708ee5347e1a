#include "uci/engine_game.h"

namespace vek::uci {

engine::Position enginePosition(const StandardPosition& start, const std::vector<StandardMove>& moves) {
    engine::Position position = engine::Position::fromSquares(start.squares, start.side, start.castling, start.enPassant,
                                                              start.halfmoveClock, start.fullmoveNumber);
    for (const StandardMove move : moves)
        position.play(engineMove(move));
    return position;
}

}  // namespace vek::uci
