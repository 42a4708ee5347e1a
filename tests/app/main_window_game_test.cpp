// The main window through a game as a player meets it: a move list longer than its box, the
// end of a game, the thinking state, and an engine that fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/engine_move.h"
#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

using vek::chess::Square;

// An engine that never moves, so that the test plays both sides.
EngineResult silentEngine(vek::chess::Board&, std::int32_t, GameFiles&, const std::atomic<bool>&) {
    return EngineResult{eoNO_MOVE, wfNONE};
}

// An engine that breaks down halfway: it has played a move on the board when something that is
// no std::exception leaves it.
EngineResult brokenEngine(vek::chess::Board& board, std::int32_t, GameFiles&, const std::atomic<bool>&) {
    std::int32_t candidates = 0;
    board.playMove(board.findBestMove(1, candidates, true));
    throw 42;
}

void playByHand(ChessMainWindow& window, Square from, Square to) {
    releaseOn(window, from);
    releaseOn(window, to);
    ASSERT_TRUE(waitForEngine(window));
}

// The rows the move list shows whole.
int visibleRows(const winlib::ListBox& box) {
    RECT client{};
    GetClientRect(box.getHandle(), &client);
    const auto itemHeight = static_cast<int>(SendMessageA(box.getHandle(), LB_GETITEMHEIGHT, 0, 0));
    return itemHeight > 0 ? (client.bottom - client.top) / itemHeight : 0;
}

std::string windowText(const winlib::BasicWindow& window) {
    char text[256] = {};
    GetWindowTextA(window.getHandle(), text, sizeof text);
    return text;
}

// The shown time of a clock in seconds.
int shownSeconds(const winlib::DateTimePicker& clock) {
    SYSTEMTIME shown{};
    SendMessageA(clock.getHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    return (shown.wHour * 60 + shown.wMinute) * 60 + shown.wSecond;
}

using MainWindowGameTest = WindowTest;

TEST_F(MainWindowGameTest, TheNewestMoveStaysInViewAndNeustartBeginsAgainAtOne) {
    MainWindowPtr window = openMainWindow();
    window->setEngineTask(silentEngine);
    const int rows = visibleRows(*window->MovesBOX);
    ASSERT_GT(rows, 0);
    // Both knights out and home again, until the list is longer than its box.
    const Square tour[] = {Square{'g', 1}, Square{'f', 3}, Square{'g', 8}, Square{'f', 6},
                           Square{'f', 3}, Square{'g', 1}, Square{'f', 6}, Square{'g', 8}};
    for (int lines = 0; window->MovesBOX->getCount() <= rows + 2; ++lines) {
        for (std::size_t i = 0; i < std::size(tour); i += 2) {
            playByHand(*window, tour[i], tour[i + 1]);
            const int last = window->MovesBOX->getCount() - 1;
            const int top = window->MovesBOX->getTopIndex();
            ASSERT_LE(top, last);
            ASSERT_LT(last, top + rows) << "the newest line " << last << " is below the view";
        }
        ASSERT_LT(lines, 100);
    }

    click(*window->RestartBtn);
    EXPECT_EQ(window->MovesBOX->getCount(), 0);
    playByHand(*window, Square{'e', 2}, Square{'e', 4});
    const std::vector<std::string> lines = moveLines(*window);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "1. e2-e4");
}

// The player mates: both clocks stand still from then on, and the label shows the whole
// end-of-game text in the room beside the board, in a font as high as before.
TEST_F(MainWindowGameTest, AtTheEndOfTheGameTheClocksStopAndTheWholeTextShows) {
    writeGameFile(positionOf({"Kg1", "Ta1", "kh8", "bg7", "bh7"}, 'W').getText());
    MainWindowPtr window = openMainWindow();
    const LONG fontHeight = window->EvalLABEL->getFont().getDescription().lfHeight;
    playByHand(*window, Square{'a', 1}, Square{'a', 8});
    ASSERT_EQ(window->getBoard().state(), vek::chess::WHITE_WINS);

    SendMessageA(window->getHandle(), WM_TIMER, 1, 0);
    const int white = shownSeconds(*window->WhiteClk);
    const int black = shownSeconds(*window->BlackClk);
    Sleep(1100);
    SendMessageA(window->getHandle(), WM_TIMER, 1, 0);
    EXPECT_EQ(shownSeconds(*window->WhiteClk), white);
    EXPECT_EQ(shownSeconds(*window->BlackClk), black);

    const winlib::Label& label = *window->EvalLABEL;
    EXPECT_EQ(label.getText(), "Wei\xDF (Zarvo) gewinnt durch Schachmatt");
    EXPECT_LE(label.getX() + label.getCurrentSize().width, window->ControlCHILD->getClientSize().width);
    EXPECT_EQ(label.getFont().getDescription().lfHeight, fontHeight);
    const HDC dc = GetDC(label.getHandle());
    const HGDIOBJ previous = SelectObject(dc, label.getFont().get());
    const std::string text = windowText(label);
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(label.getHandle(), dc);
    EXPECT_LE(extent.cx, label.getCurrentSize().width) << "the text is cut off";

    click(*window->RestartBtn);  // a new game: the clocks run again
    EXPECT_TRUE(label.getCurrentSize().width > 0);
    Sleep(1100);
    SendMessageA(window->getHandle(), WM_TIMER, 1, 0);
    EXPECT_GE(shownSeconds(*window->WhiteClk), 1);
}

