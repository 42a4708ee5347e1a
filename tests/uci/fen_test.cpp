// Positions from GUIs: FEN texts, moves in long algebraic notation, and the board set up from
// them with what a position text cannot say.
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "uci/board_game.h"
#include "uci/engine_game.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

std::optional<PositionSetup> tryFen(const char* fen) {
    std::string error;
    auto position = parseFen(fen, error);
    EXPECT_EQ(position.has_value(), error.empty()) << fen;
    return position;
}

int at(const char* name) { return parseSquare(name).value(); }

TEST(Fen, ReadsEveryField) {
    const auto position = tryFen("rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2");
    ASSERT_TRUE(position);
    EXPECT_EQ(position->squares[static_cast<std::size_t>(at("e4"))], pieceCode(chess::WHITE, chess::PAWN));
    EXPECT_EQ(position->squares[static_cast<std::size_t>(at("d8"))], pieceCode(chess::BLACK, chess::QUEEN));
    EXPECT_EQ(position->squares[static_cast<std::size_t>(at("e2"))], 0);
    EXPECT_EQ(position->side, chess::WHITE);
    EXPECT_EQ(position->castling, crWHITE_KING_SIDE | crWHITE_QUEEN_SIDE | crBLACK_KING_SIDE | crBLACK_QUEEN_SIDE);
    EXPECT_EQ(position->enPassant, at("c6"));
    const auto counted = tryFen("4k3/8/8/8/8/8/8/4K3 b - - 37 81");
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->halfmoveClock, 37);
    EXPECT_EQ(counted->fullmoveNumber, 81);
    const auto uncounted = tryFen("4k3/8/8/8/8/8/8/4K3 b - -");  // the counters may be left out
    ASSERT_TRUE(uncounted);
    EXPECT_EQ(uncounted->halfmoveClock, 0);
    EXPECT_EQ(uncounted->fullmoveNumber, 1);
    // Without them the en passant square is the last field.
    const auto passed = tryFen("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6");
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->enPassant, at("f6"));
}

TEST(Fen, RefusesMalformedTextsAndImpossiblePositions) {
    for (const char* fen : {
             "", "4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/4K3 w",
             "4k3/8/8/8/8/8/8/4K3 x - -",           // side
             "4k3/8/8/8/8/8/8/4K4 w - -",           // nine squares in a row
             "4k3/8/8/8/8/8/4K3 w - -",             // seven rows
             "4k3/8/8/8/8/8/8/8/4K3 w - -",         // nine rows
             "4k3/8/8/8/8/8/8/4X3 w - -",           // letter
             "4k3/8/8/8/8/8/8/4K3 w KX -",          // castling letter
             "4k3/8/8/8/8/8/8/4K3 w - e4",          // en passant row
             "4k3/8/8/8/8/8/8/4K3 w - - 0 1 extra",
             "4k3/8/8/8/8/8/8/4K3 w - - -1 1",      // counters
             "4k3/8/8/8/8/8/8/4K3 w - - 0 x",
             "4k3/8/8/8/8/8/8/4K3 w - - 99999999999 1",
             "4k3/8/8/8/8/8/8/4KK2 w - -",          // two white kings
             "8/8/8/8/8/8/8/4K3 w - -",             // no black king
             "4k2P/8/8/8/8/8/8/4K3 w - -",          // a pawn on the last row
             "4k3/8/8/8/8/8/8/4K2r b - -",          // White, not to move, in check
         })
        EXPECT_FALSE(tryFen(fen)) << fen;
}

TEST(Fen, DropsRightsThatThePositionCannotHave) {
    // No rook on h1, the black king off e8; no pawn passed e6.
    const auto position = tryFen("r2k3r/8/8/8/8/8/8/R3K1R1 w KQkq e6 0 1");
    ASSERT_TRUE(position);
    EXPECT_EQ(position->castling, crWHITE_QUEEN_SIDE);
    EXPECT_EQ(position->enPassant, -1);
}

