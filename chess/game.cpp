#include <array>
#include <cstdlib>

#include "chess/board.h"

namespace vek::chess {
namespace {

constexpr std::array<FigureKind, 8> kBackRow{ROOK, KNIGHT, BISHOP, QUEEN, KING, BISHOP, KNIGHT, ROOK};

}  // namespace

void Board::setUpSide(Colour colour) {
    const std::int8_t pawnRow = colour == WHITE ? 2 : 7;
    const std::int8_t backRow = colour == WHITE ? 1 : 8;
    for (char column = 'a'; column <= 'h'; ++column)
        createFigure(colour, PAWN, Square{column, pawnRow}, false);
    for (std::size_t i = 0; i < kBackRow.size(); ++i) {
        Figure* figure = createFigure(colour, kBackRow[i], Square{static_cast<char>('a' + i), backRow}, false);
        if (kBackRow[i] == KING)
            (colour == WHITE ? whiteKing_ : blackKing_) = static_cast<King*>(figure);
    }
}

void Board::newGame() {
    clear();
    setUpSide(WHITE);
    setUpSide(BLACK);
    sideToMove_ = WHITE;
    whiteClock_.start(tick());
    refresh();
    state_ = RUNNING;
}

void Board::switchSide() {
    const std::int32_t now = tick();
    clockOf(sideToMove_).stop(now);
    sideToMove_ = opponent(sideToMove_);
    clockOf(sideToMove_).start(now);
}

Move& Board::appendHistory() { return history_.append(); }

void Board::removeHistory(std::size_t index) { history_.remove(index); }

Figure* Board::enPassantVictim(const Figure* figure, Square from, Square to) const {
    if (!figure || figure->kind() != PAWN || !isOnBoard(from) || !isOnBoard(to) ||
        std::abs(to.row - from.row) != 1 || std::abs(to.column - from.column) != 1 || figureAt(to))
        return nullptr;
    Figure* victim = figureAt(Square{to.column, from.row});
    if (!victim || victim->kind() != PAWN || victim->colour() == figure->colour() || history_.isEmpty())
        return nullptr;
    const Move& last = history_[history_.getCount() - 1];
    const Square passed = victim->square();
    if (last.to != passed || last.from.column != passed.column || std::abs(last.from.row - passed.row) != 2)
        return nullptr;
    return victim;
}

// Each game move reserves its history entry before it touches the board, so that running out
// of memory leaves the position as it was.
void Board::playMove(const Move move) {  // a copy: `move` may be an entry of the history
    if (move.promotionKind != 0) {
        playPromotion(move.figure, move.from, static_cast<FigureKind>(move.promotionKind), move.to);
        return;
    }
    if (move.castlingRook) {
        playCastling(move.figure, move.to, move.castlingRook, move.rookTo);
        return;
    }
    Figure& mover = *move.figure;
    Figure* const passedPawn = enPassantVictim(&mover, move.from, move.to);
    Figure* taken = passedPawn ? passedPawn : figureAt(move.to);
    Move& entry = appendHistory();
    put(mover, move.to);
    vacate(move.from);
    mover.setMoved(BoardKey());
    if (passedPawn)
        vacate(passedPawn->square());
    entry.figure = &mover;
    entry.from = move.from;
    entry.to = move.to;
    if (taken) {
        entry.captured = taken;
        entry.capturedSquare = taken->square();
        takeOff(*taken);
    }
    finishGameMove();
}

void Board::playPromotion(Figure* pawn, Square from, FigureKind kind, Square to) {
    if (kind < KNIGHT || kind > QUEEN)  // nothing else replaces a pawn
        return;
    Figure* const taken = figureAt(to);
    appendHistory();
    Figure* promoted = nullptr;
    try {
        promoted = createFigure(pawn->colour(), kind, to, true);
    } catch (...) {
        history_.removeLast();
        throw;
    }
    vacate(from);
    takeOff(*pawn);
    Move& entry = lastHistoryEntry();
    entry.figure = pawn;
    entry.from = from;
    entry.promotedFigure = promoted;
    entry.promotionKind = kind;
    entry.to = to;
    if (taken) {
        entry.captured = taken;
        entry.capturedSquare = taken->square();
        takeOff(*taken);
    }
    finishGameMove();
}

void Board::playCastling(Figure* king, Square kingTarget, Figure* rook, Square rookTarget) {
    const Square kingFrom = king->square();
    const Square rookFrom = rook->square();
    Move& entry = appendHistory();
    put(*king, kingTarget);
    vacate(kingFrom);
    king->setMoved(BoardKey());
    put(*rook, rookTarget);
    vacate(rookFrom);
    rook->setMoved(BoardKey());
    entry.figure = king;
    entry.from = kingFrom;
    entry.to = kingTarget;
    entry.castlingRook = rook;
    entry.rookFrom = rookFrom;
    entry.rookTo = rookTarget;
    finishGameMove();
}

void Board::finishGameMove() {
    switchSide();
    refresh();
    lastHistoryEntry().stateAfter = state_;
}

void Board::applyMove(Move& move) {
    if (Figure* occupant = figureAt(move.to))
        move.captured = occupant;
    history_.append();  // reserved first: a failure below leaves the board untouched
    if (move.promotionKind != 0 && !move.promotedFigure) {
        const auto kind = static_cast<FigureKind>(move.promotionKind);
        try {
            // A renewed figure is what a new one would be, so that the refresh cannot tell them
            // apart; reusing it keeps a search from piling up figures.
            if (Figure* spare = spareTrialFigure(move.figure->colour(), kind)) {
                spare->renew(move.to, BoardKey());
                move.promotedFigure = spare;
            } else {
                move.promotedFigure = createFigure(move.figure->colour(), kind, move.to, true);
            }
        } catch (...) {
            history_.removeLast();
            throw;
        }
    }
    if (move.promotedFigure) {
        takeOff(*move.figure);
        put(*move.promotedFigure, move.to);
    } else {
        put(*move.figure, move.to);
    }
    vacate(move.from);
    if (Figure* captured = move.captured) {
        if (captured->square() != kNoSquare)
            move.capturedSquare = captured->square();
        // En passant: the passed pawn leaves a square other than the target.
        if (move.capturedSquare != move.to && figureAt(move.capturedSquare) == captured)
            vacate(move.capturedSquare);
        takeOff(*captured);
    }
    if (move.castlingRook) {
        put(*move.castlingRook, move.rookTo);
        vacate(move.rookFrom);
    }
    lastHistoryEntry() = move;
}

void Board::takeBack(const Move move) {  // a copy: `move` may be the history entry it removes
    assert(!history_.isEmpty());
    removeHistory(history_.getCount() - 1);
    put(*move.figure, move.from);
    if (move.promotedFigure)
        takeOff(*move.promotedFigure);
    if (move.captured) {
        put(*move.captured, move.capturedSquare);
        if (move.to != move.capturedSquare)
            vacate(move.to);
    } else {
        vacate(move.to);
    }
    if (move.castlingRook) {
        put(*move.castlingRook, move.rookFrom);
        vacate(move.rookTo);
    }
    state_ = RUNNING;
}

vek::STRING Board::statusText() const {
    vek::STRING text;
    switch (state_) {
    case WHITE_IN_CHECK:
    case BLACK_IN_CHECK:
        text = "Schach";
        break;
    case BLACK_WINS:
        text = "Schwarz (Zarvo) gewinnt durch Schachmatt";
        break;
    case WHITE_WINS:
        text = "Wei\xE1 (Zarvo) gewinnt durch Schachmatt";
        break;
    case NO_GAME:
    case STALEMATE:
        text = "Patt/Remis";
        break;
    default:  // RUNNING
        text = sideToMove_ == WHITE ? "N\x84" "chster: Wei\xE1" : "N\x84" "chster: Schwarz";
        break;
    }
    text.setCharset(vek::csOEM);
    return text;
}

}  // namespace vek::chess
