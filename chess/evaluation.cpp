#include <array>
#include <bit>
#include <optional>

#include "chess/board.h"
#include "chess/figures.h"

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

// The value of the figure's own class, without a virtual call: the evaluation runs after
// every trial move.
constexpr std::array<int, 7> kValueByKind{0, 0, Knight::kValue, Bishop::kValue, Rook::kValue, Queen::kValue, King::kValue};

int valueOf(const Figure& figure) {
    const FigureKind kind = figure.kindCode();
    return kind == PAWN ? Pawn::valueOn(figure.colour(), figure.square().row)
                        : kValueByKind[static_cast<std::size_t>(kind)];
}

// Material, mobility and attacked material of one figure. What a target takes is looked up
// on its capture square, so that an en-passant capture counts the passed pawn. Whether the
// attacked figure is protected plays no part.
std::int32_t figureWeight(const Board& board, const Figure& figure) {
    const FigureMoves& moves = figure.moves();
    std::int32_t weight = valueOf(figure) + static_cast<std::int32_t>(moves.targetCount);
    if (!moves.canCapture)  // set exactly when some target has a capture square
        return weight;
    for (std::size_t i = 0; i < moves.targetCount; ++i) {
        const Square taken = moves.targets[i].captureSquare;
        if (taken == kNoSquare)  // a quiet target; generation writes no other square off the board
            continue;
        if (const Figure* victim = board.figureAtIndex(squareIndex(taken)))
            weight += valueOf(*victim);
    }
    return weight;
}

}  // namespace

std::int32_t Board::evaluate() const {
    if (const std::optional<std::int32_t> decided = decidedScore(state_, sideToMove_))
        return *decided;
    std::int32_t score = 0;
    for (std::uint64_t rest = occupied_; rest != 0; rest &= rest - 1) {
        const Figure& figure = *squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        const std::int32_t weight = figureWeight(*this, figure);
        score += figure.colour() == WHITE ? weight : -weight;
    }
    return score;
}

}  // namespace vek::chess
