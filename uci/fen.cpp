#include "uci/fen.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

#include "uci/engine_game.h"
#include "uci/long_algebraic.h"
#include "uci/words.h"

namespace vek::uci {
namespace {

constexpr std::string_view kFigureLetters = "pnbrqk";  // PAWN to KING

bool readPlacement(std::string_view text, PositionSetup& position) {
    int row = 7;
    int column = 0;
    for (const char c : text) {
        if (c == '/') {
            if (column != 8 || row == 0)
                return false;
            --row;
            column = 0;
        } else if (c >= '1' && c <= '8') {
            column += c - '0';
            if (column > 8)
                return false;
        } else {
            const bool white = c >= 'A' && c <= 'Z';
            const std::size_t kind = kFigureLetters.find(white ? static_cast<char>(c - 'A' + 'a') : c);
            if (kind == std::string_view::npos || column > 7)
                return false;
            position.squares[static_cast<std::size_t>(row * 8 + column)] =
                pieceCode(white ? chess::WHITE : chess::BLACK, static_cast<chess::FigureKind>(chess::PAWN + static_cast<int>(kind)));
            ++column;
        }
    }
    return row == 0 && column == 8;
}

// The square of the rook that a castling letter names for the king on `king`, or -1.
int castlingRookOf(char letter, int king, const PositionSetup& position) {
    const bool white = letter >= 'A' && letter <= 'Z';
    const std::int8_t rook = pieceCode(white ? chess::WHITE : chess::BLACK, chess::ROOK);
    const int rank = king / 8 * 8;
    const auto isRook = [&](int square) { return position.squares[static_cast<std::size_t>(square)] == rook; };
    const char lower = white ? static_cast<char>(letter - 'A' + 'a') : letter;
    if (lower >= 'a' && lower <= 'h')
        return isRook(rank + (lower - 'a')) ? rank + (lower - 'a') : -1;
    // The outermost rook on that side of the king.
    const int step = lower == 'k' ? -1 : 1;
    for (int square = lower == 'k' ? rank + 7 : rank; square != king; square += step)
        if (isRook(square))
            return square;
    return -1;
}

// The rights of the field that the figures at home still allow.
bool readCastling(std::string_view text, bool chess960, PositionSetup& position) {
    position.chess960 = chess960;
    if (text == "-")
        return true;
    for (const char c : text) {
        const bool white = c >= 'A' && c <= 'Z';
        const char lower = white ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != 'k' && lower != 'q' && (lower < 'a' || lower > 'h'))
            return false;
        const int rank = white ? 0 : 56;
        const auto* const back = position.squares.data() + rank;
        const auto* const king = std::find(back, back + 8, pieceCode(white ? chess::WHITE : chess::BLACK, chess::KING));
        if (king == back + 8)
            continue;
        const int kingSquare = rank + static_cast<int>(king - back);
        const int rook = castlingRookOf(c, kingSquare, position);
        if (rook < 0 || (!chess960 && (kingSquare != rank + 4 || (rook != rank && rook != rank + 7))))
            continue;
        const bool kingSide = rook > kingSquare;
        const int right = (white ? 0 : 2) + (kingSide ? 0 : 1);
        auto& named = position.castlingRooks[static_cast<std::size_t>(right)];
        if ((position.castling & (1u << right)) && named != rook)
            return false;
        position.castling |= 1u << right;
        named = static_cast<std::int8_t>(rook);
    }
    return true;
}

// Kept only when the pawn of the side not to move stands in front of it and the squares it
// passed are empty.
bool readEnPassant(std::string_view text, PositionSetup& position) {
    if (text == "-")
        return true;
    const std::optional<int> square = parseSquare(text);
    if (!square)
        return false;
    const bool whitePassed = position.side == chess::BLACK;
    if (*square / 8 != (whitePassed ? 2 : 5))
        return false;
    const int pawn = *square + (whitePassed ? 8 : -8);
    const int origin = *square + (whitePassed ? -8 : 8);
    const chess::Colour passer = whitePassed ? chess::WHITE : chess::BLACK;
    if (position.squares[static_cast<std::size_t>(pawn)] == pieceCode(passer, chess::PAWN) &&
        position.squares[static_cast<std::size_t>(*square)] == 0 && position.squares[static_cast<std::size_t>(origin)] == 0)
        position.enPassant = *square;
    return true;
}

// The optional half-move clock and move number; a move number of 0, which some programs
// write for the initial position, counts as 1.
bool readCounters(const std::vector<std::string>& fields, PositionSetup& position) {
    const auto number = [](const std::string& text, int& value) {
        const std::optional<std::int64_t> read = numberWithin(text, 0, std::numeric_limits<int>::max());
        value = static_cast<int>(read.value_or(0));
        return read.has_value();
    };
    if (fields.size() > 4 && !number(fields[4], position.halfmoveClock))
        return false;
    if (fields.size() > 5 && !number(fields[5], position.fullmoveNumber))
        return false;
    position.fullmoveNumber = std::max(position.fullmoveNumber, 1);
    return true;
}

// Why the position cannot arise, or empty.
std::string impossibility(const PositionSetup& position) {
    const auto& squares = position.squares;
    if (std::count(squares.begin(), squares.end(), pieceCode(chess::WHITE, chess::KING)) != 1 ||
        std::count(squares.begin(), squares.end(), pieceCode(chess::BLACK, chess::KING)) != 1)
        return "each side needs exactly one king";
    for (int column = 0; column < 8; ++column)
        for (const int square : {column, 56 + column})
            if (std::abs(squares[static_cast<std::size_t>(square)]) == chess::PAWN)
                return "a pawn stands on the first or last row";
    const engine::Position board = enginePosition(position);
    if (board.isAttacked(board.kingSquare(chess::opponent(position.side)), position.side))
        return "the side not to move is in check";
    return {};
}

}  // namespace

