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

// The rights of the field that the figures at home still allow.
bool readCastling(std::string_view text, PositionSetup& position) {
    if (text == "-")
        return true;
    struct Right {
        char letter;
        unsigned bit;
        int king;
        int rook;
    };
    constexpr std::array<Right, 4> kRights{{{'K', crWHITE_KING_SIDE, 4, 7},
                                            {'Q', crWHITE_QUEEN_SIDE, 4, 0},
                                            {'k', crBLACK_KING_SIDE, 60, 63},
                                            {'q', crBLACK_QUEEN_SIDE, 60, 56}}};
    for (const char c : text) {
        const auto right = std::find_if(kRights.begin(), kRights.end(), [c](const Right& r) { return r.letter == c; });
        if (right == kRights.end())
            return false;
        const chess::Colour colour = right->king == 4 ? chess::WHITE : chess::BLACK;
        if (position.squares[static_cast<std::size_t>(right->king)] == pieceCode(colour, chess::KING) &&
            position.squares[static_cast<std::size_t>(right->rook)] == pieceCode(colour, chess::ROOK))
            position.castling |= right->bit;
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

std::optional<PositionSetup> parseFen(std::string_view text, std::string& error) {
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
    if (!readCastling(fields[2], position) || !readEnPassant(fields[3], position)) {
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
