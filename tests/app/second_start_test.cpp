// A second start for the same game folder must not play a second game on the first one's file:
// it brings the first run's window to the front and ends. Starts for other folders are runs of
// their own, and the folder is free again once the first run's window is gone.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

bool startsARun(const std::string& folder) {
    setVariable("TMP", folder);
    WindowsApplication start;
    return !start.startApplication(GetModuleHandleA(nullptr), "", SW_SHOW);
}

TEST(SecondStart, BringsTheFirstRunsWindowToTheFrontAndEnds) {
    const ScratchDirectory temp;
    const ScratchDirectory otherTemp;
    const ErrorRecorder recorder;
    setVariable("TMP", temp.path().string());
    auto first = std::make_unique<WindowsApplication>();
    ASSERT_FALSE(first->startApplication(GetModuleHandleA(nullptr), "", SW_SHOW));
    winlib::CallbackWindow* window = first->createMainWindow("", SW_SHOW);
    ASSERT_NE(window, nullptr);
    ShowWindow(window->getHandle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window->getHandle()));

    // The same folder, written in other letters, is the same game file.
    std::string sameFolder = temp.path().string();
    CharUpperBuffA(sameFolder.data(), static_cast<DWORD>(sameFolder.size()));
    EXPECT_FALSE(startsARun(sameFolder));
    EXPECT_FALSE(IsIconic(window->getHandle()));
    EXPECT_TRUE(IsWindowVisible(window->getHandle()));
    EXPECT_TRUE(startsARun(otherTemp.path().string()));

    first->deleteMainWindow(window);
    EXPECT_TRUE(startsARun(temp.path().string()));
    for (const ErrorRecorder::Message& message : ErrorRecorder::messages())
        ADD_FAILURE() << "unexpected message: " << message.text;
    setVariable("TMP", privateTemporaryFolder());
}

}  // namespace
}  // namespace chessapp::testing