TEST_F(MainWindowGameTest, WhileTheEngineThinksTheCaptionShowsHowFarItIs) {
    MainWindowPtr window = openMainWindow();
    const std::string idle = windowText(*window);
    window->DepthEdt->setText("9");
    pumpPending();
    click(*window->TurnBtn);
    ASSERT_TRUE(window->isEngineRunning());
    EXPECT_EQ(windowText(*window).rfind(idle + " - Rechner denkt: Zug ", 0), 0u) << windowText(*window);
    EXPECT_NE(windowText(*window).find(" von 20, 0:0"), std::string::npos) << windowText(*window);
    EXPECT_EQ(windowText(*window->StopBtn).rfind("Stop ", 0), 0u);
    EXPECT_NE(windowText(*window->StopBtn).find("/20"), std::string::npos) << windowText(*window->StopBtn);
    // The search gets on to its root moves; the timer shows it.
    EXPECT_TRUE(pumpUntil(
        [&window] {
            SendMessageA(window->getHandle(), WM_TIMER, 1, 0);
            return windowText(*window).find("Zug 0 von") == std::string::npos;
        },
        10000))
        << windowText(*window);
    EXPECT_EQ(window->getBoard().history().getCount(), 0u) << "the window shows, it does not touch the board";
    click(*window->StopBtn);
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_EQ(windowText(*window), idle);
    EXPECT_EQ(windowText(*window->StopBtn), "Stop");
}

// Whatever goes wrong on the engine thread, the window leaves its thinking state, the board is
// the one before the search, nothing is saved, and the player is told; the game goes on.
TEST_F(MainWindowGameTest, AnEngineThatFailsLeavesTheWindowUsable) {
    MainWindowPtr window = openMainWindow();
    const std::string idle = windowText(*window);
    window->setEngineTask(brokenEngine);
    releaseOn(*window, Square{'e', 2});
    releaseOn(*window, Square{'e', 4});
    ASSERT_TRUE(waitForEngine(*window));

    EXPECT_FALSE(IsWindowEnabled(window->StopBtn->getHandle()));
    EXPECT_EQ(windowText(*window), idle);
    const vek::chess::Board& board = window->getBoard();
    ASSERT_EQ(board.history().getCount(), 1u);
    EXPECT_EQ(board.sideToMove(), vek::chess::BLACK);
    vek::chess::Board expected;
    expected.newGame();
    vek::chess::testing::play(expected, "e2e4");
    EXPECT_EQ(board.positionText(), expected.positionText());
    EXPECT_EQ(board.history()[0].to, (Square{'e', 4}));
    EXPECT_FALSE(std::filesystem::exists(gameFile()));
    EXPECT_FALSE(std::filesystem::exists(gameFile("chess1.txt")));
    ASSERT_EQ(ErrorRecorder::messages().size(), 1u);
    EXPECT_EQ(ErrorRecorder::messages()[0].owner, window->getHandle());
    EXPECT_EQ(ErrorRecorder::messages()[0].text.rfind("Der Rechner konnte seinen Zug nicht berechnen", 0), 0u);
    ErrorRecorder::clear();

    // Input is taken again: the engine, mended, moves for Black after "Drehen".
    window->setEngineTask(runEngineTask);
    click(*window->TurnBtn);
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_EQ(board.history().getCount(), 2u);
    EXPECT_TRUE(std::filesystem::exists(gameFile()));
}

// A game file that cannot be written (here a folder has its name) is told once a run, in a
// message of the main window that names the file and why; the game goes on, and a save that
// works again is silent.
TEST_F(MainWindowGameTest, AFailedSaveIsToldOnceAndTheGameGoesOn) {
    std::filesystem::create_directory(gameFile());
    MainWindowPtr window = openMainWindow();
    playByHand(*window, Square{'e', 2}, Square{'e', 4});
    EXPECT_EQ(window->getBoard().history().getCount(), 2u);
    ASSERT_EQ(ErrorRecorder::messages().size(), 1u);
    const ErrorRecorder::Message message = ErrorRecorder::messages()[0];
    ErrorRecorder::clear();
    EXPECT_EQ(message.owner, window->getHandle());
    EXPECT_EQ(message.caption, "Schach");
    EXPECT_EQ(message.text.rfind("Die Partie konnte nicht gespeichert werden", 0), 0u) << message.text;
    std::string quotedName = gameFile();
    quotedName.insert(quotedName.begin(), '"');
    quotedName.push_back('"');
    EXPECT_NE(message.text.find(quotedName), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("an ihrer Stelle steht ein Ordner"), std::string::npos) << message.text;

    click(*window->TurnBtn);  // the engine moves for White and fails to save again: nothing is said
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_EQ(window->getBoard().history().getCount(), 3u);
    EXPECT_TRUE(ErrorRecorder::messages().empty());

    std::filesystem::remove(gameFile());
    click(*window->TurnBtn);
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_EQ(window->getBoard().history().getCount(), 4u);
    EXPECT_TRUE(ErrorRecorder::messages().empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(gameFile()));
}

}  // namespace
}  // namespace chessapp::testing
