#include <string>

#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::play;
using testing::positionOf;
using testing::sq;

const std::string kInitial = "TSLDKLSTBBBBBBBB" + std::string(32, ' ') + "bbbbbbbbtsldklst";

TEST(PositionText, InitialPositionWritesTheLayoutFromA1ToH8) {
    Board board;
    board.newGame();
    EXPECT_EQ(std::string(board.positionText().getText()), kInitial);
}

TEST(PositionText, ReadingTheInitialLayoutGivesUnmovedFiguresWithWhiteToMove) {
    Board board;
    ASSERT_TRUE(board.loadPosition((kInitial + "W").c_str()));
    EXPECT_EQ(board.figures().getCount(), 32u);
    for (const Figure* figure : board.figures())
        EXPECT_FALSE(figure->moved());
    EXPECT_EQ(board.sideToMove(), WHITE);
    EXPECT_EQ(board.state(), RUNNING);
    EXPECT_TRUE(board.history().isEmpty());
    EXPECT_TRUE(board.whiteClock().running);
    EXPECT_EQ(board.figureAt(sq("b1"))->moves().targetCount, 2u);
}

TEST(PositionText, RoundTripKeepsFiguresAndSideToMove) {
    Board board;
    board.newGame();
    for (const char* move : {"e2e4", "d7d5", "e4d5", "g8f6", "f1b5"})
        play(board, move);
    const vek::STRING text = board.positionText() + "S";
    Board copy;
    ASSERT_TRUE(copy.loadPosition(text));
    EXPECT_STREQ(copy.positionText().getText(), board.positionText().getText());
    EXPECT_EQ(copy.sideToMove(), BLACK);
    EXPECT_EQ(copy.state(), BLACK_IN_CHECK);
    EXPECT_TRUE(copy.blackClock().running);
    EXPECT_FALSE(copy.whiteClock().running);
}

TEST(PositionText, FiguresAwayFromTheirInitialSquareReadAsMoved) {
    Board board;
    ASSERT_TRUE(board.loadPosition(positionOf({"Kg1", "Tf1", "Th1", "Bd8", "ke8"})));
    EXPECT_TRUE(board.figureAt(sq("g1"))->moved());
    EXPECT_TRUE(board.figureAt(sq("f1"))->moved());
    EXPECT_FALSE(board.figureAt(sq("h1"))->moved());
    EXPECT_FALSE(board.figureAt(sq("e8"))->moved());
    EXPECT_EQ(board.whiteKing()->kingSide().kingTarget, kNoSquare);
    const Figure* pawn = board.figureAt(sq("d8"));
    EXPECT_EQ(pawn->kind(), PAWN);
    EXPECT_TRUE(pawn->moved());
}

TEST(PositionText, AnySideLetterButUpperCaseWMeansBlack) {
    Board board;
    const std::string kings = positionOf({"Ke1", "ke8"}, ' ').getText();
    for (const char* side : {"w", "S", "x", ""}) {
        ASSERT_TRUE(board.loadPosition((kings.substr(0, 64) + side).c_str())) << side;
        EXPECT_EQ(board.sideToMove(), BLACK) << side;
    }
    ASSERT_TRUE(board.loadPosition((kings.substr(0, 64) + "W").c_str()));
    EXPECT_EQ(board.sideToMove(), WHITE);
}

TEST(PositionText, UnknownLettersAreEmptySquares) {
    Board board;
    std::string text = positionOf({"Ke1", "ke8"}).getText();
    text[0] = 'X';
    text[1] = '1';
    text[2] = '\xE1';
    ASSERT_TRUE(board.loadPosition(text.c_str()));
    EXPECT_EQ(board.figures().getCount(), 2u);
    EXPECT_EQ(std::string(board.positionText().getText(), 3), "   ");
}

TEST(PositionText, ShortTextsAndPositionsWithoutBothKingsAreRefused) {
    Board board;
    board.newGame();
    EXPECT_FALSE(board.loadPosition(kInitial.substr(0, 63).c_str()));
    EXPECT_EQ(board.state(), NO_GAME);
    EXPECT_EQ(board.figures().getCount(), 0u);
    EXPECT_FALSE(board.loadPosition(positionOf({"Ke1", "Ta1"})));
    EXPECT_EQ(board.state(), NO_GAME);
    EXPECT_EQ(board.figures().getCount(), 0u);
    EXPECT_EQ(board.whiteKing(), nullptr);
    EXPECT_FALSE(board.loadPosition(""));
}

TEST(PositionText, LaterKingOfAColourReplacesTheEarlierOne) {
    Board board;
    ASSERT_TRUE(board.loadPosition(positionOf({"Ke1", "Kh1", "ke8"})));
    EXPECT_EQ(board.whiteKing(), board.figureAt(sq("h1")));
    EXPECT_EQ(board.state(), RUNNING);
}

}  // namespace
}  // namespace vek::chess
