#include "foundation/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace {

TEST(Platform, ThreadIdsDifferBetweenThreadsAndStayTheSame) {
    const std::uint32_t mine = vek::currentThreadId();
    EXPECT_NE(mine, 0u);
    EXPECT_EQ(vek::currentThreadId(), mine);
    std::uint32_t other = 0;
    std::thread([&other] { other = vek::currentThreadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, mine);
}

TEST(Platform, TicksCountMilliseconds) {
    const std::int64_t start = vek::tickMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const std::int64_t elapsed = vek::tickMilliseconds() - start;
    EXPECT_GE(elapsed, 90);  // GetTickCount64 moves in steps of 10 to 16 ms
    EXPECT_LT(elapsed, 5000);
}

TEST(Platform, OemAndAnsiGermanLetters) {
    const std::string oem = "\x84\x94\x81\x8E\x99\x9A\xE1\x82 ASCII stays";
    const std::string ansi = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9 ASCII stays";
    std::string converted(oem.size(), '\0');
    vek::oemToAnsi(oem.data(), converted.data(), oem.size());
    EXPECT_EQ(converted, ansi);
    std::string back(ansi);
    vek::ansiToOem(back.data(), back.data(), back.size());  // in place
    EXPECT_EQ(back, oem);
}

}  // namespace
