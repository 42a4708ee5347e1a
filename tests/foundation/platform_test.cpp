#include "foundation/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
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

}  // namespace
