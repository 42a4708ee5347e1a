// The message loop: thread messages, pre-translation and dialog navigation.
#include <gtest/gtest.h>

#include "recording_window.h"
#include "window_test_support.h"
#include "winlib/controls.h"

namespace winlib::test {
namespace {

TEST(MainLoop, ThreadMessagesReachTheLoopsWindow) {
    ErrorRecorder errors;
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    window.log.clear();
    PostThreadMessageA(GetCurrentThreadId(), kProbe, 5, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_ASYNC_TASK_END, 0, 99);
    PostQuitMessage(0);
    LoopWatchdog watchdog;
    window.mainLoop();
    EXPECT_FALSE(watchdog.fired());
    EXPECT_EQ(window.log, (std::vector<std::string>{"probe 5", "async end"}));
    EXPECT_EQ(window.lastData, 99);
}

TEST(MainLoop, PreTranslatedMessagesAreDone) {
    struct Swallowing : RecordingWindow {
        bool preTranslateMessage(MSG& message) override {
            if (message.message == kProbe && message.wParam == 1) {
                log.push_back("pre");
                return true;
            }
            return RecordingWindow::preTranslateMessage(message);
        }
    } window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    window.log.clear();
    PostMessageA(window.getHandle(), kProbe, 1, 0);
    PostMessageA(window.getHandle(), kProbe, 2, 0);
    PostQuitMessage(0);
    LoopWatchdog watchdog;
    window.mainLoop();
    EXPECT_EQ(window.log, (std::vector<std::string>{"pre", "probe 2"}));
}

TEST(MainLoop, DialogNavigationMovesTheFocusWithTab) {
    RecordingWindow window;
    window.setStyle(window.getStyle() | WS_VISIBLE);
    window.move(20, 20, 300, 200);
    window.setDialogNavigation(true);
    ASSERT_EQ(window.create(nullptr), 0);
    EditControl first(&window);
    first.move(10, 10, 100, 24);
    EditControl second(&window);
    second.move(10, 40, 100, 24);
    ASSERT_EQ(first.create(&window), 0);
    ASSERT_EQ(second.create(&window), 0);
    SetForegroundWindow(window.getHandle());
    SetFocus(first.getHandle());
    ASSERT_EQ(GetFocus(), first.getHandle());

    PostMessageA(first.getHandle(), WM_KEYDOWN, VK_SHIFT, 0);
    PostMessageA(first.getHandle(), WM_KEYDOWN, VK_TAB, 0);
    PostQuitMessage(0);
    LoopWatchdog watchdog;
    window.mainLoop();
    EXPECT_EQ(GetFocus(), second.getHandle());
    EXPECT_TRUE(window.isShiftDown());  // tracked by the loop for the form window
    window.show(false);
}

}  // namespace
}  // namespace winlib::test
