#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chess/notation.h"
#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::play;
using testing::setUp;
using testing::sq;

std::string lastMoveText(const Board& board) {
    return moveText(board.history()[board.history().getCount() - 1]).getText();
}

std::string afterMoves(std::initializer_list<const char*> moves) {
    Board board;
    board.newGame();
    for (const char* move : moves)
        play(board, move);
    return lastMoveText(board);
}

TEST(MoveText, PlainMovesCapturesAndMate) {
    EXPECT_EQ(afterMoves({"e2e4"}), "e2-e4");
    EXPECT_EQ(afterMoves({"g1f3"}), "Sg1-f3");
    EXPECT_EQ(afterMoves({"e2e4", "e7e5", "f1c4", "b8c6", "d1h5", "g8f6", "h5f7"}), "Dh5xf7#");
    EXPECT_EQ(afterMoves({"e2e4", "d7d5", "e4e5", "f7f5", "e5f6"}), "e5xf6");  // en passant
    EXPECT_EQ(afterMoves({"e2e4", "e7e5", "e1e2"}), "Ke1-e2");
}

TEST(MoveText, PromotionsNameTheNewFigure) {
    Board board;
    setUp(board, {"Be7", "Ka1", "kh6"});
    board.playPromotion(board.figureAt(sq("e7")), sq("e7"), QUEEN, sq("e8"));
    EXPECT_EQ(lastMoveText(board), "e7-e8D");
    setUp(board, {"Be7", "tf8", "Ka1", "kg6"});
    board.playPromotion(board.figureAt(sq("e7")), sq("e7"), KNIGHT, sq("f8"));
    EXPECT_EQ(lastMoveText(board), "e7xf8S+");
}

TEST(MoveText, CastlingHasNoMarks) {
    Board board;
    setUp(board, {"Ke1", "Ta1", "Th1", "kd8"});
    board.playCastling(board.whiteKing(), sq("c1"), board.figureAt(sq("a1")), sq("d1"));
    EXPECT_EQ(board.state(), BLACK_IN_CHECK);
    EXPECT_EQ(lastMoveText(board), "O-O-O");
    setUp(board, {"Ke1", "Th1", "ka8"});
    board.playCastling(board.whiteKing(), sq("g1"), board.figureAt(sq("h1")), sq("f1"));
    EXPECT_EQ(lastMoveText(board), "O-O");
}

TEST(MoveText, StalemateHasNoMarkAndAnEmptyEntryNoText) {
    Board board;
    setUp(board, {"ka8", "Dc5", "Kh1"});
    play(board, "c5b6");
    EXPECT_EQ(board.state(), STALEMATE);
    EXPECT_EQ(lastMoveText(board), "Dc5-b6");
    EXPECT_TRUE(moveText(Move{}).isEmpty());
}

TEST(FigureLetters, GermanLettersForKindsOneToSix) {
    EXPECT_EQ(std::string({figureLetter(1), figureLetter(2), figureLetter(3), figureLetter(4), figureLetter(5),
                           figureLetter(6)}),
              "BSLTDK");
    EXPECT_EQ(figureLetter(0), 0);
    EXPECT_EQ(figureLetter(7), 0);
}

// Applies the move list rule to lines as the side panel keeps them.
std::vector<std::string> moveListLines(const Board& board) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < board.history().getCount(); ++i) {
        const MoveListEntry entry = moveListEntry(i, board.history()[i]);
        if (entry.extendsLine)
            lines.at(entry.line) += entry.text.getText();
        else
            lines.emplace_back(entry.text.getText());
    }
    return lines;
}

TEST(MoveListLines, PairsWhiteAndBlackMovesUnderOneNumber) {
    Board board;
    board.newGame();
    for (const char* move : {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"})
        play(board, move);
    EXPECT_EQ(moveListLines(board),
              (std::vector<std::string>{"1. e2-e4, e7-e5", "2. Sg1-f3, Sb8-c6", "3. Lf1-b5"}));
}

TEST(MoveListLines, GameStartingWithBlackNumbersByHistoryIndex) {
    Board board;
    ASSERT_TRUE(board.loadPosition(("TSLDKLSTBBBBBBBB" + std::string(32, ' ') + "bbbbbbbbtsldklstS").c_str()));
    for (const char* move : {"e7e5", "e2e4", "g8f6", "g1f3"})
        play(board, move);
    EXPECT_EQ(moveListLines(board),
              (std::vector<std::string>{"1. ..., e7-e5", "1. e2-e4, Sg8-f6", "2. Sg1-f3"}));
}

}  // namespace
}  // namespace vek::chess
