// The window procedure's handler table and status handling, with real windows and messages.
#include <gtest/gtest.h>

#include <stdexcept>

#include "recording_window.h"
#include "window_test_support.h"
#include "winlib/controls.h"

namespace winlib::test {
namespace {

using Dispatch = RecordingWindowTest<>;

TEST_F(Dispatch, PaintEraseAndSizeReachTheirHandlers) {
    window.setBackground(SharedBrush::solid(RGB(10, 20, 30)));
    window.show(true);
    InvalidateRect(window.getHandle(), nullptr, TRUE);
    UpdateWindow(window.getHandle());
    EXPECT_TRUE(window.logged("erase"));
    EXPECT_GE(window.repaints, 1);
    // The default erase painted the background brush.
    const HDC dc = GetDC(window.getHandle());
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(10, 20, 30));
    ReleaseDC(window.getHandle(), dc);

    SendMessageA(window.getHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_TRUE(window.logged("resize 123x45"));
    EXPECT_EQ(window.getLastClientSize().width, 123);
    EXPECT_EQ(window.getLastClientSize().height, 45);
    window.show(false);
}

// A control sends its own drawing context to its parent for the background: the parent's erase
// must leave that context as it found it, or the control draws its text at the current position.
TEST_F(Dispatch, EraseLeavesAForeignContextsTextAlignment) {
    window.setBackground(SharedBrush::solid(RGB(10, 20, 30)));
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SendMessageA(window.getHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_TRUE(window.logged("erase"));
    EXPECT_EQ(GetTextAlign(dc), static_cast<UINT>(TA_LEFT | TA_TOP));
    DeleteDC(dc);
}

TEST_F(Dispatch, OnlyTimerOneCallsHandleTimer) {
    SendMessageA(window.getHandle(), WM_TIMER, 3, 0);
    SendMessageA(window.getHandle(), WM_TIMER, 2, 0);
    EXPECT_TRUE(window.log.empty());
    SendMessageA(window.getHandle(), WM_TIMER, 1, 0);
    EXPECT_EQ(window.log, std::vector<std::string>{"timer"});

    window.startTimer(10);
    EXPECT_TRUE(pumpUntil([&] { return window.log.size() >= 3; }, 3000));
    window.stopTimer();
}

TEST_F(Dispatch, LeftButtonMessagesDecodePointAndKeys) {
    SendMessageA(window.getHandle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(17, 29));
    EXPECT_EQ(window.lastPoint.x, 17);
    EXPECT_EQ(window.lastPoint.y, 29);
    EXPECT_EQ(window.lastModifiers, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
    EXPECT_TRUE(window.isCtrlDown());
    EXPECT_FALSE(window.isShiftDown());
    SendMessageA(window.getHandle(), WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(250, 199));
    EXPECT_EQ(window.lastPoint.x, 250);
    EXPECT_EQ(window.lastPoint.y, 199);
    EXPECT_TRUE(window.isShiftDown());
    EXPECT_FALSE(window.isCtrlDown());
    SendMessageA(window.getHandle(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(1, 2));
    EXPECT_EQ(window.log, (std::vector<std::string>{"left down", "left up", "left double"}));
    // Key messages track Alt, Shift and Ctrl too.
    SendMessageA(window.getHandle(), WM_KEYDOWN, VK_MENU, 0);
    EXPECT_TRUE(window.isAltDown());
    SendMessageA(window.getHandle(), WM_KEYUP, VK_MENU, 0);
    EXPECT_FALSE(window.isAltDown());
}

TEST_F(Dispatch, CommandCodesChooseTheHandler) {
    Label control(&window);
    ASSERT_EQ(control.create(&window), 0);
    const auto from = reinterpret_cast<LPARAM>(control.getHandle());
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), from);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(12, EN_CHANGE), from);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(13, CBN_EDITCHANGE), from);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(14, LBN_SELCHANGE), from);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(15, EN_SETFOCUS), from);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(16, 0), 0);
    EXPECT_EQ(window.log, (std::vector<std::string>{"click 11", "edit 12", "edit 13", "selection 14",
                                                    "notification 256 15", "command 16"}));
    // A real control's notification arrives the same way.
    EditControl edit(&window);
    edit.setId(21);
    ASSERT_EQ(edit.create(&window), 0);
    window.log.clear();
    edit.setText("5");
    EXPECT_EQ(window.log, (std::vector<std::string>{"notification 1024 21", "edit 21"}));  // EN_UPDATE, EN_CHANGE
}

