#include "engine/position.h"

#include <algorithm>
#include <cstdlib>

#include "engine/exchange_value.h"
#include "engine/zobrist.h"

namespace vek::engine {
namespace {

using chess::BLACK;
using chess::Colour;
using chess::WHITE;

// Castling rights by their bit index: white king side, white queen side, black king side,
// black queen side. Whatever the files king and rook start on, castling puts them where
// standard chess does: the king to g or c, the rook beside it on f or d.
constexpr int castlingRank(int right) { return right < 2 ? 0 : 56; }
constexpr int castledKing(int right) { return castlingRank(right) + (right % 2 == 0 ? 6 : 2); }
constexpr int castledRook(int right) { return castlingRank(right) + (right % 2 == 0 ? 5 : 3); }
constexpr int castlingRight(Colour colour, bool kingSide) { return (colour == WHITE ? 0 : 2) + (kingSide ? 0 : 1); }
constexpr unsigned rightsOf(Colour colour) { return colour == WHITE ? 3u : 12u; }

// The squares of one rank from `a` to `b`, both included.
Bitboard rankSpan(int a, int b) {
    Bitboard span = 0;
    for (int square = std::min(a, b); square <= std::max(a, b); ++square)
        span |= bit(square);
    return span;
}

constexpr int code(Colour colour, int kind) { return colour == WHITE ? kind : -kind; }
constexpr Colour colourOf(int code) { return code > 0 ? WHITE : BLACK; }

// Appends a pawn move, as four moves when it promotes (one, the queen's, in a noisy list:
// an under-promotion is rarely what a capture sequence needs).
void pushPawnMove(MoveBuffer& buffer, int from, int to, bool promotes, bool noisyOnly) {
    const auto move = [&](int promotion) {
        buffer.push(Move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
                         static_cast<std::int8_t>(promotion)});
    };
    if (!promotes) {
        move(0);
        return;
    }
    move(chess::QUEEN);
    if (noisyOnly)
        return;
    move(chess::KNIGHT);
    move(chess::ROOK);
    move(chess::BISHOP);
}

void pushMoves(MoveBuffer& buffer, int from, Bitboard targets) {
    while (targets)
        buffer.push(Move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(popLowest(targets)), 0});
}

}  // namespace

Position Position::fromSquares(const std::array<std::int8_t, 64>& squares, chess::Colour side, unsigned castling,
                               const CastlingRooks& rooks, bool chess960, int enPassant, int halfmoveClock,
                               int fullmoveNumber) {
    Position position;
    for (int square = 0; square < 64; ++square)
        if (squares[static_cast<std::size_t>(square)] != 0)
            position.put(square, squares[static_cast<std::size_t>(square)]);
    position.side_ = side;
    position.castling_ = castling & 15;
    position.castlingRooks_ = rooks;
    position.chess960_ = chess960;
    position.castlingKept_.fill(15);
    for (int right = 0; right < 4; ++right) {
        if ((position.castling_ & (1u << right)) == 0)
            continue;
        const auto index = static_cast<std::size_t>(right);
        const int king = position.kingSquare(right < 2 ? WHITE : BLACK);
        const int rook = rooks[index];
        const Bitboard kingPath = rankSpan(king, castledKing(right));
        position.castlingEmpty_[index] = (kingPath | rankSpan(rook, castledRook(right))) & ~bit(king) & ~bit(rook);
        position.castlingWalk_[index] = kingPath & ~bit(king) & ~bit(castledKing(right));
        position.castlingKeys_[index] = zobrist::castlingRook(right, fileOf(rook));
        position.castlingKept_[static_cast<std::size_t>(king)] &= ~rightsOf(right < 2 ? WHITE : BLACK);
        position.castlingKept_[static_cast<std::size_t>(rook)] &= ~(1u << right);
    }
    // As after a double step: the square counts only when a pawn can take there.
    const bool takeable = enPassant >= 0 && enPassant < 64 &&
                          (pawnAttacks(chess::opponent(side), enPassant) & position.pieces_[side][chess::PAWN]) != 0;
    position.enPassant_ = takeable ? enPassant : -1;
    position.halfmoveClock_ = halfmoveClock;
    position.fullmoveNumber_ = fullmoveNumber;
    position.key_ = position.computeKey();
    return position;
}

