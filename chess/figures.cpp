#include "chess/figures.h"

#include "chess/board.h"

namespace vek::chess {

FigureMoves& Pawn::generateMoves(FigureMoves& record) {
    record.clear();
    if (!isPlaced())
        return record;
    const bool white = colour() == WHITE;
    const std::size_t from = index();
    const Board& board = this->board();
    const Ray& ahead = rayFrom(from, white ? dNORTH : dSOUTH);
    if (ahead.length > 0 && !board.figureAtIndex(ahead.squares[0])) {
        record.addTarget(squareAt(ahead.squares[0]), kNoSquare);
        if (square().row == (white ? 2 : 7) && !board.figureAtIndex(ahead.squares[1]))
            record.addTarget(squareAt(ahead.squares[1]), kNoSquare);
    }
    addDiagonal(record, rayFrom(from, white ? dNORTH_EAST : dSOUTH_EAST));  // toward column h first
    addDiagonal(record, rayFrom(from, white ? dNORTH_WEST : dSOUTH_WEST));
    if (square().row == (white ? 5 : 4) && lastMoverIsPawn()) {
        addEnPassant(record, -1);
        addEnPassant(record, +1);
    }
    return record;
}

void Pawn::addDiagonal(FigureMoves& record, const Ray& diagonal) const {
    if (diagonal.length == 0)
        return;
    const std::size_t index = diagonal.squares[0];
    record.addCovered(index);
    const Figure* other = board().figureAtIndex(index);
    if (other && other->colour() != colour())
        record.addCapture(squareAt(index), squareAt(index), other->material());
}

// The pawn of either colour: only the double step beside this pawn is looked at below.
bool Pawn::lastMoverIsPawn() const {
    const auto& history = board().history();
    if (history.isEmpty())
        return false;
    const Figure* lastMover = history[history.getCount() - 1].figure;
    return lastMover && lastMover->kindCode() == PAWN;
}

void Pawn::addEnPassant(FigureMoves& record, int columnDelta) const {
    const auto ahead = static_cast<std::int8_t>(colour() == WHITE ? 1 : -1);
    const Square beside = stepBy(square(), static_cast<std::int8_t>(columnDelta), 0);
    if (beside == kNoSquare)
        return;
    const auto& history = board().history();
    const Move& last = history[history.getCount() - 1];
    if (last.to != beside || last.from != stepBy(beside, 0, static_cast<std::int8_t>(2 * ahead)))
        return;
    // The last mover stands there; were the square empty, it would weigh nothing, as on the board.
    const Figure* passed = board().figureAt(beside);
    record.addCapture(stepBy(beside, 0, ahead), beside, passed ? passed->material() : 0);
}

FigureMoves& Knight::generateMoves(FigureMoves& record) {
    return jumps(record);
}

FigureMoves& Bishop::generateMoves(FigureMoves& record) {
    return slide<dNORTH_EAST, dSOUTH_EAST, dSOUTH_WEST, dNORTH_WEST>(record);
}

FigureMoves& Rook::generateMoves(FigureMoves& record) {
    return slide<dNORTH, dEAST, dSOUTH, dWEST>(record);
}

FigureMoves& Queen::generateMoves(FigureMoves& record) {
    return slide<dNORTH, dNORTH_EAST, dEAST, dSOUTH_EAST, dSOUTH, dSOUTH_WEST, dWEST, dNORTH_WEST>(record);
}

}  // namespace vek::chess
