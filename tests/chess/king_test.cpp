#include <gtest/gtest.h>

#include "chess/figures.h"
#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::play;
using testing::setUp;
using testing::sq;
using testing::targetsOf;
using Names = std::vector<std::string>;

bool isZero(const CastlingOption& option) {
    return option.kingTarget == kNoSquare && option.rookTarget == kNoSquare && option.rook == nullptr;
}

TEST(KingSteps, TriesTheLinesInPairsOfOppositeDirections) {
    Board board;
    setUp(board, {"Ke4", "kh8"});
    const Names all{"e5", "e3", "f4", "d4", "f5", "d3", "d5", "f3"};
    EXPECT_EQ(targetsOf(board, "e4"), all);
    EXPECT_EQ(testing::coveredOf(board, "e4"), all);
}

TEST(KingSteps, AvoidCoveredSquaresAndTheEnemyKingsNeighbourhood) {
    Board board;
    setUp(board, {"Ke4", "ke6", "ta3"});
    EXPECT_EQ(targetsOf(board, "e4"), (Names{"f4", "d4"}));
}

TEST(KingSteps, NoStepAwayFromOrTowardALineChecker) {
    Board board;
    setUp(board, {"Ke1", "ta1", "ke8"});
    EXPECT_EQ(targetsOf(board, "e1"), (Names{"e2", "f2", "d2"}));
}

TEST(KingSteps, TakesAnAdjacentCheckerOnlyWhenItIsUnprotected) {
    Board board;
    setUp(board, {"Ke1", "td1", "ke8"});
    EXPECT_EQ(targetsOf(board, "e1"), (Names{"e2", "d1", "f2"}));
    setUp(board, {"Ke1", "td1", "sc3", "ke8"});
    EXPECT_EQ(targetsOf(board, "e1"), Names{"f2"});
}

TEST(Castling, BothSidesWithUnmovedKingAndRooks) {
    Board board;
    setUp(board, {"Ke1", "Ta1", "Th1", "ke8"});
    const auto* king = board.whiteKing();
    EXPECT_EQ(targetsOf(board, "e1"), (Names{"e2", "f1", "d1", "f2", "d2", "c1", "g1"}));
    EXPECT_EQ(king->queenSide().kingTarget, sq("c1"));
    EXPECT_EQ(king->queenSide().rookTarget, sq("d1"));
    EXPECT_EQ(king->queenSide().rook, board.figureAt(sq("a1")));
    EXPECT_EQ(king->kingSide().kingTarget, sq("g1"));
    EXPECT_EQ(king->kingSide().rookTarget, sq("f1"));
    EXPECT_EQ(king->kingSide().rook, board.figureAt(sq("h1")));
}

TEST(Castling, BlockedOrAttackedSquaresPreventIt) {
    Board board;
    setUp(board, {"Ke1", "Ta1", "Sb1", "Th1", "ke8"});  // b1 occupied, c1 and d1 free
    EXPECT_TRUE(isZero(board.whiteKing()->queenSide()));
    EXPECT_EQ(board.whiteKing()->kingSide().kingTarget, sq("g1"));

    setUp(board, {"Ke1", "Ta1", "Th1", "tg8", "ke8"}, 'S');  // g1 attacked
    EXPECT_TRUE(isZero(board.whiteKing()->kingSide()));
    EXPECT_EQ(board.whiteKing()->queenSide().kingTarget, sq("c1"));

    setUp(board, {"Ke1", "Ta1", "Th1", "tf8", "ke8"}, 'S');  // f1 attacked: no east step either
    EXPECT_EQ(targetsOf(board, "e1"), (Names{"e2", "d1", "d2", "c1"}));
}

TEST(Castling, NeverOutOfCheck) {
    Board board;
    setUp(board, {"Ke1", "Ta1", "Th1", "te8", "kb8"});
    EXPECT_EQ(board.state(), WHITE_IN_CHECK);
    EXPECT_EQ(targetsOf(board, "e1"), (Names{"f1", "d1", "f2", "d2"}));
    EXPECT_TRUE(isZero(board.whiteKing()->queenSide()));
    EXPECT_TRUE(isZero(board.whiteKing()->kingSide()));
}

TEST(Castling, NotAfterTheKingOrTheRookHasMoved) {
    Board board;
    setUp(board, {"Ke1", "Th1", "ka8"});
    for (const char* move : {"h1h2", "a8b8", "h2h1", "b8a8"})
        play(board, move);
    EXPECT_TRUE(isZero(board.whiteKing()->kingSide()));

    setUp(board, {"Ke1", "Th1", "ka8"});
    for (const char* move : {"e1f1", "a8b8", "f1e1", "b8a8"})
        play(board, move);
    EXPECT_TRUE(isZero(board.whiteKing()->kingSide()));
    EXPECT_TRUE(isZero(board.whiteKing()->queenSide()));
}

// The search's trial moves set no moved flags, so a king they took one square sideways still
// counts as unmoved; a castling from there would put king and rook on one square.
TEST(Castling, OnlyFromTheKingsInitialSquare) {
    const auto trial = [](Board& board, const char* from, const char* to) {
        Move move;
        move.figure = board.figureAt(sq(from));
        move.from = sq(from);
        move.to = sq(to);
        board.applyMove(move);
        board.refresh();
    };
    Board board;
    setUp(board, {"Ke1", "Th1", "ke8", "ta8"});
    trial(board, "e1", "d1");
    trial(board, "e8", "f8");
    EXPECT_FALSE(board.whiteKing()->moved());
    EXPECT_EQ(targetsOf(board, "d1"), (Names{"d2", "e1", "c1", "e2", "c2"}));
    EXPECT_TRUE(isZero(board.whiteKing()->kingSide()));
    EXPECT_TRUE(isZero(board.whiteKing()->queenSide()));
    EXPECT_EQ(targetsOf(board, "f8"), (Names{"f7", "g8", "e8", "e7", "g7"}));
    EXPECT_TRUE(isZero(board.blackKing()->queenSide()));
}

TEST(Castling, FreshKingHasNoCastlingRecords) {
    Board board;
    const auto* king = static_cast<King*>(board.createFigure(BLACK, KING, sq("e8"), false));
    EXPECT_TRUE(isZero(king->queenSide()));
    EXPECT_TRUE(isZero(king->kingSide()));
}

}  // namespace
}  // namespace vek::chess