std::uint64_t Position::castlingKey(unsigned rights) const {
    std::uint64_t key = 0;
    for (std::size_t right = 0; right < 4; ++right)
        if (rights & (1u << right))
            key ^= castlingKeys_[right];
    return key;
}

std::uint64_t Position::computeKey() const {
    std::uint64_t key = 0;
    for (int square = 0; square < 64; ++square) {
        const int piece = pieceAt(square);
        if (piece != 0)
            key ^= zobrist::piece(colourOf(piece), std::abs(piece), square);
    }
    key ^= castlingKey(castling_);
    if (enPassant_ >= 0)
        key ^= zobrist::enPassant(enPassant_);
    if (side_ == BLACK)
        key ^= zobrist::blackToMove();
    return key;
}

void Position::put(int square, int piece) {
    const Colour colour = colourOf(piece);
    squares_[static_cast<std::size_t>(square)] = static_cast<std::int8_t>(piece);
    pieces_[colour][std::abs(piece)] |= bit(square);
    colours_[colour] |= bit(square);
    key_ ^= zobrist::piece(colour, std::abs(piece), square);
}

void Position::remove(int square) {
    const int piece = pieceAt(square);
    const Colour colour = colourOf(piece);
    squares_[static_cast<std::size_t>(square)] = 0;
    pieces_[colour][std::abs(piece)] &= ~bit(square);
    colours_[colour] &= ~bit(square);
    key_ ^= zobrist::piece(colour, std::abs(piece), square);
}

void Position::movePiece(int from, int to) {
    const int piece = pieceAt(from);
    remove(from);
    put(to, piece);
}

void Position::castle(chess::Colour colour, int from, int to) {
    const int right = castlingRight(colour, to > from);
    remove(from);
    remove(castlingRooks_[static_cast<std::size_t>(right)]);
    put(castledKing(right), code(colour, chess::KING));
    put(castledRook(right), code(colour, chess::ROOK));
}

void Position::uncastle(chess::Colour colour, int from, int to) {
    const int right = castlingRight(colour, to > from);
    remove(castledKing(right));
    remove(castledRook(right));
    put(from, code(colour, chess::KING));
    put(castlingRooks_[static_cast<std::size_t>(right)], code(colour, chess::ROOK));
}

int Position::kingSquare(chess::Colour colour) const { return std::countr_zero(pieces_[colour][chess::KING]); }

Bitboard Position::attackersTo(int square, Bitboard occupied) const {
    const Bitboard diagonal = pieces_[WHITE][chess::BISHOP] | pieces_[BLACK][chess::BISHOP] |
                              pieces_[WHITE][chess::QUEEN] | pieces_[BLACK][chess::QUEEN];
    const Bitboard straight = pieces_[WHITE][chess::ROOK] | pieces_[BLACK][chess::ROOK] |
                              pieces_[WHITE][chess::QUEEN] | pieces_[BLACK][chess::QUEEN];
    return (pawnAttacks(BLACK, square) & pieces_[WHITE][chess::PAWN]) |
           (pawnAttacks(WHITE, square) & pieces_[BLACK][chess::PAWN]) |
           (knightAttacks(square) & (pieces_[WHITE][chess::KNIGHT] | pieces_[BLACK][chess::KNIGHT])) |
           (kingAttacks(square) & (pieces_[WHITE][chess::KING] | pieces_[BLACK][chess::KING])) |
           (bishopAttacks(square, occupied) & diagonal) | (rookAttacks(square, occupied) & straight);
}

bool Position::isAttacked(int square, chess::Colour by) const {
    const auto& own = pieces_[by];
    if ((pawnAttacks(chess::opponent(by), square) & own[chess::PAWN]) || (knightAttacks(square) & own[chess::KNIGHT]) ||
        (kingAttacks(square) & own[chess::KING]))
        return true;
    const Bitboard all = occupied();
    return (bishopAttacks(square, all) & (own[chess::BISHOP] | own[chess::QUEEN])) ||
           (rookAttacks(square, all) & (own[chess::ROOK] | own[chess::QUEEN]));
}

bool Position::hasPieces(chess::Colour colour) const {
    return (colours_[colour] & ~pieces_[colour][chess::PAWN] & ~pieces_[colour][chess::KING]) != 0;
}

// A Chess960 castling "takes" the own rook.
bool Position::isCapture(Move move) const {
    const int target = pieceAt(move.to);
    return (target != 0 && colourOf(target) != side_) ||
           (move.to == enPassant_ && std::abs(pieceAt(move.from)) == chess::PAWN);
}

