#include "uci/standard_rules.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vek::uci {
namespace {

using chess::BISHOP;
using chess::BLACK;
using chess::Colour;
using chess::KING;
using chess::KNIGHT;
using chess::PAWN;
using chess::QUEEN;
using chess::ROOK;
using chess::WHITE;

struct Delta {
    int column;
    int row;
};

constexpr std::array<Delta, 8> kKnightJumps{{{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}}};
constexpr std::array<Delta, 4> kDiagonals{{{1, 1}, {1, -1}, {-1, -1}, {-1, 1}}};
constexpr std::array<Delta, 4> kStraights{{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};
constexpr std::array<Delta, 8> kKingSteps{{{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}}};
constexpr std::array<std::int8_t, 4> kPromotionKinds{QUEEN, ROOK, BISHOP, KNIGHT};

// The square `delta` away from `square`, or -1 off the board.
int offset(int square, Delta delta) {
    const int column = square % 8 + delta.column;
    const int row = square / 8 + delta.row;
    return column < 0 || column > 7 || row < 0 || row > 7 ? -1 : row * 8 + column;
}

bool holds(const StandardPosition& position, int square, Colour colour, chess::FigureKind kind) {
    return square >= 0 && position.squares[static_cast<std::size_t>(square)] == pieceCode(colour, kind);
}

bool isEmpty(const StandardPosition& position, int square) {
    return position.squares[static_cast<std::size_t>(square)] == 0;
}

// The colour of the figure on a non-empty square.
Colour colourAt(const StandardPosition& position, int square) {
    return position.squares[static_cast<std::size_t>(square)] > 0 ? WHITE : BLACK;
}

// Whether a slider of `by` of one of the two kinds meets `square` first along a line.
bool slidesOnto(const StandardPosition& position, int square, Colour by, const std::array<Delta, 4>& lines,
                chess::FigureKind kind) {
    for (const Delta& line : lines) {
        for (int s = offset(square, line); s >= 0; s = offset(s, line)) {
            if (isEmpty(position, s))
                continue;
            if (holds(position, s, by, kind) || holds(position, s, by, QUEEN))
                return true;
            break;
        }
    }
    return false;
}

int kingSquare(const StandardPosition& position, Colour colour) {
    const auto it = std::find(position.squares.begin(), position.squares.end(), pieceCode(colour, KING));
    return it == position.squares.end() ? -1 : static_cast<int>(it - position.squares.begin());
}

bool isKingAttacked(const StandardPosition& position, Colour colour) {
    const int king = kingSquare(position, colour);
    return king >= 0 && isAttacked(position, king, chess::opponent(colour));
}

// The moves of the side to move that obey every rule but the king's safety (and castling's).
class MoveCollector {
public:
    explicit MoveCollector(const StandardPosition& position) : position_(position), side_(position.side) {}

    std::vector<StandardMove> collect() {
        for (int square = 0; square < 64; ++square) {
            if (isEmpty(position_, square) || colourAt(position_, square) != side_)
                continue;
            switch (std::abs(position_.squares[static_cast<std::size_t>(square)])) {
            case PAWN: addPawnMoves(square); break;
            case KNIGHT: addSteps(square, kKnightJumps); break;
            case BISHOP: addSlides(square, kDiagonals); break;
            case ROOK: addSlides(square, kStraights); break;
            case QUEEN:
                addSlides(square, kDiagonals);
                addSlides(square, kStraights);
                break;
            default:
                addSteps(square, kKingSteps);
                addCastlings(square);
                break;
            }
        }
        return std::move(moves_);
    }

private:
    bool isTarget(int square) const {
        return square >= 0 && (isEmpty(position_, square) || colourAt(position_, square) != side_);
    }
    void add(int from, int to, std::int8_t promotion = 0) {
        moves_.push_back(StandardMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), promotion});
    }
    // A pawn reaching the last row promotes to each of the four kinds.
    void addPawnMove(int from, int to) {
        if (to / 8 != 0 && to / 8 != 7) {
            add(from, to);
            return;
        }
        for (const std::int8_t kind : kPromotionKinds)
            add(from, to, kind);
    }
    void addPawnMoves(int from) {
        const int ahead = side_ == WHITE ? 1 : -1;
        const int one = offset(from, {0, ahead});
        if (one >= 0 && isEmpty(position_, one)) {
            addPawnMove(from, one);
            const int two = offset(one, {0, ahead});
            if (from / 8 == (side_ == WHITE ? 1 : 6) && isEmpty(position_, two))
                add(from, two);
        }
        for (const int column : {-1, 1}) {
            const int to = offset(from, {column, ahead});
            if (to < 0)
                continue;
            if (to == position_.enPassant || (!isEmpty(position_, to) && colourAt(position_, to) != side_))
                addPawnMove(from, to);
        }
    }
    template <std::size_t N>
    void addSteps(int from, const std::array<Delta, N>& deltas) {
        for (const Delta& delta : deltas)
            if (const int to = offset(from, delta); isTarget(to))
                add(from, to);
    }
    void addSlides(int from, const std::array<Delta, 4>& lines) {
        for (const Delta& line : lines) {
            for (int to = offset(from, line); isTarget(to); to = offset(to, line)) {
                add(from, to);
                if (!isEmpty(position_, to))
                    break;
            }
        }
    }
    // The king on its initial square with the right and a free way, neither in check nor
    // passing or reaching an attacked square.
    void addCastlings(int from) {
        const bool white = side_ == WHITE;
        const int home = white ? 4 : 60;
        if (from != home || isAttacked(position_, home, chess::opponent(side_)))
            return;
        const unsigned kingSide = white ? crWHITE_KING_SIDE : crBLACK_KING_SIDE;
        const unsigned queenSide = white ? crWHITE_QUEEN_SIDE : crBLACK_QUEEN_SIDE;
        if ((position_.castling & kingSide) && holds(position_, home + 3, side_, ROOK) && isFree(home + 1, home + 2) &&
            isSafe(home + 1) && isSafe(home + 2))
            add(home, home + 2);
        if ((position_.castling & queenSide) && holds(position_, home - 4, side_, ROOK) && isFree(home - 3, home - 1) &&
            isSafe(home - 1) && isSafe(home - 2))
            add(home, home - 2);
    }
    bool isFree(int first, int last) const {
        for (int s = first; s <= last; ++s)
            if (!isEmpty(position_, s))
                return false;
        return true;
    }
    bool isSafe(int square) const { return !isAttacked(position_, square, chess::opponent(side_)); }

