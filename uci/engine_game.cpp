#include "uci/engine_game.h"

#include <algorithm>

namespace vek::uci {

engine::Position enginePosition(const PositionSetup& start, const std::vector<engine::Move>& moves) {
    engine::Position position = engine::Position::fromSquares(start.squares, start.side, start.castling, start.castlingRooks,
                                                              start.chess960, start.enPassant, start.halfmoveClock,
                                                              start.fullmoveNumber);
    for (const engine::Move move : moves)
        position.play(move);
    return position;
}

bool isLegal(const engine::Position& position, engine::Move move) {
    const std::vector<engine::Move> legal = position.legalMoves();
    return std::find(legal.begin(), legal.end(), move) != legal.end();
}

}  // namespace vek::uci