int Position::exchangeGain(Move move) const {
    std::array<int, 32> gains{};
    const int target = move.to;
    if (pieceAt(target) != 0 && colourOf(pieceAt(target)) == side_)
        return 0;  // a Chess960 castling, to squares the king may go to
    int victim = std::abs(pieceAt(target));
    Bitboard occupiedNow = occupied();
    if (victim == 0 && std::abs(pieceAt(move.from)) == chess::PAWN && target == enPassant_) {
        victim = chess::PAWN;
        occupiedNow ^= bit(side_ == WHITE ? target - 8 : target + 8);
    }
    gains[0] = kExchangeValue[victim];
    int onSquare = std::abs(pieceAt(move.from));
    occupiedNow ^= bit(move.from);
    Colour mover = chess::opponent(side_);
    const Bitboard diagonal = pieces_[WHITE][chess::BISHOP] | pieces_[BLACK][chess::BISHOP] |
                              pieces_[WHITE][chess::QUEEN] | pieces_[BLACK][chess::QUEEN];
    const Bitboard straight = pieces_[WHITE][chess::ROOK] | pieces_[BLACK][chess::ROOK] |
                              pieces_[WHITE][chess::QUEEN] | pieces_[BLACK][chess::QUEEN];
    Bitboard attackers = attackersTo(target, occupiedNow) & occupiedNow;
    int depth = 0;
    while (true) {
        const Bitboard own = attackers & colours_[mover];
        if (own == 0)
            break;
        // The least valuable attacker takes next; its leaving may open a ray behind it.
        int kind = chess::PAWN;
        while ((own & pieces_[mover][kind]) == 0)
            ++kind;
        ++depth;
        gains[static_cast<std::size_t>(depth)] = kExchangeValue[onSquare] - gains[static_cast<std::size_t>(depth - 1)];
        if (onSquare == chess::KING)
            break;
        onSquare = kind;
        occupiedNow ^= bit(std::countr_zero(own & pieces_[mover][kind]));
        attackers |= (bishopAttacks(target, occupiedNow) & diagonal) | (rookAttacks(target, occupiedNow) & straight);
        attackers &= occupiedNow;
        mover = chess::opponent(mover);
        if (depth == 31)
            break;
    }
    // Each side may stop taking when going on would lose.
    while (depth > 0) {
        gains[static_cast<std::size_t>(depth - 1)] =
            -std::max(-gains[static_cast<std::size_t>(depth - 1)], gains[static_cast<std::size_t>(depth)]);
        --depth;
    }
    return gains[0];
}

