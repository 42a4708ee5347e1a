// The main window by keyboard: where the focus is at the start, where Tab takes it, and that it
// comes back after a message box and the promotion choice and leaves a "Stop" that is disabled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/engine_move.h"
#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

using vek::chess::Square;
using winlib::test::LoopWatchdog;

// The main window as the program creates it, shown as the start asked.
MainWindowPtr startMainWindow(int show) {
    MainWindowPtr window(static_cast<ChessMainWindow*>(application().createMainWindow("", show)));
    pumpPending();
    return window;
}

// The member name of the control that has the focus; "main window", or "none".
std::string focusName(const ChessMainWindow& window) {
    const HWND focus = GetFocus();
    if (focus == nullptr)
        return "none";
    if (focus == window.getHandle())
        return "main window";
    for (const auto& [control, name] : window.usedControls()) {
        if (control->getHandle() == focus)
            return name;
    }
    for (const auto& [control, name] : {std::pair<const winlib::BasicWindow*, const char*>{window.RestartBtn, "RestartBtn"},
                                        {window.TurnBtn, "TurnBtn"}}) {
        if (control->getHandle() == focus)
            return name;
    }
    char className[64] = {};
    GetClassNameA(focus, className, sizeof className);
    return className;
}

// A key pressed in the focused control, through the window's own message loop.
void press(ChessMainWindow& window, WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
    PostQuitMessage(0);
    LoopWatchdog watchdog;
    window.mainLoop();
}

// An engine that thinks until the test lets it go (at most ten seconds) and then makes no move.
std::atomic<bool> engineReleased{false};

EngineResult engineUntilReleased(vek::chess::Board&, std::int32_t, GameFiles&, const std::atomic<bool>&) {
    for (int waited = 0; waited < 1000 && !engineReleased.load(); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return EngineResult{eoNO_MOVE, wfNONE};
}

// A real message box, closed by a timer as soon as its loop runs: no test waits for a click.
void CALLBACK closeMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    if (const HWND box = FindWindowA("#32770", nullptr))
        PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void showRealMessageBox(const winlib::UserMessage& message) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, closeMessageBox);
    MessageBoxA(message.owner, message.text, message.caption, message.style);
    KillTimer(nullptr, timer);
}

using MainWindowKeyboardTest = WindowTest;

TEST_F(MainWindowKeyboardTest, TheStartFocusesTheDepthFieldOrStaysMinimisedAsAsked) {
    {
        MainWindowPtr window = startMainWindow(SW_SHOWNORMAL);
        ASSERT_TRUE(window);
        EXPECT_EQ(focusName(*window), "DepthEdt");
    }
    // A shortcut set to "Minimised" starts the program so.
    MainWindowPtr window = startMainWindow(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(window);
    EXPECT_TRUE(IsIconic(window->getHandle()));
}

TEST_F(MainWindowKeyboardTest, TabVisitsTheUsableControlsInReadingOrder) {
    MainWindowPtr window = startMainWindow(SW_SHOWNORMAL);
    ASSERT_TRUE(window);
    ASSERT_EQ(focusName(*window), "DepthEdt");
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        press(*window, VK_TAB);
        visited.push_back(focusName(*window));
    }
    // No stop at the labels and clocks; "Stop" is disabled while the engine is idle.
    EXPECT_EQ(visited, (std::vector<std::string>{"RestartBtn", "TurnBtn", "MovesBOX", "DepthEdt"}));

    // The promotion figures are one stop while their panel shows; the arrow keys move among them.
    window->PromotionList->show(true);
    SetFocus(window->TurnBtn->getHandle());
    press(*window, VK_TAB);
    EXPECT_EQ(focusName(*window), "BishopBtn");
    press(*window, VK_DOWN);
    EXPECT_EQ(focusName(*window), "KnightBtn");
    press(*window, VK_TAB);
    EXPECT_EQ(focusName(*window), "MovesBOX");
}

TEST_F(MainWindowKeyboardTest, TheFocusComesBackAfterAMessageBoxAndLeavesADisabledStop) {
    MainWindowPtr window = startMainWindow(SW_SHOWNORMAL);
    ASSERT_TRUE(window);
    SetForegroundWindow(window->getHandle());

    // A message box owned by the window takes the focus while it shows; the control that had
    // it gets it back.
    SetFocus(window->TurnBtn->getHandle());
    const winlib::ErrorReporter previousReporter = winlib::setErrorReporter(showRealMessageBox);
    window->DepthEdt->setText("x");  // no number: the player is told so
    pumpPending();
    winlib::setErrorReporter(previousReporter);
    EXPECT_EQ(focusName(*window), "TurnBtn");

    // A focused "Stop" is disabled when the search ends: the focus goes on to the next control
    // instead of nowhere.
    window->DepthEdt->setText("1");
    engineReleased = false;
    window->setEngineTask(engineUntilReleased);
    click(*window->TurnBtn);
    ASSERT_TRUE(window->isEngineRunning());
    SetFocus(window->StopBtn->getHandle());
    engineReleased = true;
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_EQ(focusName(*window), "MovesBOX");
}

// The promotion panel gives the focus back to the control from before it showed only when the
// focus is in the panel as it hides (the panel would take it out of sight); a focus the player
// has moved elsewhere meanwhile stays where it is.
TEST_F(MainWindowKeyboardTest, TheHiddenPromotionPanelReturnsOnlyAFocusOfItsOwn) {
    writeGameFile(positionOf({"Kh1", "Ba7", "kh8"}, 'W').getText());
    MainWindowPtr window = startMainWindow(SW_SHOWNORMAL);
    ASSERT_TRUE(window);
    SetForegroundWindow(window->getHandle());
    window->setEngineTask(engineUntilReleased);
    const auto panelShownWithFocusOn = [&](const winlib::BasicWindow& control) {
        SetFocus(window->TurnBtn->getHandle());
        releaseOn(*window, Square{'a', 7});
        ASSERT_TRUE(window->PromotionList->isVisible());
        SetFocus(control.getHandle());
    };

    // The refused move (no figure chosen) hides the panel: a focus moved to the move list stays
    // there, one on the panel itself goes back to "Drehen".
    for (const auto& [control, expected] : {std::pair<const winlib::BasicWindow*, const char*>{window->MovesBOX, "MovesBOX"},
                                            {window->PromotionList, "TurnBtn"}}) {
        panelShownWithFocusOn(*control);
        releaseOn(*window, Square{'a', 8});
        EXPECT_FALSE(window->PromotionList->isVisible());
        EXPECT_EQ(focusName(*window), expected);
    }

    // On a figure: the move made with it hides the panel, and "Drehen" has the focus again.
    panelShownWithFocusOn(*window->RookBtn);
    window->RookBtn->setChecked(true);
    engineReleased = false;
    releaseOn(*window, Square{'a', 8});
    EXPECT_FALSE(window->PromotionList->isVisible());
    EXPECT_EQ(focusName(*window), "TurnBtn");
    engineReleased = true;
    ASSERT_TRUE(waitForEngine(*window));
}

}  // namespace
}  // namespace chessapp::testing
