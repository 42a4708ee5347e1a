#include <atomic>
#include <filesystem>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "app/engine_move.h"
#include "app/game_files.h"
#include "app_test_support.h"
#include "chess_test_support.h"

// ---- Running out of memory on demand
//
// The board's arrays and figures take their memory through the nothrow allocation functions;
// this program replaces them, so that a test can make the n-th allocation from now fail.

namespace {

std::atomic<int> allocationsBeforeFailure{0};  // 0: none fails

bool failsNow() {
    int left = allocationsBeforeFailure.load();
    while (left > 0 && !allocationsBeforeFailure.compare_exchange_weak(left, left - 1)) {
    }
    return left == 1;
}

template <void* (*allocate)(std::size_t)>
void* allocateUnlessFailing(std::size_t size) noexcept {
    if (failsNow())
        return nullptr;
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateUnlessFailing<::operator new>(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateUnlessFailing<::operator new[]>(size);
}

namespace chessapp {
namespace {

using testing::FakeEnvironment;
using testing::fileContent;
using testing::ScratchDirectory;
using vek::chess::Board;
using vek::chess::testing::play;
using vek::chess::testing::setUp;

class EngineTask : public ::testing::Test {
protected:
    EngineTask() { FakeEnvironment::values = {{"TMP", scratch.asVariable()}}; }
    ~EngineTask() override { FakeEnvironment::values.clear(); }

    std::string directory() { return files.tempDirectory().getText(); }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(scratch.path()), {}));
    }

    ScratchDirectory scratch;
    GameFiles files{FakeEnvironment::lookup};
    Board board;
    std::atomic<bool> closing{false};
};

TEST_F(EngineTask, EveryEngineMoveSavesExactlyThePositionText) {
    board.newGame();
    play(board, "e2e4");
    ASSERT_EQ(runEngineTask(board, 1, files, closing).outcome, eoPLAYED);
    EXPECT_EQ(board.history().getCount(), 2u);
    EXPECT_EQ(board.sideToMove(), vek::chess::WHITE);
    const std::optional<std::string> saved = fileContent(files.gameFileName().getText());
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), 65u);
    EXPECT_EQ(saved->back(), 'W');
    EXPECT_EQ(*saved, std::string(board.positionText().getText()) + "W");
    EXPECT_EQ(fileContent(directory() + "chess1.txt"), saved);

    // The engine playing White, twice more in this run.
    ASSERT_EQ(runEngineTask(board, 1, files, closing).outcome, eoPLAYED);
    board.playMove(board.listAllMoves()[0]);  // the player as Black
    ASSERT_EQ(runEngineTask(board, 2, files, closing).outcome, eoPLAYED);
    EXPECT_EQ(fileContent(files.gameFileName().getText())->back(), 'S');
    EXPECT_EQ(fileContent(directory() + "chess3.txt"), fileContent(files.gameFileName().getText()));
    EXPECT_EQ(fileCount(), 4u);
}

TEST_F(EngineTask, AMatedSideMovesNothingAndNothingIsWritten) {
    board.newGame();
    for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"})
        play(board, move);
    const std::size_t moves = board.history().getCount();
    EXPECT_EQ(runEngineTask(board, 2, files, closing).outcome, eoNO_MOVE);
    EXPECT_EQ(board.history().getCount(), moves);
    EXPECT_EQ(board.state(), vek::chess::BLACK_WINS);
    EXPECT_EQ(fileCount(), 0u);
}

TEST_F(EngineTask, AFailedSearchLeavesTheBoardAndTheFilesAlone) {
    board.newGame();
    play(board, "e2e4");
    const std::string before = board.positionText().getText();
    int failures = 0;
    for (int allocation = 1; allocation <= 30; ++allocation) {
        allocationsBeforeFailure = allocation;
        const EngineOutcome outcome = runEngineTask(board, 2, files, closing).outcome;
        allocationsBeforeFailure = 0;
        if (outcome == eoPLAYED)  // the search needed fewer allocations
            break;
        ASSERT_EQ(outcome, eoFAILED) << "allocation " << allocation;
        ++failures;
        EXPECT_EQ(std::string(board.positionText().getText()), before) << "allocation " << allocation;
        EXPECT_EQ(board.history().getCount(), 1u);
        EXPECT_EQ(board.state(), vek::chess::RUNNING);
        EXPECT_EQ(board.sideToMove(), vek::chess::BLACK);
        EXPECT_EQ(fileCount(), 0u);
    }
    if (failures == 0)
        GTEST_SKIP() << "the allocation functions of this program are not in use";
    EXPECT_EQ(runEngineTask(board, 2, files, closing).outcome, eoPLAYED);  // the board is fit for the next search
    EXPECT_EQ(board.history().getCount(), 2u);
}

// The window closes while the engine thinks: its move, found after the close, is not saved.
TEST_F(EngineTask, AMoveFoundAfterTheWindowClosedIsNotSaved) {
    board.newGame();
    closing = true;
    EXPECT_EQ(runEngineTask(board, 1, files, closing).outcome, eoPLAYED);
    EXPECT_EQ(fileCount(), 0u);
}

// What the window's thinking state shows: the root moves of the side to move, and the count of
// those the search has begun, each once with one thread and at least once with two.
TEST_F(EngineTask, TheRootSearchCountsItsMovesForTheProgressDisplay) {
    board.newGame();
    EXPECT_EQ(rootMoveCount(board), 20u);
    std::atomic<std::uint32_t> scored{0};
    board.setRootProgress(&scored);
    for (const std::size_t threads : {1u, 2u}) {
        scored = 0;
        board.setSearchThreads(threads);
        std::int32_t candidates = 0;
        board.findBestMove(3, candidates, true);
        if (threads == 1)
            EXPECT_EQ(scored.load(), 20u);
        else
            EXPECT_GE(scored.load(), 20u);
    }
    // In check only the answers to it are searched.
    setUp(board, {"Ke1", "ke8", "Ta8", "bh7"}, 'S');
    EXPECT_EQ(rootMoveCount(board), 3u);
    scored = 0;
    std::int32_t candidates = 0;
    board.findBestMove(2, candidates, true);
    EXPECT_EQ(scored.load(), 3u);
}

}  // namespace
}  // namespace chessapp