void Position::generate(MoveBuffer& buffer, bool noisyOnly) const {
    const Colour us = side_;
    const Colour them = chess::opponent(us);
    const Bitboard all = occupied();
    const Bitboard empty = ~all;
    const Bitboard enemies = colours_[them];
    const Bitboard targets = noisyOnly ? enemies : ~colours_[us];

    const Bitboard pawns = pieces_[us][chess::PAWN];
    const int forward = us == WHITE ? 8 : -8;
    const Bitboard lastRank = us == WHITE ? rankMask(7) : rankMask(0);
    const Bitboard thirdRank = us == WHITE ? rankMask(2) : rankMask(5);
    const Bitboard single = (us == WHITE ? pawns << 8 : pawns >> 8) & empty;
    Bitboard pushes = noisyOnly ? single & lastRank : single;
    while (pushes) {
        const int to = popLowest(pushes);
        pushPawnMove(buffer, to - forward, to, (bit(to) & lastRank) != 0, noisyOnly);
    }
    if (!noisyOnly) {
        Bitboard doubles = (us == WHITE ? (single & thirdRank) << 8 : (single & thirdRank) >> 8) & empty;
        while (doubles) {
            const int to = popLowest(doubles);
            buffer.push(Move{static_cast<std::uint8_t>(to - 2 * forward), static_cast<std::uint8_t>(to), 0});
        }
    }
    Bitboard capturers = pawns;
    const Bitboard passed = enPassant_ >= 0 ? bit(enPassant_) : 0;
    while (capturers) {
        const int from = popLowest(capturers);
        Bitboard captures = pawnAttacks(us, from) & (enemies | passed);
        while (captures) {
            const int to = popLowest(captures);
            pushPawnMove(buffer, from, to, (bit(to) & lastRank) != 0, noisyOnly);
        }
    }

    for (int kind = chess::KNIGHT; kind <= chess::KING; ++kind) {
        Bitboard figures = pieces_[us][kind];
        while (figures) {
            const int from = popLowest(figures);
            Bitboard reach = 0;
            switch (kind) {
            case chess::KNIGHT: reach = knightAttacks(from); break;
            case chess::BISHOP: reach = bishopAttacks(from, all); break;
            case chess::ROOK: reach = rookAttacks(from, all); break;
            case chess::QUEEN: reach = queenAttacks(from, all); break;
            default: reach = kingAttacks(from); break;
            }
            pushMoves(buffer, from, reach & targets);
        }
    }

    if (noisyOnly || castling_ == 0)
        return;
    // Castling: the squares that king and rook pass or land on empty but for the two, the king
    // not in check and not passing an attacked square (the square it lands on is checked when
    // the move is made, once the rook has left a square it may have shielded).
    const unsigned ours = castling_ & rightsOf(us);
    const int king = kingSquare(us);
    if (ours == 0 || isAttacked(king, them))
        return;
    for (const int right : {castlingRight(us, true), castlingRight(us, false)}) {
        const auto index = static_cast<std::size_t>(right);
        if ((ours & (1u << right)) == 0 || (all & castlingEmpty_[index]))
            continue;
        Bitboard walk = castlingWalk_[index];
        bool safe = true;
        while (walk && safe)
            safe = !isAttacked(popLowest(walk), them);
        if (safe)
            buffer.push(Move{static_cast<std::uint8_t>(king),
                             static_cast<std::uint8_t>(chess960_ ? castlingRooks_[index] : castledKing(right)), 0});
    }
}

FigureChanges Position::changesOf(Move move, bool castles) const {
    FigureChanges changes;
    const auto takeOff = [&](int figure, int square) {
        changes.off[changes.offCount++] = {static_cast<std::int8_t>(figure), static_cast<std::int8_t>(square)};
    };
    const auto putOn = [&](int figure, int square) {
        changes.on[changes.onCount++] = {static_cast<std::int8_t>(figure), static_cast<std::int8_t>(square)};
    };
    const int piece = pieceAt(move.from);
    takeOff(piece, move.from);
    if (castles) {
        const int right = castlingRight(side_, move.to > move.from);
        const int rook = code(side_, chess::ROOK);
        takeOff(rook, castlingRooks_[static_cast<std::size_t>(right)]);
        putOn(piece, castledKing(right));
        putOn(rook, castledRook(right));
        return changes;
    }
    if (pieceAt(move.to) != 0)
        takeOff(pieceAt(move.to), move.to);
    else if (std::abs(piece) == chess::PAWN && move.to == enPassant_)
        takeOff(-piece, side_ == WHITE ? move.to - 8 : move.to + 8);
    putOn(move.promotion != 0 ? code(side_, move.promotion) : piece, move.to);
    return changes;
}

bool Position::make(Move move) {
    const Colour us = side_;
    const Colour them = chess::opponent(us);
    const int from = move.from;
    const int to = move.to;
    const int piece = pieceAt(from);
    const int kind = std::abs(piece);
    // Castling is the king's move of two files, or in Chess960 the king's taking its own rook.
    const bool castles = kind == chess::KING && (std::abs(to - from) == 2 || pieceAt(to) == code(us, chess::ROOK));
    undos_.push_back(Undo{move, static_cast<std::int8_t>(castles ? 0 : pieceAt(to)),
                          static_cast<std::uint8_t>(castling_), static_cast<std::int8_t>(enPassant_), castles,
                          halfmoveClock_, key_, changesOf(move, castles)});
    keys_.push_back(key_);

    const int passed = enPassant_;
    if (enPassant_ >= 0) {
        key_ ^= zobrist::enPassant(enPassant_);
        enPassant_ = -1;
    }
    ++halfmoveClock_;
    if (castles) {
        castle(us, from, to);
    } else {
        if (pieceAt(to) != 0) {
            remove(to);
            halfmoveClock_ = 0;
        }
        movePiece(from, to);
    }
    if (kind == chess::PAWN) {
        halfmoveClock_ = 0;
        if (to == passed)
            remove(us == WHITE ? to - 8 : to + 8);
        else if (std::abs(to - from) == 16) {
            // The square is kept only when a pawn could take there, so that equal positions
            // have equal keys.
            const int over = (from + to) / 2;
            if (pawnAttacks(us, over) & pieces_[them][chess::PAWN]) {
                enPassant_ = over;
                key_ ^= zobrist::enPassant(over);
            }
        }
        if (move.promotion != 0) {
            remove(to);
            put(to, code(us, move.promotion));
        }
    }
    const unsigned rights = castling_ & castlingKept_[static_cast<std::size_t>(from)] &
                            castlingKept_[static_cast<std::size_t>(to)];
    if (rights != castling_) {
        key_ ^= castlingKey(castling_ ^ rights);
        castling_ = rights;
    }
    side_ = them;
    key_ ^= zobrist::blackToMove();
    if (us == BLACK)
        ++fullmoveNumber_;
    if (isAttacked(kingSquare(us), them)) {
        undo();
        return false;
    }
    return true;
}

