#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/panel_text.h"
#include "chess_test_support.h"

namespace chessapp {
namespace {

using vek::chess::Board;
using vek::chess::testing::play;
using vek::chess::testing::setUp;

// The list box's lines as plain texts.
class LinesModel : public MoveListLines {
public:
    std::size_t lineCount() const override { return lines.size(); }
    vek::STRING line(std::size_t index) const override { return lines.at(index).c_str(); }
    void replaceLine(std::size_t index, const vek::STRING& text) override { lines.at(index) = text.getText(); }
    void addLine(const vek::STRING& text) override { lines.emplace_back(text.getText()); }

    std::vector<std::string> lines;
};

std::string textOf(const vek::STRING& text) { return text.getText(); }

TEST(EvaluationText, EvaluationAndStatusWhileTheGameRuns) {
    Board board;
    board.newGame();
    const vek::STRING text = evaluationText(board);
    EXPECT_EQ(textOf(text), std::to_string(board.evaluate()) + " N\x84" "chster: Wei\xE1");
    EXPECT_EQ(text.getCharset(), vek::csOEM);

    play(board, "e2e4");
    EXPECT_EQ(textOf(evaluationText(board)), std::to_string(board.evaluate()) + " N\x84" "chster: Schwarz");

    setUp(board, {"Ke1", "ke8", "Ta8"}, 'S');
    ASSERT_EQ(board.state(), vek::chess::BLACK_IN_CHECK);
    EXPECT_EQ(textOf(evaluationText(board)), std::to_string(board.evaluate()) + " Schach");
}

TEST(EvaluationText, OnlyTheStatusOnceTheGameIsOver) {
    Board board;
    EXPECT_EQ(textOf(evaluationText(board)), "Patt/Remis");  // no game yet
    board.newGame();
    for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"})
        play(board, move);
    const vek::STRING text = evaluationText(board);
    EXPECT_EQ(textOf(text), "Schwarz (Zarvo) gewinnt durch Schachmatt");
    EXPECT_EQ(text.getCharset(), vek::csOEM);
}

TEST(MoveListLines, TwoHalfMovesToALineWrittenAsTheyCome) {
    Board board;
    board.newGame();
    LinesModel model;
    std::int64_t last = writeNewMoves(board, -1, model);
    EXPECT_EQ(last, -1);
    EXPECT_TRUE(model.lines.empty());

    play(board, "e2e4");
    last = writeNewMoves(board, last, model);
    EXPECT_EQ(model.lines, (std::vector<std::string>{"1. e2-e4"}));
    for (const char* move : {"e7e5", "g1f3"})
        play(board, move);
    last = writeNewMoves(board, last, model);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(model.lines, (std::vector<std::string>{"1. e2-e4, e7-e5", "2. Sg1-f3"}));
    EXPECT_EQ(writeNewMoves(board, last, model), 2);  // nothing new
    EXPECT_EQ(model.lines.size(), 2u);
}

TEST(MoveListLines, AHistoryThatStartsWithBlackNumbersByIndex) {
    Board board;
    setUp(board, {"Ke1", "ke8", "Ba2", "bh7"}, 'S');
    for (const char* move : {"h7h6", "a2a3", "h6h5", "a3a4"})
        play(board, move);
    LinesModel model;
    EXPECT_EQ(writeNewMoves(board, -1, model), 3);
    EXPECT_EQ(model.lines, (std::vector<std::string>{"1. ..., h7-h6", "1. a2-a3, h6-h5", "2. a3-a4"}));
}

TEST(MoveListLines, AListEmptiedBehindTheWindowsBackGetsTheNextMoveOnANewLine) {
    Board board;
    board.newGame();
    LinesModel model;
    play(board, "e2e4");
    const std::int64_t last = writeNewMoves(board, -1, model);
    model.lines.clear();
    play(board, "e7e5");
    EXPECT_EQ(writeNewMoves(board, last, model), 1);  // the model's at() would have thrown
    EXPECT_EQ(model.lines.size(), 1u);
}

TEST(ThinkingCaptions, TheRootMoveOfAllAndTheTimeTaken) {
    EXPECT_EQ(textOf(thinkingCaption("Chess", 0, 20, 0)), "Chess - Rechner denkt: Zug 0 von 20, 0:00");
    EXPECT_EQ(textOf(thinkingCaption("Chess", 7, 20, 12999)), "Chess - Rechner denkt: Zug 7 von 20, 0:12");
    EXPECT_EQ(textOf(thinkingCaption("Chess", 3, 3, 754000)), "Chess - Rechner denkt: Zug 3 von 3, 12:34");
    // The seconds' leading zero ends exactly at ten.
    EXPECT_EQ(textOf(thinkingCaption("Chess", 1, 20, 9999)), "Chess - Rechner denkt: Zug 1 von 20, 0:09");
    EXPECT_EQ(textOf(thinkingCaption("Chess", 1, 20, 10000)), "Chess - Rechner denkt: Zug 1 von 20, 0:10");
    // Moves that two threads scored again do not count past the total.
    EXPECT_EQ(textOf(thinkingCaption("Chess", 25, 20, 60000)), "Chess - Rechner denkt: Zug 20 von 20, 1:00");
    EXPECT_EQ(textOf(thinkingButtonCaption("Stop", 7, 20)), "Stop 7/20");
    EXPECT_EQ(textOf(thinkingButtonCaption("Stop", 21, 20)), "Stop 20/20");
}

}  // namespace
}  // namespace chessapp
