// The alarm of a search's time limit: it goes off once at its time, and a search that ends
// earlier is not held back by it.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "uci/deadline.h"

namespace vek::uci {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(Deadline, GoesOffOnceAtItsTimeOrNeverWhenDestroyedFirst) {
    std::atomic<int> calls{0};
    {
        const Deadline alarm(Clock::now() + 20ms, [&calls] { ++calls; });
        for (int i = 0; i < 500 && calls.load() == 0; ++i)  // at most 5 s
            std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(calls.load(), 1);

    // Destroyed long before its time, once its thread waits, it returns at once and never
    // calls.
    const Clock::time_point start = Clock::now();
    {
        const Deadline alarm(Clock::now() + 15s, [&calls] { ++calls; });
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_LT(Clock::now() - start, 5s);  // a bound well below the alarm's time
    EXPECT_EQ(calls.load(), 1);
}

}  // namespace
}  // namespace vek::uci