void Position::undo() {
    const Undo last = undos_.back();
    undos_.pop_back();
    keys_.pop_back();
    side_ = chess::opponent(side_);
    const Colour us = side_;
    if (us == BLACK)
        --fullmoveNumber_;
    const int from = last.move.from;
    const int to = last.move.to;
    if (last.castled) {
        uncastle(us, from, to);
    } else {
        if (last.move.promotion != 0) {
            remove(to);
            put(to, code(us, chess::PAWN));
        }
        movePiece(to, from);
        if (last.captured != 0)
            put(to, last.captured);
        else if (std::abs(pieceAt(from)) == chess::PAWN && to == last.enPassant)
            put(us == WHITE ? to - 8 : to + 8, code(chess::opponent(us), chess::PAWN));
    }
    castling_ = last.castling;
    enPassant_ = last.enPassant;
    halfmoveClock_ = last.halfmoveClock;
    key_ = last.key;
}

void Position::makeNull() {
    undos_.push_back(Undo{kNoMove, 0, static_cast<std::uint8_t>(castling_), static_cast<std::int8_t>(enPassant_),
                          false, halfmoveClock_, key_, FigureChanges{}});
    keys_.push_back(key_);
    if (enPassant_ >= 0) {
        key_ ^= zobrist::enPassant(enPassant_);
        enPassant_ = -1;
    }
    // Nothing before a null move repeats after it: the line is not a game.
    halfmoveClock_ = 0;
    side_ = chess::opponent(side_);
    key_ ^= zobrist::blackToMove();
}

void Position::undoNull() {
    const Undo last = undos_.back();
    undos_.pop_back();
    keys_.pop_back();
    side_ = chess::opponent(side_);
    enPassant_ = last.enPassant;
    halfmoveClock_ = last.halfmoveClock;
    key_ = last.key;
}

bool Position::lacksMatingMaterial() const {
    const Bitboard heavyOrPawn = pieces_[WHITE][chess::PAWN] | pieces_[BLACK][chess::PAWN] | pieces_[WHITE][chess::ROOK] |
                                 pieces_[BLACK][chess::ROOK] | pieces_[WHITE][chess::QUEEN] | pieces_[BLACK][chess::QUEEN];
    return heavyOrPawn == 0 && std::popcount(occupied()) <= 3;
}

bool Position::isRepetition() const {
    const int count = static_cast<int>(keys_.size());
    // The moves made since the last game move (`play` forgets how to take those back): the
    // line searched, from the root position on.
    const int root = count - static_cast<int>(undos_.size());
    int earlier = 0;
    for (int back = 2; back <= halfmoveClock_ && back <= count; back += 2) {
        const int index = count - back;
        if (keys_[static_cast<std::size_t>(index)] != key_)
            continue;
        if (index >= root || ++earlier == 2)
            return true;
    }
    return false;
}

void Position::play(Move move) {
    make(move);
    undos_.clear();
    if (halfmoveClock_ == 0)
        keys_.clear();
}

std::vector<Move> Position::legalMoves() const {
    Position probe = *this;
    MoveBuffer buffer;
    probe.generate(buffer, false);
    std::vector<Move> legal;
    for (std::size_t i = 0; i < buffer.count; ++i)
        if (probe.make(buffer.moves[i])) {
            legal.push_back(buffer.moves[i]);
            probe.undo();
        }
    return legal;
}

}  // namespace vek::engine
