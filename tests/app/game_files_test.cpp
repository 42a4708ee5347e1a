#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/game_file_writer.h"
#include "app/game_files.h"
#include "app_test_support.h"
#include "chess_test_support.h"

namespace chessapp {
namespace {

using testing::FakeEnvironment;
using testing::fileContent;
using testing::ScratchDirectory;
using vek::chess::Board;
using vek::chess::testing::play;

const std::string kInitialText =
    "TSLDKLSTBBBBBBBB" + std::string(32, ' ') + "bbbbbbbbtsldklst";

class GameFileNames : public ::testing::Test {
protected:
    GameFileNames() { FakeEnvironment::values.clear(); }
    ~GameFileNames() override { FakeEnvironment::values.clear(); }

    static std::string gameFileName() { return GameFiles(FakeEnvironment::lookup).gameFileName().getText(); }
};

TEST_F(GameFileNames, TmpWithOrWithoutTrailingBackslash) {
    FakeEnvironment::values = {{"TMP", "C:\\Users\\x\\Temp"}, {"TEMP", "D:\\other"}};
    EXPECT_EQ(gameFileName(), "C:\\Users\\x\\Temp\\chess.txt");
    FakeEnvironment::values["TMP"] = "C:\\Users\\x\\Temp\\";
    EXPECT_EQ(gameFileName(), "C:\\Users\\x\\Temp\\chess.txt");
}

TEST_F(GameFileNames, TempStandsInForAnUnsetOrEmptyTmp) {
    FakeEnvironment::values = {{"TEMP", "D:\\t"}};
    EXPECT_EQ(gameFileName(), "D:\\t\\chess.txt");
    FakeEnvironment::values["TMP"] = "";
    EXPECT_EQ(gameFileName(), "D:\\t\\chess.txt");
    FakeEnvironment::values.clear();
    EXPECT_EQ(gameFileName(), "\\chess.txt");
}

TEST_F(GameFileNames, TheDirectoryIsKeptAndCopiesAreNumberedPerRun) {
    FakeEnvironment::values = {{"TMP", "T:"}};
    GameFiles files(FakeEnvironment::lookup);
    EXPECT_EQ(std::string(files.numberedGameFileName().getText()), "T:\\chess1.txt");
    FakeEnvironment::values = {{"TMP", "U:"}};
    EXPECT_EQ(std::string(files.gameFileName().getText()), "T:\\chess.txt");
    EXPECT_EQ(std::string(files.numberedGameFileName().getText()), "T:\\chess2.txt");
    EXPECT_EQ(std::string(files.numberedGameFileName().getText()), "T:\\chess3.txt");
    GameFiles nextRun(FakeEnvironment::lookup);
    EXPECT_EQ(std::string(nextRun.numberedGameFileName().getText()), "U:\\chess1.txt");
}

TEST(SavedPositionText, SixtyFourLettersAndTheSideToMove) {
    Board board;
    board.newGame();
    EXPECT_EQ(std::string(savedPositionText(board).getText()), kInitialText + "W");
    play(board, "e2e4");
    const std::string text = savedPositionText(board).getText();
    ASSERT_EQ(text.size(), 65u);
    EXPECT_EQ(text[vek::chess::squareIndex({'e', 4})], 'B');
    EXPECT_EQ(text.back(), 'S');
}

// ---- Start-up

class RestoreGame : public ::testing::Test {
protected:
    std::string path(const char* name) const { return (scratch.path() / name).string(); }
    std::string fileWith(const std::string& content) const {
        const std::string name = path("chess.txt");
        std::ofstream(name, std::ios::binary) << content;
        return name;
    }
    GameStart restore(const std::string& name) { return restoreGame(board, name.c_str()); }
    void expectNewGame() {
        EXPECT_EQ(board.state(), vek::chess::RUNNING);
        EXPECT_EQ(board.figures().getCount(), 32u);
        EXPECT_EQ(std::string(board.positionText().getText()), kInitialText);
    }

