#include "chess/notation.h"

#include "chess/figure.h"

namespace vek::chess {
namespace {

void appendSquare(vek::STRING& text, Square s) {
    text += s.column;
    text += vek::STRING::fromNumber(s.row);
}

bool isBlackMove(const Move& entry) { return entry.figure && entry.figure->colour() == BLACK; }

}  // namespace

char figureLetter(std::int32_t kind) {
    switch (kind) {
    case PAWN: return 'B';
    case KNIGHT: return 'S';
    case BISHOP: return 'L';
    case ROOK: return 'T';
    case QUEEN: return 'D';
    case KING: return 'K';
    default: return 0;
    }
}

vek::STRING moveText(const Move& entry) {
    if (!entry.figure)
        return vek::STRING();
    if (entry.castlingRook)  // no check or mate mark
        return entry.rookFrom.column == 'h' ? "O-O" : "O-O-O";
    vek::STRING text;
    if (entry.figure->kind() != PAWN)
        text += figureLetter(entry.figure->kind());
    appendSquare(text, entry.from);
    text += entry.captured ? 'x' : '-';
    appendSquare(text, entry.to);
    if (const char promotion = figureLetter(entry.promotionKind))
        text += promotion;
    if (entry.stateAfter == WHITE_IN_CHECK || entry.stateAfter == BLACK_IN_CHECK)
        text += '+';
    else if (entry.stateAfter == WHITE_WINS || entry.stateAfter == BLACK_WINS)
        text += '#';
    return text;
}

MoveListEntry moveListEntry(std::size_t historyIndex, const Move& entry) {
    if (isBlackMove(entry) && historyIndex != 0)
        return {true, historyIndex / 2, ", " + moveText(entry)};
    vek::STRING line = vek::STRING::fromNumber(static_cast<long long>(historyIndex / 2 + 1)) + ". ";
    if (isBlackMove(entry))
        line += "..., ";
    line += moveText(entry);
    return {false, 0, line};
}

}  // namespace vek::chess