// Both notations of Chess960 and their mix: K and Q name the outermost rook on that side of
// the king, a file letter any rook; outside Chess960 only the king on e and the corner rooks
// castle. What is read is written back, the outermost rook by K or Q, another by its file.
TEST(Fen, ReadsAndWritesChess960Castling) {
    const auto rooksOf = [](const char* fen, bool chess960) {
        std::string error;
        const auto setup = parseFen(fen, error, chess960);
        EXPECT_TRUE(setup) << fen << ": " << error;
        return setup ? std::pair{setup->castling, setup->castlingRooks} : std::pair{0u, engine::CastlingRooks{}};
    };
    const auto all = crWHITE_KING_SIDE | crWHITE_QUEEN_SIDE | crBLACK_KING_SIDE | crBLACK_QUEEN_SIDE;
    const engine::CastlingRooks outer{static_cast<std::int8_t>(at("h1")), static_cast<std::int8_t>(at("a1")),
                                      static_cast<std::int8_t>(at("h8")), static_cast<std::int8_t>(at("a8"))};
    for (const char* field : {"KQkq", "HAha", "HQka", "AHah"})
        EXPECT_EQ(rooksOf((std::string("rr3k1r/8/8/8/8/8/8/RR3K1R w ") + field + " - 0 1").c_str(), true),
                  std::pair(unsigned(all), outer)) << field;
    const auto inner = rooksOf("rr3k1r/8/8/8/8/8/8/RR3K1R w Bb - 0 1", true);
    EXPECT_EQ(inner.first, unsigned(crWHITE_QUEEN_SIDE | crBLACK_QUEEN_SIDE));
    EXPECT_EQ(inner.second[1], at("b1"));
    EXPECT_EQ(inner.second[3], at("b8"));
    EXPECT_EQ(rooksOf("rr3k1r/8/8/8/8/8/8/RR3K1R w KQkq - 0 1", false).first, 0u);
    EXPECT_EQ(rooksOf("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1", false).first, unsigned(all));
    std::string error;
    EXPECT_FALSE(parseFen("rr3k1r/8/8/8/8/8/8/RR3K1R w QB - 0 1", error, true));  // two rooks, one castling
    EXPECT_FALSE(error.empty());

    for (const char* fen : {"rr3k1r/8/8/8/8/8/8/RR3K1R w KQkq - 0 1", "rr3k1r/8/8/8/8/8/8/RR3K1R b KBkb - 3 7",
                            "1r2k1r1/8/8/8/8/8/8/1R2K1R1 w KQkq - 0 1"})
        EXPECT_EQ(fenOf(enginePosition(parseFen(fen, error, true).value())), fen);
}

TEST(LongAlgebraic, ReadsAndWritesMoves) {
    const auto promotion = parseMove("e7e8q");
    ASSERT_TRUE(promotion);
    EXPECT_EQ(*promotion, (engine::Move{static_cast<std::uint8_t>(at("e7")), static_cast<std::uint8_t>(at("e8")), chess::QUEEN}));
    EXPECT_EQ(parseMove("a2a1N").value().promotion, chess::KNIGHT);
    for (const char* text : {"e2e4", "e1g1", "h7h8r", "b2b1b", "a1h8"})
        EXPECT_EQ(moveText(parseMove(text).value()), text);
    for (const char* text : {"", "e2", "e2e", "e2e9", "i2e4", "e7e8k", "e7e8qq", "e2-e4", "0000"})
        EXPECT_FALSE(parseMove(text)) << text;
}

// What a position text cannot say, given to the board: the castling that is left, and the
// pawn that may be taken en passant.
TEST(BoardGame, SetUpGivesTheBoardCastlingRightsAndEnPassant) {
    chess::Board board;
    ASSERT_TRUE(setUpBoard(board, tryFen("r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1").value()));
    EXPECT_EQ(board.whiteKing()->kingSide().kingTarget, (chess::Square{'g', 1}));
    EXPECT_EQ(board.whiteKing()->queenSide().kingTarget, chess::kNoSquare);
    EXPECT_EQ(board.blackKing()->queenSide().kingTarget, (chess::Square{'c', 8}));
    EXPECT_EQ(board.blackKing()->kingSide().kingTarget, chess::kNoSquare);

    // Each right alone, its rook the only one on the board.
    for (const auto& [fen, right] : {std::pair{"4k3/8/8/8/8/8/8/4K2R w K - 0 1", crWHITE_KING_SIDE},
                                     std::pair{"4k3/8/8/8/8/8/8/R3K3 w Q - 0 1", crWHITE_QUEEN_SIDE},
                                     std::pair{"4k2r/8/8/8/8/8/8/4K3 b k - 0 1", crBLACK_KING_SIDE},
                                     std::pair{"r3k3/8/8/8/8/8/8/4K3 b q - 0 1", crBLACK_QUEEN_SIDE}}) {
        const PositionSetup setup = tryFen(fen).value();
        ASSERT_TRUE(setUpBoard(board, setup)) << fen;
        const int home = setup.side == chess::WHITE ? at("e1") : at("e8");
        const int target = home + ((right & (crWHITE_KING_SIDE | crBLACK_KING_SIDE)) != 0 ? 2 : -2);
        const engine::Move castling{static_cast<std::uint8_t>(home), static_cast<std::uint8_t>(target), 0};
        EXPECT_TRUE(isLegal(enginePosition(setup), castling)) << fen;
        const chess::Figure* king = board.figureAtIndex(static_cast<std::size_t>(home));
        ASSERT_NE(king, nullptr);
        const chess::Square kingTarget = chess::squareAt(static_cast<std::size_t>(target));
        EXPECT_EQ(right & (crWHITE_KING_SIDE | crBLACK_KING_SIDE) ? board.kingOf(setup.side)->kingSide().kingTarget
                                                                  : board.kingOf(setup.side)->queenSide().kingTarget,
                  kingTarget) << fen;
        playGameMove(board, castling);
        EXPECT_EQ(board.figureAtIndex(static_cast<std::size_t>(target)), king) << fen;
    }

    ASSERT_TRUE(setUpBoard(board, tryFen("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1").value()));
    EXPECT_TRUE(board.figureAt(chess::Square{'d', 4})->moves().hasTarget(chess::Square{'e', 3}));
    ASSERT_TRUE(setUpBoard(board, tryFen("4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1").value()));
    EXPECT_FALSE(board.figureAt(chess::Square{'d', 4})->moves().hasTarget(chess::Square{'e', 3}));
}

}  // namespace
}  // namespace vek::uci
