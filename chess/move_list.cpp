#include "chess/move_list.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "chess/board.h"
#include "chess/figures.h"

namespace vek::chess {

void MoveList::addPromotions(const Move& pawnMove) {
    for (const FigureKind kind : {QUEEN, ROOK, KNIGHT, BISHOP}) {
        Move& promotion = append(pawnMove);
        promotion.promotionKind = kind;
    }
}

namespace {

bool isLastRow(Square s) { return s.row == 1 || s.row == 8; }

Move candidate(Figure& figure, Square to, Figure* victim) {
    Move move;
    move.figure = &figure;
    move.from = figure.square();
    move.to = to;
    move.captured = victim;
    move.capturedSquare = victim ? victim->square() : kNoSquare;
    return move;
}

// What a move to this target takes: the figure on the target, or for en passant the passed
// pawn, so that the trial move takes it just as the game move does.
Figure* victimOf(const Board& board, const MoveTarget& target) {
    const bool enPassant = target.captureSquare != kNoSquare && target.captureSquare != target.target;
    return board.figureAt(enPassant ? target.captureSquare : target.target);
}

void appendCandidate(MoveList& list, const Move& move) {
    if (move.figure->kindCode() == PAWN && isLastRow(move.to))
        list.addPromotions(move);
    else
        list.append(move);
}

// Makes a king move onto a castling target the castling that the king's last generation offered.
void addCastlingRook(const King& king, Move& move) {
    const CastlingOption* option = nullptr;
    if (move.to == king.queenSide().kingTarget)
        option = &king.queenSide();
    else if (move.to == king.kingSide().kingTarget)
        option = &king.kingSide();
    else
        return;
    move.castlingRook = option->rook;
    move.rookFrom = option->rook ? option->rook->square() : kNoSquare;
    move.rookTo = option->rookTarget;
}

struct Checkers {
    std::size_t count = 0;
    Figure* first = nullptr;
};

// Every enemy figure counts once for each covered entry on the king's square.
Checkers findCheckers(const Board& board, const King& king) {
    Checkers checkers;
    if (!king.isPlaced())
        return checkers;
    const std::uint64_t kingBit = std::uint64_t{1} << king.index();
    for (std::uint64_t rest = board.occupancy(); rest != 0; rest &= rest - 1) {
        Figure* figure = board.figureAtIndex(static_cast<std::size_t>(std::countr_zero(rest)));
        if (figure->colour() == king.colour())
            continue;
        const FigureMoves& moves = figure->moves();
        if ((moves.coveredSet & kingBit) == 0)
            continue;
        for (std::size_t i = 0; i < moves.coveredCount; ++i) {
            if (moves.covered[i] != king.square())
                continue;
            ++checkers.count;
            if (!checkers.first)
                checkers.first = figure;
        }
    }
    return checkers;
}

// The counter-moves to a single check are handed to `visit` in list order, promotions not yet
// expanded; they stop as soon as visit returns false.

// Every capture of the checker, by square index of the capturer and its target order.
template <typename Visit>
bool visitCaptures(const Board& board, Figure& checker, Visit& visit) {
    for (std::size_t index = 0; index < 64; ++index) {
        Figure* figure = board.figureAtIndex(index);
        if (!figure || figure->colour() == checker.colour() || !figure->moves().canCapture)
            continue;
        const FigureMoves& moves = figure->moves();
        for (std::size_t i = 0; i < moves.targetCount; ++i)
            if (moves.targets[i].captureSquare == checker.square() &&
                !visit(candidate(*figure, moves.targets[i].target, &checker)))
                return false;
    }
    return true;
}

// Every move onto the squares between a line checker and the king, the square next to the king
// first.
template <typename Visit>
void visitBlocks(const Board& board, const King& king, const Figure& checker, Visit& visit) {
    const Step* line = lineStepBetween(king.square(), checker.square());
    const int rowDistance = std::abs(checker.square().row - king.square().row);
    const int columnDistance = std::abs(checker.square().column - king.square().column);
    if (checker.kind() == KNIGHT || !line || std::max(rowDistance, columnDistance) < 2)
        return;
    for (Square s = advance(king.square(), *line); s != kNoSquare && s != checker.square(); s = advance(s, *line))
        for (std::size_t index = 0; index < 64; ++index) {
            Figure* figure = board.figureAtIndex(index);
            if (!figure || figure->colour() == checker.colour())
                continue;
            const FigureMoves& moves = figure->moves();
            for (std::size_t i = 0; i < moves.targetCount; ++i)
                if (moves.targets[i].target == s && !visit(candidate(*figure, s, victimOf(board, moves.targets[i]))))
                    return;
        }
}

template <typename Visit>
void visitCounterMoves(const Board& board, const King& king, Figure& checker, Visit visit) {
    if (visitCaptures(board, checker, visit))
        visitBlocks(board, king, checker, visit);
}

bool holdsMove(const MoveList& list, Square from, Square to) {
    for (const Move& move : list)
        if (move.from == from && move.to == to)
            return true;
    return false;
}

}  // namespace

MoveList Board::listAllMoves() const {
    MoveList list;
    appendAllMoves(list);
    return list;
}

MoveList Board::listEvasions(std::size_t& checkerCount) const {
    MoveList list;
    checkerCount = 0;
    if (King* king = kingOf(sideToMove_)) {
        const Checkers checkers = findCheckers(*this, *king);
        checkerCount = checkers.count;
        appendEvasions(list, *king, checkers.count, checkers.first);
    }
    return list;
}

// The checkers are counted first, so that without a check no evasion list is built only to be
// dropped: the search asks at every node.
void Board::collectCandidates(MoveList& list, std::size_t& checkerCount) const {
    list.reset();
    King* king = kingOf(sideToMove_);
    const Checkers checkers = king ? findCheckers(*this, *king) : Checkers{};
    checkerCount = checkers.count;
    if (checkers.count == 0)
        appendAllMoves(list);
    else
        appendEvasions(list, *king, checkers.count, checkers.first);
}

void Board::appendAllMoves(MoveList& list) const {
    for (std::uint64_t rest = occupied_; rest != 0; rest &= rest - 1) {
        Figure* figure = squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        if (figure->colour() != sideToMove_)
            continue;
        const FigureMoves& moves = figure->moves();
        for (std::size_t i = 0; i < moves.targetCount; ++i) {
            Move move = candidate(*figure, moves.targets[i].target, victimOf(*this, moves.targets[i]));
            if (figure->kindCode() == KING)
                addCastlingRook(static_cast<const King&>(*figure), move);
            appendCandidate(list, move);
        }
    }
}

void Board::appendEvasions(MoveList& list, King& king, std::size_t checkerCount, Figure* checker) const {
    if (checkerCount == 1)
        visitCounterMoves(*this, king, *checker, [&list](const Move& move) {
            appendCandidate(list, move);
            return true;
        });
    // King moves leave `captured` empty; the trial move finds what stands on the target.
    const FigureMoves& moves = king.moves();
    for (std::size_t i = 0; i < moves.targetCount; ++i)
        if (!holdsMove(list, king.square(), moves.targets[i].target))
            list.append(candidate(king, moves.targets[i].target, nullptr));
}

// Gives what a non-empty listEvasions, or with no check any target, would say, without
// building a list: the refresh asks it after every move of the search.
bool Board::hasLegalMove() const { return hasLegalMove(~std::uint64_t{0}); }

// The refresh knows the squares the opponent covers: a king outside them has no checker to
// look for, which spares the search a pass over the board after nearly every trial move.
bool Board::hasLegalMove(std::uint64_t attacked) const {
    const King* king = kingOf(sideToMove_);
    const bool mayBeChecked =
        king && king->isPlaced() && ((attacked >> king->index()) & 1u);
    const Checkers checkers = mayBeChecked ? findCheckers(*this, *king) : Checkers{};
    if (checkers.count == 0) {
        // Any figure will do: Black's are looked for from the eighth row down, where they mostly
        // stand.
        for (std::uint64_t rest = occupied_; rest != 0;) {
            const auto index = static_cast<std::size_t>(sideToMove_ == WHITE ? std::countr_zero(rest)
                                                                             : 63 - std::countl_zero(rest));
            const Figure* figure = squares_[index];
            if (figure->colour() == sideToMove_ && figure->moves().targetCount > 0)
                return true;
            rest &= ~(std::uint64_t{1} << index);
        }
        return false;
    }
    bool found = false;
    if (checkers.count == 1)
        visitCounterMoves(*this, *king, *checkers.first, [&found](const Move&) {
            found = true;
            return false;
        });
    return found || king->moves().targetCount > 0;
}

}  // namespace vek::chess
