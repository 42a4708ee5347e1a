#include <string_view>

#include "chess/board.h"
#include "chess/notation.h"

namespace vek::chess {
namespace {

// The initial layout; it also decides which figures of a loaded position count as moved.
constexpr std::string_view kInitialLayout =
    "TSLDKLSTBBBBBBBB"
    "                                "
    "bbbbbbbbtsldklst";
static_assert(kInitialLayout.size() == 64);

// Only a to z change, whatever the locale.
constexpr char toUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char toLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The kind of an upper-case figure letter, or 0.
std::int32_t kindOfLetter(char letter) {
    for (std::int32_t kind = PAWN; kind <= KING; ++kind)
        if (figureLetter(kind) == letter)
            return kind;
    return 0;
}

}  // namespace

vek::STRING Board::positionText() const {
    vek::STRING text;
    for (const Figure* figure : squares_) {
        if (!figure) {
            text += ' ';
            continue;
        }
        const char letter = figureLetter(figure->kind());
        text += figure->colour() == BLACK ? toLowerAscii(letter) : letter;
    }
    return text;
}

bool Board::loadPosition(const vek::STRING& text) {
    clear();
    if (text.getLength() < 64)
        return false;
    for (std::size_t index = 0; index < 64; ++index) {
        const char letter = text[index];
        const char upper = toUpperAscii(letter);
        const std::int32_t kind = kindOfLetter(upper);
        if (kind == 0)
            continue;
        const Colour colour = letter == upper ? WHITE : BLACK;
        Figure* figure = createFigure(colour, static_cast<FigureKind>(kind), squareAt(index),
                                      letter != kInitialLayout[index]);
        if (kind == KING)  // a later king of a colour replaces an earlier one
            (colour == WHITE ? whiteKing_ : blackKing_) = static_cast<King*>(figure);
    }
    if (!whiteKing_ || !blackKing_) {  // nothing may read a board without both kings
        clear();
        return false;
    }
    sideToMove_ = text.getLength() > 64 && text[64] == 'W' ? WHITE : BLACK;
    clockOf(sideToMove_).start(tick());
    state_ = RUNNING;
    refresh();
    return true;
}

}  // namespace vek::chess