    ScratchDirectory scratch;
    Board board;
};

TEST_F(RestoreGame, MissingEmptyOrUnusableFilesStartANewGame) {
    EXPECT_EQ(restore(path("missing.txt")), gsNEW_GAME);
    expectNewGame();
    EXPECT_EQ(restore(fileWith("")), gsNEW_GAME);
    expectNewGame();
    // 64 letters without a king of each colour
    EXPECT_EQ(restore(fileWith(std::string(60, ' ') + "TtDdW")), gsNEW_GAME);
    expectNewGame();
    std::filesystem::create_directory(path("dir"));
    EXPECT_EQ(restore(path("dir")), gsNEW_GAME);
    expectNewGame();
}

TEST_F(RestoreGame, AnUnreadableFileStartsANewGame) {
    const std::string name = fileWith(kInitialText + "S");
    std::filesystem::permissions(name, std::filesystem::perms::none);
    if (fileContent(name))
        GTEST_SKIP() << "this user reads files without permission";
    EXPECT_EQ(restore(name), gsNEW_GAME);
    expectNewGame();
}

TEST_F(RestoreGame, AShortTextGivesAnEmptyBoardWithoutAGame) {
    board.newGame();
    for (const std::size_t length : {std::size_t{1}, std::size_t{63}}) {
        EXPECT_EQ(restore(fileWith(kInitialText.substr(0, length))), gsEMPTY_BOARD);
        EXPECT_EQ(board.state(), vek::chess::NO_GAME);
        EXPECT_EQ(board.figures().getCount(), 0u);
    }
}

TEST_F(RestoreGame, ASavedPositionIsRestoredWithItsSideToMove) {
    Board saved;
    saved.newGame();
    play(saved, "e2e4");
    EXPECT_EQ(restore(fileWith(savedPositionText(saved).getText())), gsRESTORED);
    EXPECT_EQ(board.sideToMove(), vek::chess::BLACK);
    EXPECT_EQ(std::string(board.positionText().getText()), std::string(saved.positionText().getText()));
    EXPECT_EQ(restore(fileWith(kInitialText)), gsRESTORED);  // no side letter: Black
    EXPECT_EQ(board.sideToMove(), vek::chess::BLACK);
}

// ---- Writing

TEST(GameFileWriter, ReplacesTheFileAndLeavesNoTemporaryFile) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "chess.txt").string();
    std::ofstream(name, std::ios::binary) << "old position";
    ASSERT_TRUE(replaceFile(name.c_str(), "new position"));
    EXPECT_EQ(fileContent(name), "new position");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
}

TEST(GameFileWriter, AFailedWriteKeepsThePreviousFile) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "chess.txt").string();
    std::ofstream(name, std::ios::binary) << "old position";
    std::filesystem::create_directory(name + ".new");  // the temporary file cannot be created
    EXPECT_FALSE(replaceFile(name.c_str(), "new position"));
    EXPECT_EQ(fileContent(name), "old position");
    EXPECT_FALSE(replaceFile((scratch.path() / "none" / "chess.txt").string().c_str(), "x"));
    EXPECT_FALSE(writeWholeFile((scratch.path() / "none" / "chess1.txt").string().c_str(), "x"));
}

TEST(GameFileWriter, SavesTheGameFileAndTheNextNumberedCopy) {
    const ScratchDirectory scratch;
    FakeEnvironment::values = {{"TMP", scratch.asVariable()}};
    GameFiles files(FakeEnvironment::lookup);
    saveGame(files, "first");
    saveGame(files, "second");
    saveGame(files, vek::STRING());  // nothing to save
    EXPECT_EQ(fileContent(files.gameFileName().getText()), "second");
    const std::string directory = files.tempDirectory().getText();
    EXPECT_EQ(fileContent(directory + "chess1.txt"), "first");
    EXPECT_EQ(fileContent(directory + "chess2.txt"), "second");
    EXPECT_FALSE(fileContent(directory + "chess3.txt"));
    FakeEnvironment::values.clear();
}

}  // namespace
}  // namespace chessapp
