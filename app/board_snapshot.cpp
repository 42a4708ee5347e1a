#include "app/board_snapshot.h"

#include "chess/figure.h"

namespace chessapp {

BoardSnapshot BoardSnapshot::of(const vek::chess::Board& board, const vek::chess::Figure* selected) {
    BoardSnapshot snapshot;
    for (std::size_t index = 0; index < snapshot.squares.size(); ++index) {
        if (const vek::chess::Figure* figure = board.figureAtIndex(index))
            snapshot.squares[index] = SquareView{true, figure->colour(), figure->kind()};
    }
    if (selected && vek::chess::isOnBoard(selected->square())) {  // a captured figure shows nothing
        snapshot.selected = selected->square();
        const vek::chess::FigureMoves& moves = selected->moves();
        snapshot.targetCount = moves.targetCount;
        for (std::size_t i = 0; i < moves.targetCount; ++i)
            snapshot.targets[i] = moves.targets[i].target;
    }
    snapshot.whiteClock = board.whiteClock();
    snapshot.blackClock = board.blackClock();
    return snapshot;
}

void BoardViewSource::freeze(const vek::chess::Board& board, const vek::chess::Figure* selected) {
    frozen_ = BoardSnapshot::of(board, selected);
}

BoardSnapshot BoardViewSource::current(const vek::chess::Board& board, const vek::chess::Figure* selected) const {
    return frozen_ ? *frozen_ : BoardSnapshot::of(board, selected);
}

}  // namespace chessapp
