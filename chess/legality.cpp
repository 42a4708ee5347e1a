#include "chess/board.h"

namespace vek::chess {

bool Board::isMoveRejected(const Figure* figure, Square from, Square to, int promotionKind) const {
    if (!isGameRunning(state_) || !figure || figure->colour() != sideToMove_)
        return true;
    const bool pawn = figure->kind() == PAWN;
    const bool lastRow = to.row == 1 || to.row == 8;
    if (promotionKind > 0) {
        if (promotionKind < KNIGHT || promotionKind > QUEEN || !pawn || !lastRow)
            return true;
    } else if (pawn && lastRow) {  // a promotion needs a kind
        return true;
    }
    if (!figure->moves().hasTarget(to))
        return true;
    if (figure->kind() == KING)  // its targets are safe already
        return false;
    const King* king = kingOf(sideToMove_);
    return king && king->findCheckingFigure(from, to);
}

}  // namespace vek::chess
