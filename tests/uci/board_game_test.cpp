// The program's board, which the Minimax search searches, follows the GUI's game as the
// engine's board judges it: random games played on both, compared move by move. The two
// move generators of the program meet only here.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "uci/board_game.h"
#include "uci/engine_game.h"
#include "uci/fen.h"

namespace vek::uci {
namespace {

// The castling rights that the board's moved flags leave: king and rook unmoved at home.
unsigned boardCastling(const chess::Board& board) {
    const auto unmoved = [&board](int square, chess::Colour colour, chess::FigureKind kind) {
        const chess::Figure* figure = board.figureAtIndex(static_cast<std::size_t>(square));
        return figure && figure->colour() == colour && figure->kind() == kind && !figure->moved();
    };
    unsigned rights = 0;
    for (const chess::Colour colour : {chess::WHITE, chess::BLACK}) {
        const int home = colour == chess::WHITE ? 4 : 60;
        if (!unmoved(home, colour, chess::KING))
            continue;
        if (unmoved(home + 3, colour, chess::ROOK))
            rights |= colour == chess::WHITE ? crWHITE_KING_SIDE : crBLACK_KING_SIDE;
        if (unmoved(home - 4, colour, chess::ROOK))
            rights |= colour == chess::WHITE ? crWHITE_QUEEN_SIDE : crBLACK_QUEEN_SIDE;
    }
    return rights;
}

// The square that the board's last move, a pawn's double step, passed; else -1.
int boardPassedSquare(const chess::Board& board) {
    const auto& history = board.history();
    if (history.isEmpty())
        return -1;
    const chess::Move& last = history[history.getCount() - 1];
    if (!last.figure || last.figure->kind() != chess::PAWN || std::abs(last.to.row - last.from.row) != 2)
        return -1;
    return static_cast<int>((chess::squareIndex(last.from) + chess::squareIndex(last.to)) / 2);
}

TEST(BoardGame, TheBoardFollowsTheEnginesGameMoveByMove) {
    std::mt19937 random(2024);
    int games = 0;
    for (const char* fen : {kStartFen.data(), "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                            "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"}) {
        std::string error;
        const PositionSetup setup = parseFen(fen, error).value();
        for (int game = 0; game < 8; ++game, ++games) {
            engine::Position position = enginePosition(setup);
            chess::Board board;
            ASSERT_TRUE(setUpBoard(board, setup));
            for (int ply = 0; ply < 120; ++ply) {
                for (int square = 0; square < 64; ++square) {
                    const chess::Figure* figure = board.figureAtIndex(static_cast<std::size_t>(square));
                    ASSERT_EQ(figure ? pieceCode(figure->colour(), figure->kind()) : 0, position.pieceAt(square))
                        << "game " << games << " ply " << ply << " square " << square;
                }
                ASSERT_EQ(board.sideToMove(), position.sideToMove());
                ASSERT_EQ(boardCastling(board), position.castling()) << "game " << games << " ply " << ply;
                // The engine keeps a passed square only where a pawn can take on it.
                if (position.enPassant() >= 0) {
                    ASSERT_EQ(boardPassedSquare(board), position.enPassant()) << "game " << games << " ply " << ply;
                }
                const auto moves = position.legalMoves();
                if (moves.empty())
                    break;
                const engine::Move move = moves[random() % moves.size()];
                playGameMove(board, move);
                position.play(move);
            }
        }
    }
}

}  // namespace
}  // namespace vek::uci
