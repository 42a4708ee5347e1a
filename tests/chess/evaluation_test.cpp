#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::play;
using testing::setUp;

// White's material and mobility minus Black's, from the figures standing on the board.
std::int32_t materialAndMobility(const Board& board) {
    std::int32_t sum = 0;
    for (std::size_t index = 0; index < 64; ++index) {
        const Figure* figure = board.figureAtIndex(index);
        if (!figure)
            continue;
        const auto weight = static_cast<std::int32_t>(figure->value() + figure->moves().targetCount);
        sum += figure->colour() == WHITE ? weight : -weight;
    }
    return sum;
}

// What the evaluation adds beyond material and mobility: the attacked material.
std::int32_t attackedMaterial(const Board& board) { return board.evaluate() - materialAndMobility(board); }

std::int32_t evaluationOf(std::initializer_list<const char*> placements, char side = 'W') {
    Board board;
    setUp(board, placements, side);
    return board.evaluate();
}

TEST(Evaluation, InitialPositionIsLevel) {
    Board board;
    board.newGame();
    EXPECT_EQ(board.evaluate(), 0);
}

TEST(Evaluation, KingsPawnOpeningGainsTenInMobility) {
    Board board;
    board.newGame();
    play(board, "e2e4");
    ASSERT_EQ(board.sideToMove(), BLACK);
    EXPECT_EQ(board.evaluate(), 10);
}

TEST(Evaluation, ClearedBoardIsLevel) {
    const Board board;
    EXPECT_EQ(board.state(), NO_GAME);
    EXPECT_EQ(board.evaluate(), 0);
}

TEST(Evaluation, MatedWhiteLosesWhateverTheMaterial) {
    Board board;
    board.newGame();
    for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"})
        play(board, move);
    ASSERT_EQ(board.state(), BLACK_WINS);
    EXPECT_EQ(board.evaluate(), -MATE_SCORE);
}

TEST(Evaluation, MatedBlackLosesAlthoughAheadInMaterial) {
    Board board;
    setUp(board, {"Ta8", "Kf4", "kh8", "bg7", "bh7", "sa1", "sb1", "sc1"}, 'S');
    ASSERT_EQ(board.state(), WHITE_WINS);
    EXPECT_EQ(board.evaluate(), MATE_SCORE);
}

TEST(Evaluation, KingAttackedWithTheOpponentToMoveLosesForItsSide) {
    // White's king stands attacked while Black is to move: White left it so and has lost,
    // two queens up or not.
    EXPECT_EQ(evaluationOf({"Ke1", "Dd1", "Dd2", "te8", "ka8"}, 'S'), -MATE_SCORE);
    EXPECT_EQ(evaluationOf({"Ke1", "Te8", "ka8", "db6", "dc6"}, 'W'), MATE_SCORE);
}

TEST(Evaluation, CheckOnTheSideToMoveIsCountedNormally) {
    Board board;
    setUp(board, {"Ke1", "Dd1", "te8", "ka8"}, 'W');
    ASSERT_EQ(board.state(), WHITE_IN_CHECK);
    EXPECT_LT(std::abs(board.evaluate()), MATE_SCORE);
    EXPECT_GT(board.evaluate(), 0);  // a queen against a rook
}

TEST(Evaluation, StalemateIsLevelEvenFarAhead) {
    Board board;
    setUp(board, {"Kf7", "Dg6", "Ta1", "Tb1", "kh8"}, 'S');
    ASSERT_EQ(board.state(), STALEMATE);
    EXPECT_EQ(board.evaluate(), 0);
}

TEST(Evaluation, PawnsGainValueOnTheLastRowsAhead) {
    const std::int32_t whiteOnFive = evaluationOf({"Kh1", "ka8", "Be5"});
    EXPECT_EQ(evaluationOf({"Kh1", "ka8", "Be6"}) - whiteOnFive, 1);
    EXPECT_EQ(evaluationOf({"Kh1", "ka8", "Be7"}) - whiteOnFive, 2);

    const std::int32_t blackOnFour = evaluationOf({"Kh1", "ka8", "bd4"});
    EXPECT_EQ(evaluationOf({"Kh1", "ka8", "bd3"}) - blackOnFour, -1);
    EXPECT_EQ(evaluationOf({"Kh1", "ka8", "bd2"}) - blackOnFour, -2);
}

TEST(Evaluation, KnightForkingRookAndQueenAddsThirteen) {
    Board board;
    setUp(board, {"Kh1", "Sd5", "ka8", "tc7", "de7"});
    EXPECT_EQ(attackedMaterial(board), 5 + 8);
}

TEST(Evaluation, EveryCaptureCountsUnprotectedOrNot) {
    Board board;
    setUp(board, {"Kh1", "Td1", "Tf3", "ka8", "sd3"});
    EXPECT_EQ(attackedMaterial(board), 3 + 3);  // both rooks can take the knight
}

TEST(Evaluation, PawnThreatensTheKingWorthTwo) {
    Board board;
    setUp(board, {"Kf6", "Bg7", "kh8"}, 'S');
    ASSERT_EQ(board.state(), BLACK_IN_CHECK);
    EXPECT_EQ(attackedMaterial(board), 2);
}

TEST(Evaluation, EnPassantCountsThePassedPawn) {
    Board board;
    setUp(board, {"Ke1", "Be5", "ke8", "bd7"}, 'S');
    play(board, "d7d5");
    EXPECT_EQ(attackedMaterial(board), 1);
}

}  // namespace
}  // namespace vek::chess
