#include "chess/board.h"

namespace vek::chess {

void Board::markMoved(Square s) {
    Figure* figure = figureAt(s);
    if (!figure)
        return;
    figure->setMoved(BoardKey());
    refresh();
}

bool Board::recordDoubleStep(Square to) {
    Figure* pawn = figureAt(to);
    if (!pawn || pawn->kind() != PAWN || pawn->colour() == sideToMove_)
        return false;
    const bool white = pawn->colour() == WHITE;
    if (to.row != (white ? 4 : 5))
        return false;
    const auto back = static_cast<std::int8_t>(white ? -1 : 1);
    const Square passed{to.column, static_cast<std::int8_t>(to.row + back)};
    const Square from{to.column, static_cast<std::int8_t>(to.row + 2 * back)};
    if (figureAt(passed) || figureAt(from))
        return false;
    Move& entry = appendHistory();
    entry.figure = pawn;
    entry.from = from;
    entry.to = to;
    pawn->setMoved(BoardKey());
    refresh();
    entry.stateAfter = state_;
    return true;
}

}  // namespace vek::chess
