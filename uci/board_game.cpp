#include "uci/board_game.h"

#include <cstdlib>

#include "chess/notation.h"

namespace vek::uci {
namespace {

// The board's letter of a square's content (chess/notation.h), lower case for Black.
char squareLetter(std::int8_t piece) {
    if (piece == 0)
        return ' ';
    const char letter = chess::figureLetter(std::abs(piece));
    return piece > 0 ? letter : static_cast<char>(letter - 'A' + 'a');
}

// For a colour without the right to castle to one side, the figure that can no longer do it.
void markLostRight(chess::Board& board, const PositionSetup& position, chess::Colour colour) {
    const bool white = colour == chess::WHITE;
    const auto row = static_cast<std::int8_t>(white ? 1 : 8);
    const bool kingSide = position.castling & (white ? crWHITE_KING_SIDE : crBLACK_KING_SIDE);
    const bool queenSide = position.castling & (white ? crWHITE_QUEEN_SIDE : crBLACK_QUEEN_SIDE);
    if (!kingSide && !queenSide)
        board.markMoved(chess::Square{'e', row});
    else if (!kingSide)
        board.markMoved(chess::Square{'h', row});
    else if (!queenSide)
        board.markMoved(chess::Square{'a', row});
}

}  // namespace

bool setUpBoard(chess::Board& board, const PositionSetup& position) {
    vek::STRING text;
    for (const std::int8_t piece : position.squares)
        text += squareLetter(piece);
    text += position.side == chess::WHITE ? 'W' : 'S';
    if (!board.loadPosition(text))
        return false;
    markLostRight(board, position, chess::WHITE);
    markLostRight(board, position, chess::BLACK);
    if (position.enPassant >= 0) {
        const int pawn = position.enPassant + (position.side == chess::BLACK ? 8 : -8);
        board.recordDoubleStep(chess::squareAt(static_cast<std::size_t>(pawn)));
    }
    return true;
}

void playGameMove(chess::Board& board, engine::Move move) {
    chess::Figure* figure = board.figureAtIndex(move.from);
    const chess::Square from = chess::squareAt(move.from);
    const chess::Square to = chess::squareAt(move.to);
    if (move.promotion != 0) {
        board.playPromotion(figure, from, static_cast<chess::FigureKind>(move.promotion), to);
        return;
    }
    if (figure->kind() == chess::KING && std::abs(to.column - from.column) == 2) {
        const bool kingSide = to.column == 'g';
        chess::Figure* rook = board.figureAt(chess::Square{kingSide ? 'h' : 'a', from.row});
        board.playCastling(figure, to, rook, chess::Square{kingSide ? 'f' : 'd', from.row});
        return;
    }
    chess::Move played;
    played.figure = figure;
    played.from = from;
    played.to = to;
    board.playMove(played);  // takes en passant by the board's last move, as standard chess does
}

engine::Move moveOf(const chess::Move& move) {
    return engine::Move{static_cast<std::uint8_t>(chess::squareIndex(move.from)),
                        static_cast<std::uint8_t>(chess::squareIndex(move.to)),
                        static_cast<std::int8_t>(move.promotionKind)};
}

}  // namespace vek::uci
