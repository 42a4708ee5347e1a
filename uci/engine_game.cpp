#include "uci/engine_game.h"

#include <algorithm>
#include <cstdlib>

#include "uci/long_algebraic.h"

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

std::optional<engine::Move> legalMove(const engine::Position& position, std::string_view text) {
    const std::optional<engine::Move> move = parseMove(text);
    if (!move)
        return std::nullopt;
    const std::vector<engine::Move> legal = position.legalMoves();
    if (std::find(legal.begin(), legal.end(), *move) != legal.end())
        return move;
    const int king = position.pieceAt(move->from);
    if (position.isChess960() || std::abs(king) != chess::KING || position.pieceAt(move->to) != (king > 0 ? chess::ROOK : -chess::ROOK))
        return std::nullopt;
    const auto castling = std::find_if(legal.begin(), legal.end(), [&](engine::Move candidate) {
        return candidate.from == move->from && std::abs(candidate.to - candidate.from) == 2 &&
               (candidate.to > candidate.from) == (move->to > move->from);
    });
    return castling == legal.end() ? std::nullopt : std::optional<engine::Move>(*castling);
}

}  // namespace vek::uci
