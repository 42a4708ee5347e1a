#include "app/move_input.h"

#include "chess/figures.h"
#include "chess/king.h"

namespace chessapp {
namespace {

using vek::chess::Figure;
using vek::chess::Square;

// A pawn one step before its last row: the player must choose its new figure beforehand.
bool isAboutToPromote(const Figure& figure) {
    if (figure.kind() != vek::chess::PAWN)
        return false;
    return figure.square().row == (figure.colour() == vek::chess::WHITE ? 7 : 2);
}

constexpr ClickResult kPlayed{true, paHIDE, true};
constexpr ClickResult kDropped{true, paHIDE, false};
constexpr ClickResult kKept{true, paKEEP, false};

}  // namespace

std::int32_t PromotionPanel::choice() const {
    if (!visible)
        return 0;
    if (bishopChecked)
        return vek::chess::BISHOP;
    if (knightChecked)
        return vek::chess::KNIGHT;
    if (rookChecked)
        return vek::chess::ROOK;
    if (queenChecked)
        return vek::chess::QUEEN;
    return 0;
}

ClickResult MoveInput::release(const BoardGeometry& geometry, std::uint32_t x, std::uint32_t y,
                               const PromotionPanel& panel) {
    const std::optional<Square> target = squareAtPoint(geometry, x, y);
    return target ? releaseOn(*target, panel) : ClickResult{};
}

ClickResult MoveInput::releaseOn(Square target, const PromotionPanel& panel) {
    return selected_ ? tryMove(target, panel) : pickUp(target);
}

void MoveInput::startNewGame() {
    selected_ = nullptr;
    board_.newGame();
}

ClickResult MoveInput::pickUp(Square target) {
    selected_ = board_.figureAt(target);
    if (!selected_)
        return kKept;
    if (selected_->colour() != board_.sideToMove()) {
        selected_ = nullptr;
        return kDropped;
    }
    return isAboutToPromote(*selected_) ? ClickResult{true, paSHOW, false} : kKept;
}

ClickResult MoveInput::tryMove(Square target, const PromotionPanel& panel) {
    const Square from = selected_->square();
    const std::int32_t kind = panel.choice();
    if (board_.isMoveRejected(selected_, from, target, kind)) {
        if (target == from)
            return kKept;
        selected_ = nullptr;
        return kDropped;
    }
    if (!play(from, target, kind, panel))
        return kKept;
    selected_ = nullptr;
    return kPlayed;
}

bool MoveInput::play(Square from, Square target, std::int32_t promotionKind, const PromotionPanel& panel) {
    if (selected_->kind() == vek::chess::KING && playCastling(target))
        return true;
    if (panel.visible) {
        if (promotionKind == 0)  // no figure chosen yet: the pawn stays picked up
            return false;
        board_.playPromotion(selected_, from, static_cast<vek::chess::FigureKind>(promotionKind), target);
        return true;
    }
    vek::chess::Move move;
    move.figure = selected_;
    move.from = from;
    move.to = target;
    board_.playMove(move);
    return true;
}

bool MoveInput::playCastling(Square target) {
    auto& king = static_cast<vek::chess::King&>(*selected_);
    for (const vek::chess::CastlingOption* option : {&king.queenSide(), &king.kingSide()}) {
        // An option without a rook cannot be played as a castling.
        if (option->kingTarget == target && option->rook) {
            board_.playCastling(&king, target, option->rook, option->rookTarget);
            return true;
        }
    }
    return false;
}

}  // namespace chessapp
