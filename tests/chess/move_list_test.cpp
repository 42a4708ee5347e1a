#include <algorithm>

#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::describe;
using testing::play;
using testing::setUp;
using testing::sq;
using Names = std::vector<std::string>;

MoveList movesFrom(const MoveList& list, const char* square) {
    MoveList selected;
    for (const Move& move : list)
        if (move.from == sq(square))
            selected.append(move);
    return selected;
}

TEST(AllMoves, InitialPositionByFromSquareThenTargetOrder) {
    Board board;
    board.newGame();
    const MoveList list = board.listAllMoves();
    EXPECT_EQ(describe(list), (Names{"b1c3", "b1a3", "g1h3", "g1f3", "a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4",
                                     "d2d3", "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4"}));
    for (const Move& move : list) {
        EXPECT_EQ(move.figure, board.figureAt(move.from));
        EXPECT_EQ(move.score, 0);
        EXPECT_EQ(move.promotedFigure, nullptr);
    }
}

TEST(AllMoves, PawnReachingTheLastRowGivesFourPromotions) {
    Board board;
    setUp(board, {"Be7", "tf8", "Ka1", "kh8"});
    const MoveList pawnMoves = movesFrom(board.listAllMoves(), "e7");
    EXPECT_EQ(describe(pawnMoves), (Names{"e7e8D", "e7e8T", "e7e8S", "e7e8L", "e7xf8D", "e7xf8T", "e7xf8S", "e7xf8L"}));
    EXPECT_EQ(pawnMoves[4].captured, board.figureAt(sq("f8")));
    EXPECT_EQ(pawnMoves[4].capturedSquare, sq("f8"));
}

TEST(AllMoves, OnlyTheCastlingEntryCarriesTheRook) {
    Board board;
    setUp(board, {"Ke1", "Th1", "ke8"});
    const MoveList kingMoves = movesFrom(board.listAllMoves(), "e1");
    ASSERT_EQ(describe(kingMoves), (Names{"e1e2", "e1f1", "e1d1", "e1f2", "e1d2", "e1g1"}));
    for (std::size_t i = 0; i + 1 < kingMoves.getCount(); ++i)
        EXPECT_EQ(kingMoves[i].castlingRook, nullptr);
    const Move& castling = kingMoves[5];
    EXPECT_EQ(castling.castlingRook, board.figureAt(sq("h1")));
    EXPECT_EQ(castling.rookFrom, sq("h1"));
    EXPECT_EQ(castling.rookTo, sq("f1"));
}

TEST(Evasions, CapturesThenBlocksFromTheKingOutwardThenKingMoves) {
    Board board;
    setUp(board, {"Ke1", "te4", "Sc3", "Th3", "Lb7", "kg8"});
    std::size_t checkers = 0;
    const MoveList list = board.listEvasions(checkers);
    EXPECT_EQ(checkers, 1u);
    EXPECT_EQ(describe(list), (Names{"c3xe4", "b7xe4", "c3e2", "h3e3", "e1f1", "e1d1", "e1f2", "e1d2"}));
    EXPECT_TRUE(board.hasLegalMove());
}

TEST(Evasions, KnightCheckIsAnsweredByCapturesAndKingMovesOnly) {
    Board board;
    setUp(board, {"Ke1", "sd3", "Td8", "Dh3", "kg6"});
    std::size_t checkers = 0;
    EXPECT_EQ(describe(board.listEvasions(checkers)), (Names{"h3xd3", "d8xd3", "e1e2", "e1f1", "e1d1", "e1d2"}));
    EXPECT_EQ(checkers, 1u);
}

TEST(Evasions, DoubleCheckLeavesOnlyKingMoves) {
    Board board;
    setUp(board, {"Ke1", "te8", "lb4", "Sc2", "ka8"});
    std::size_t checkers = 0;
    EXPECT_EQ(describe(board.listEvasions(checkers)), (Names{"e1f1", "e1d1", "e1f2"}));
    EXPECT_EQ(checkers, 2u);
}

TEST(Evasions, WithoutCheckOnlyTheKingMovesAreListed) {
    Board board;
    board.newGame();
    std::size_t checkers = 5;
    EXPECT_TRUE(board.listEvasions(checkers).isEmpty());
    EXPECT_EQ(checkers, 0u);
    EXPECT_TRUE(board.hasLegalMove());
}

TEST(Evasions, CheckingPawnCanBeTakenEnPassant) {
    Board board;
    setUp(board, {"Ke4", "Be5", "bd7", "kh8"}, 'S');
    play(board, "d7d5");
    ASSERT_EQ(board.state(), WHITE_IN_CHECK);
    std::size_t checkers = 0;
    const MoveList list = board.listEvasions(checkers);
    const auto passing = std::find_if(list.begin(), list.end(), [](const Move& m) { return m.from == sq("e5"); });
    ASSERT_NE(passing, list.end());
    EXPECT_EQ(passing->to, sq("d6"));
    EXPECT_EQ(passing->captured, board.figureAt(sq("d5")));
    EXPECT_EQ(passing->capturedSquare, sq("d5"));
}

TEST(Evasions, EmptyListInCheckMeansNoLegalMove) {
    Board board;
    setUp(board, {"Kh1", "Bg2", "Bh2", "ta1", "ka8"}, 'W', false);
    std::size_t checkers = 0;
    EXPECT_TRUE(board.listEvasions(checkers).isEmpty());
    EXPECT_EQ(checkers, 1u);
    EXPECT_FALSE(board.hasLegalMove());
}

TEST(MoveLists, AddPromotionsAppendsQueenRookKnightBishop) {
    MoveList list;
    Move pawnMove;
    pawnMove.from = sq("a7");
    pawnMove.to = sq("a8");
    list.addPromotions(pawnMove);
    ASSERT_EQ(list.getCount(), 4u);
    const int kinds[] = {QUEEN, ROOK, KNIGHT, BISHOP};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i].promotionKind, kinds[i]);
        EXPECT_EQ(list[i].to, sq("a8"));
    }
    EXPECT_EQ(list.getGrowthStep(), 32u);
}

}  // namespace
}  // namespace vek::chess
