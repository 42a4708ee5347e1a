#include <array>
#include <bit>
#include <optional>

#include "chess/board.h"

namespace vek::chess {
namespace {

// The score that a finished game fixes, or that a king left attacked by its own side's move
// gives away; none while the position is to be counted.
std::optional<std::int32_t> decidedScore(GameState state, Colour sideToMove) {
    switch (state) {
    case STALEMATE: return 0;
    case BLACK_WINS: return -MATE_SCORE;
    case WHITE_WINS: return MATE_SCORE;
    case WHITE_IN_CHECK:
        if (sideToMove == BLACK)
            return -MATE_SCORE;
        return std::nullopt;
    case BLACK_IN_CHECK:
        if (sideToMove == WHITE)
            return MATE_SCORE;
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace

// What a target takes is looked up on its capture square, so that an en-passant capture
// counts the passed pawn. Whether the attacked figure is protected plays no part.
std::int32_t Board::figureWeight(const Figure& figure) const {
    const FigureMoves& moves = figure.moves();
    std::int32_t weight = figure.material() + static_cast<std::int32_t>(moves.targetCount);
    if (!moves.canCapture)  // set exactly when some target has a capture square
        return weight;
    for (std::size_t i = 0; i < moves.targetCount; ++i) {
        const Square taken = moves.targets[i].captureSquare;
        if (taken == kNoSquare)  // a quiet target; generation writes no other square off the board
            continue;
        if (const Figure* victim = figureAtIndex(squareIndex(taken)))
            weight += victim->material();
    }
    return weight;
}

std::int32_t Board::weighFigures() const {
    std::array<std::int32_t, 2> weights{};  // by colour: one subtraction instead of a sign per figure
    for (std::uint64_t rest = occupied_; rest != 0; rest &= rest - 1) {
        const Figure& figure = *squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        weights[figure.colour()] += figureWeight(figure);
    }
    return weights[WHITE] - weights[BLACK];
}

void Board::reweighFigures() {
    std::array<std::int32_t, 2> weights{};
    for (std::uint64_t rest = occupied_; rest != 0; rest &= rest - 1) {
        Figure& figure = *squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        figure.setWeight(figureWeight(figure), BoardKey());
        weights[figure.colour()] += figure.weight();
    }
    balance_ = weights[WHITE] - weights[BLACK];
}

std::int32_t Board::evaluate() const {
    if (const std::optional<std::int32_t> decided = decidedScore(state_, sideToMove_))
        return *decided;
    // Once a figure has moved since the refresh, the weights it summed no longer hold.
    return changedSinceRefresh_ == 0 ? balance_ : weighFigures();
}

}  // namespace vek::chess