std::optional<PositionSetup> parseFen(std::string_view text, std::string& error, bool chess960) {
    const std::vector<std::string> fields = splitWords(text);
    PositionSetup position;
    if (fields.size() < 4 || fields.size() > 6 || !readPlacement(fields[0], position)) {
        error = "malformed FEN placement or field count";
        return std::nullopt;
    }
    if (fields[1] != "w" && fields[1] != "b") {
        error = "the side to move must be w or b";
        return std::nullopt;
    }
    position.side = fields[1] == "w" ? chess::WHITE : chess::BLACK;
    if (!readCastling(fields[2], chess960, position) || !readEnPassant(fields[3], position)) {
        error = "malformed FEN castling or en passant field";
        return std::nullopt;
    }
    if (!readCounters(fields, position)) {
        error = "the half-move clock and the move number must be whole numbers from 0";
        return std::nullopt;
    }
    error = impossibility(position);
    if (!error.empty())
        return std::nullopt;
    return position;
}

}  // namespace vek::uci

namespace vek::uci {
namespace {

void writePlacement(const engine::Position& position, std::string& fen) {
    for (int row = 7; row >= 0; --row) {
        int empty = 0;
        for (int column = 0; column < 8; ++column) {
            const int piece = position.pieceAt(row * 8 + column);
            if (piece == 0) {
                ++empty;
                continue;
            }
            if (empty > 0)
                fen += static_cast<char>('0' + empty);
            empty = 0;
            const char letter = kFigureLetters[static_cast<std::size_t>(std::abs(piece) - chess::PAWN)];
            fen += piece > 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
        }
        if (empty > 0)
            fen += static_cast<char>('0' + empty);
        if (row > 0)
            fen += '/';
    }
}

// A right's letter: K or Q (k or q for Black) when it names the outermost rook on its side,
// else the rook's file.
char castlingLetter(const engine::Position& position, int right) {
    const bool white = right < 2;
    const bool kingSide = right % 2 == 0;
    const int rook = position.castlingRook(right);
    const int edge = kingSide ? rook / 8 * 8 + 7 : rook / 8 * 8;
    const int own = white ? chess::ROOK : -chess::ROOK;
    bool outermost = true;
    for (int square = edge; square != rook; square += kingSide ? -1 : 1)
        outermost = outermost && position.pieceAt(square) != own;
    const char letter = !position.isChess960() || outermost ? (kingSide ? 'k' : 'q') : static_cast<char>('a' + rook % 8);
    return white ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace

std::string fenOf(const engine::Position& position) {
    std::string fen;
    writePlacement(position, fen);
    fen += position.sideToMove() == chess::WHITE ? " w " : " b ";
    std::string castling;
    for (int right = 0; right < 4; ++right)
        if (position.castling() & (1u << right))
            castling += castlingLetter(position, right);
    fen += castling.empty() ? "-" : castling;
    fen += ' ' + (position.enPassant() < 0 ? std::string("-") : squareName(position.enPassant()));
    return fen + ' ' + std::to_string(position.halfmoveClock()) + ' ' + std::to_string(position.fullmoveNumber());
}

}  // namespace vek::uci