TEST_F(Dispatch, CommandsAreIgnoredWhileAFormIsBuilt) {
    window.setCommandsEnabled(false);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), 1);
    NMHDR header{window.getHandle(), 5, NM_CLICK};
    SendMessageA(window.getHandle(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(window.defaultCalls, 1);  // the click went to the default procedure
    window.setCommandsEnabled(true);
    SendMessageA(window.getHandle(), WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), 1);
    EXPECT_EQ(window.log, std::vector<std::string>{"click 11"});
}

TEST_F(Dispatch, AsyncEndMessageCarriesTheDataWord) {
    PostMessageA(window.getHandle(), WM_ASYNC_TASK_END, 0, 0x1234567);
    EXPECT_TRUE(pumpUntil([&] { return window.logged("async end"); }));
    EXPECT_EQ(window.lastData, 0x1234567);
}

TEST_F(Dispatch, StatusesDecideTheAnswer) {
    window.storedResult = 77;
    window.answer = psPROCESSED;
    EXPECT_EQ(SendMessageA(window.getHandle(), kProbe, 1, 0), 77);
    EXPECT_EQ(window.defaultCalls, 0);
    window.answer = psDO_DEFAULT;
    EXPECT_EQ(SendMessageA(window.getHandle(), kProbe, 2, 0), 0);  // DefWindowProcA's answer
    EXPECT_EQ(window.defaultCalls, 1);
    // Without a parent, sending and posting to it only return the stored result.
    window.answer = psSEND_TO_PARENT;
    EXPECT_EQ(SendMessageA(window.getHandle(), kProbe, 3, 0), 77);
    window.answer = psPOST_TO_PARENT;
    EXPECT_EQ(SendMessageA(window.getHandle(), kProbe, 4, 0), 77);
    pumpPending();
    EXPECT_EQ(window.defaultCalls, 1);
    EXPECT_EQ(window.log.size(), 4u);
}

TEST_F(Dispatch, SendAndPostToParent) {
    RecordingChild child(&window);
    child.move(0, 0, 50, 50);
    ASSERT_EQ(child.create(&window), 0);
    window.storedResult = 5;
    child.storedResult = 9;

    child.answer = psSEND_TO_PARENT;
    EXPECT_EQ(SendMessageA(child.getHandle(), kProbe, 7, 0), 9);
    EXPECT_EQ(window.log, std::vector<std::string>{"probe 7"});  // at once: sent

    child.answer = psPOST_TO_PARENT;
    EXPECT_EQ(SendMessageA(child.getHandle(), kProbe, 8, 0), 9);
    EXPECT_EQ(window.log.size(), 1u);  // not yet: posted
    EXPECT_TRUE(pumpUntil([&] { return window.logged("probe 8"); }));

    // The default of an edit change is to send it on to the parent.
    FrameChild frame(&window);
    ASSERT_EQ(frame.create(&window), 0);
    SendMessageA(frame.getHandle(), WM_COMMAND, MAKEWPARAM(31, EN_CHANGE), 1);
    EXPECT_TRUE(window.logged("edit 31"));
}

TEST_F(Dispatch, EscapingExceptionsAreReportedAndTheLoopGoesOn) {
    struct Throwing : RecordingWindow {
        ProcessStatus handleCommand(int id) override {
            if (id == 1)
                throw std::runtime_error("Bad move: e9");
            if (id == 2)
                throw 42;
            return RecordingWindow::handleCommand(id);
        }
    } thrower;
    makeHidden(thrower);
    ASSERT_EQ(thrower.create(nullptr), 0);
    EXPECT_EQ(SendMessageA(thrower.getHandle(), WM_COMMAND, 1, 0), 0);
    EXPECT_EQ(SendMessageA(thrower.getHandle(), WM_COMMAND, 2, 0), 0);
    EXPECT_EQ(ErrorRecorder::reports(), (std::vector<std::string>{"Bad move: e9", "Unknown error"}));

    // In the real loop: the throwing message is reported, the next one is still handled.
    PostMessageA(thrower.getHandle(), WM_COMMAND, 1, 0);
    PostMessageA(thrower.getHandle(), WM_COMMAND, 3, 0);
    PostQuitMessage(0);
    LoopWatchdog watchdog;
    thrower.mainLoop();
    EXPECT_FALSE(watchdog.fired());
    EXPECT_EQ(ErrorRecorder::reports().size(), 3u);
    EXPECT_TRUE(thrower.logged("command 3"));
}

TEST_F(Dispatch, UnknownHandlesReachNoHandler) {
    EXPECT_EQ(CallWindowProcA(CallbackWindow::windowProcedure, reinterpret_cast<HWND>(0x1230), kProbe, 0, 0), 1);
    EXPECT_EQ(CallbackWindow::findWindow(window.getHandle()), &window);
    EXPECT_EQ(CallbackWindow::findWindow(nullptr), nullptr);
}

}  // namespace
}  // namespace winlib::test
