#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
    ASSERT_EQ(replaceFile(name.c_str(), "new position"), wfNONE);
    EXPECT_EQ(fileContent(name), "new position");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
}

TEST(GameFileWriter, AFailedWriteKeepsThePreviousFileAndSaysWhy) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "chess.txt").string();
    std::ofstream(name, std::ios::binary) << "old position";
    std::filesystem::create_directory(name + ".new");  // the temporary file cannot be created
    EXPECT_NE(replaceFile(name.c_str(), "new position"), wfNONE);
    EXPECT_EQ(fileContent(name), "old position");
    EXPECT_EQ(replaceFile((scratch.path() / "none" / "chess.txt").string().c_str(), "x"), wfNO_FOLDER);
    EXPECT_EQ(writeWholeFile((scratch.path() / "none" / "chess1.txt").string().c_str(), "x"), wfNO_FOLDER);
    const std::string folder = (scratch.path() / "folder.txt").string();
    std::filesystem::create_directory(folder);
    EXPECT_EQ(replaceFile(folder.c_str(), "x"), wfFOLDER_IN_PLACE);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// The disk steps of replacements, in order, each with what it found: the flush how many bytes
// the file held, the move the content it moved. Either step can be made to fail.
struct RecordedSteps {
    static inline std::vector<std::string> log;
    static inline int flushError = 0;
    static inline int moveError = 0;

    static int flush(std::FILE* file) {
        log.push_back("flush " + std::to_string(std::ftell(file)));
        return flushError != 0 ? flushError : platformDiskSteps().flushToDisk(file);
    }
    static int move(const vek::STRING& from, const vek::STRING& to) {
        log.push_back("move " + fileContent(from.getText()).value_or("(none)"));
        return moveError != 0 ? moveError : platformDiskSteps().moveReplacing(from, to);
    }
    static constexpr DiskSteps steps{flush, move};
};

// A power cut right after the replacement must not find the new name pointing at data that
// never reached the disk.
TEST(GameFileWriter, TheWholeNewContentIsFlushedBeforeItReplacesTheOld) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "chess.txt").string();
    std::ofstream(name, std::ios::binary) << "old position";
    RecordedSteps::log.clear();
    ASSERT_EQ(replaceFile(name.c_str(), "new position", RecordedSteps::steps), wfNONE);
    EXPECT_EQ(RecordedSteps::log, (std::vector<std::string>{"flush 12", "move new position"}));
    EXPECT_EQ(fileContent(name), "new position");

    // A flush that fails (a full disk) replaces nothing; a refused move leaves no temporary file.
    RecordedSteps::log.clear();
    RecordedSteps::flushError = ENOSPC;
    EXPECT_EQ(replaceFile(name.c_str(), "third", RecordedSteps::steps), wfDISK_FULL);
    EXPECT_EQ(RecordedSteps::log, (std::vector<std::string>{"flush 5"}));
    RecordedSteps::flushError = 0;
    RecordedSteps::moveError = EACCES;
    EXPECT_EQ(replaceFile(name.c_str(), "fourth", RecordedSteps::steps), wfNO_ACCESS);
    RecordedSteps::moveError = 0;
    EXPECT_EQ(fileContent(name), "new position");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
}

TEST(GameFileWriter, SavesTheGameFileAndTheNextNumberedCopy) {
    const ScratchDirectory scratch;
    FakeEnvironment::values = {{"TMP", scratch.asVariable()}};
    GameFiles files(FakeEnvironment::lookup);
    EXPECT_EQ(saveGame(files, "first"), wfNONE);
    EXPECT_EQ(saveGame(files, "second"), wfNONE);
    EXPECT_EQ(saveGame(files, vek::STRING()), wfNONE);  // nothing to save
    EXPECT_EQ(fileContent(files.gameFileName().getText()), "second");
    const std::string directory = files.tempDirectory().getText();
    EXPECT_EQ(fileContent(directory + "chess1.txt"), "first");
    EXPECT_EQ(fileContent(directory + "chess2.txt"), "second");
    EXPECT_FALSE(fileContent(directory + "chess3.txt"));
    FakeEnvironment::values.clear();
}

}  // namespace
}  // namespace chessapp