    const StandardPosition& position_;
    Colour side_;
    std::vector<StandardMove> moves_;
};

// The right that a move from or onto this corner (or the king's square) takes away.
unsigned rightsLostAt(int square) {
    switch (square) {
    case 0: return crWHITE_QUEEN_SIDE;
    case 4: return crWHITE_KING_SIDE | crWHITE_QUEEN_SIDE;
    case 7: return crWHITE_KING_SIDE;
    case 56: return crBLACK_QUEEN_SIDE;
    case 60: return crBLACK_KING_SIDE | crBLACK_QUEEN_SIDE;
    case 63: return crBLACK_KING_SIDE;
    default: return 0;
    }
}

}  // namespace

bool isAttacked(const StandardPosition& position, int square, Colour by) {
    // A pawn of `by` attacks from one row behind the square, seen from its side.
    const int behind = by == WHITE ? -1 : 1;
    if (holds(position, offset(square, {-1, behind}), by, PAWN) || holds(position, offset(square, {1, behind}), by, PAWN))
        return true;
    for (const Delta& jump : kKnightJumps)
        if (holds(position, offset(square, jump), by, KNIGHT))
            return true;
    for (const Delta& step : kKingSteps)
        if (holds(position, offset(square, step), by, KING))
            return true;
    return slidesOnto(position, square, by, kDiagonals, BISHOP) || slidesOnto(position, square, by, kStraights, ROOK);
}

