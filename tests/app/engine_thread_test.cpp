// The engine's turn on its own thread, started from the main window: the saved files, a mated
// side, and the end message that hands the board back to the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

using EngineThreadTest = WindowTest;

TEST_F(EngineThreadTest, SavesTheEngineMoveAsGameFileAndNumberedCopy) {
    MainWindowPtr window = openMainWindow();
    click(*window->TurnBtn);  // the engine plays White's first move
    ASSERT_TRUE(waitForEngine(*window));

    const std::optional<std::string> saved = fileContent(gameFile());
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 65u);
    EXPECT_EQ(saved->back(), 'S');
    EXPECT_EQ(fileContent(gameFile("chess1.txt")), saved);
    EXPECT_EQ(window->getBoard().history().getCount(), 1u);
    EXPECT_EQ(moveLines(*window).size(), 1u);
    EXPECT_EQ(moveLines(*window)[0].rfind("1. ", 0), 0u);

    click(*window->TurnBtn);  // and now Black's answer
    ASSERT_TRUE(waitForEngine(*window));
    const std::optional<std::string> second = fileContent(gameFile("chess2.txt"));
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->back(), 'W');
    EXPECT_EQ(fileContent(gameFile()), second);
    EXPECT_EQ(fileContent(gameFile("chess1.txt")), saved);
}

TEST_F(EngineThreadTest, AMatedSideMovesNothingAndWritesNothing) {
    // White to move, mated by the queen on g2 that the king on g3 guards.
    const std::string mated = positionOf({"Kh1", "dg2", "kg3"}, 'W').getText();
    writeGameFile(mated);
    MainWindowPtr window = openMainWindow();
    EXPECT_EQ(window->getBoard().state(), vek::chess::BLACK_WINS);

    click(*window->TurnBtn);
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_FALSE(IsWindowEnabled(window->StopBtn->getHandle()));
    EXPECT_EQ(window->getBoard().history().getCount(), 0u);
    EXPECT_EQ(fileContent(gameFile()), mated);
    EXPECT_FALSE(std::filesystem::exists(gameFile("chess1.txt")));
    EXPECT_TRUE(moveLines(*window).empty());
    // The winner's text alone, without an evaluation in front.
    EXPECT_STREQ(window->EvalLABEL->getText().getText(), "Schwarz (Zarvo) gewinnt durch Schachmatt");
}

}  // namespace
}  // namespace chessapp::testing