bool isInCheck(const StandardPosition& position) { return isKingAttacked(position, position.side); }

bool isOpponentInCheck(const StandardPosition& position) {
    return isKingAttacked(position, chess::opponent(position.side));
}

StandardPosition afterMove(const StandardPosition& position, StandardMove move) {
    StandardPosition next = position;
    auto& squares = next.squares;
    const std::int8_t mover = squares[move.from];
    const int kind = std::abs(mover);
    const int columnShift = move.to % 8 - move.from % 8;
    if (kind == PAWN && columnShift != 0 && squares[move.to] == 0)  // en passant
        squares[static_cast<std::size_t>(move.from / 8 * 8 + move.to % 8)] = 0;
    if (kind == KING && std::abs(columnShift) == 2) {  // the rook jumps over the king
        const int rookFrom = columnShift > 0 ? move.from + 3 : move.from - 4;
        const int rookTo = columnShift > 0 ? move.from + 1 : move.from - 1;
        squares[static_cast<std::size_t>(rookTo)] = squares[static_cast<std::size_t>(rookFrom)];
        squares[static_cast<std::size_t>(rookFrom)] = 0;
    }
    const bool capture = squares[move.to] != 0;
    squares[move.to] = move.promotion != 0 ? pieceCode(position.side, static_cast<chess::FigureKind>(move.promotion)) : mover;
    squares[move.from] = 0;
    next.castling &= ~(rightsLostAt(move.from) | rightsLostAt(move.to));
    next.enPassant = kind == PAWN && std::abs(move.to - move.from) == 16 ? (move.from + move.to) / 2 : -1;
    next.side = chess::opponent(position.side);
    next.halfmoveClock = kind == PAWN || capture ? 0 : position.halfmoveClock + 1;
    next.fullmoveNumber = position.fullmoveNumber + (position.side == BLACK ? 1 : 0);
    return next;
}

std::vector<StandardMove> legalMoves(const StandardPosition& position) {
    std::vector<StandardMove> moves = MoveCollector(position).collect();
    std::erase_if(moves, [&position](StandardMove move) {
        return isKingAttacked(afterMove(position, move), position.side);
    });
    return moves;
}

bool isLegal(const StandardPosition& position, StandardMove move) {
    const std::vector<StandardMove> moves = legalMoves(position);
    return std::find(moves.begin(), moves.end(), move) != moves.end();
}

StandardPosition standardPositionOf(const chess::Board& board) {
    StandardPosition position;
    for (std::size_t index = 0; index < 64; ++index)
        if (const chess::Figure* figure = board.figureAtIndex(index))
            position.squares[index] = pieceCode(figure->colour(), figure->kind());
    position.side = board.sideToMove();
    const auto unmoved = [&board](int square, Colour colour, chess::FigureKind kind) {
        const chess::Figure* figure = board.figureAtIndex(static_cast<std::size_t>(square));
        return figure && figure->colour() == colour && figure->kind() == kind && !figure->moved();
    };
    for (const Colour colour : {WHITE, BLACK}) {
        const int home = colour == WHITE ? 4 : 60;
        if (!unmoved(home, colour, KING))
            continue;
        if (unmoved(home + 3, colour, ROOK))
            position.castling |= colour == WHITE ? crWHITE_KING_SIDE : crBLACK_KING_SIDE;
        if (unmoved(home - 4, colour, ROOK))
            position.castling |= colour == WHITE ? crWHITE_QUEEN_SIDE : crBLACK_QUEEN_SIDE;
    }
    const auto& history = board.history();
    if (!history.isEmpty()) {
        const chess::Move& last = history[history.getCount() - 1];
        if (last.figure && last.figure->kind() == PAWN && last.from.column == last.to.column &&
            std::abs(last.to.row - last.from.row) == 2)
            position.enPassant = static_cast<int>((chess::squareIndex(last.from) + chess::squareIndex(last.to)) / 2);
    }
    return position;
}

}  // namespace vek::uci
