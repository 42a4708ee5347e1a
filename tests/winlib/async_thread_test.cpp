// Asynchronous threads report their end to their window exactly once.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "recording_window.h"
#include "window_test_support.h"
#include "winlib/async_thread.h"

namespace winlib::test {
namespace {

std::atomic<int> tasksRun{0};

class Task : public AsyncThread {
public:
    Task(CallbackWindow* target, LPARAM data, bool fails) : AsyncThread(target, data), fails_(fails) {}

protected:
    void ExecuteTask() override {
        ++tasksRun;
        if (fails_)
            throw std::runtime_error("engine failed");
    }

private:
    bool fails_;
};

int countEnds(const RecordingWindow& window) {
    int count = 0;
    for (const std::string& entry : window.log)
        count += entry == "async end" ? 1 : 0;
    return count;
}

using AsyncThreads = RecordingWindowTest<::testing::TestWithParam<bool>>;

TEST_P(AsyncThreads, PostOneEndMessageWithTheDataWord) {
    const bool fails = this->GetParam();
    vek::SharedRef<Task> task(new Task(&window, 0x5EED, fails));
    task->StartThread("task");
    ASSERT_TRUE(task->waitUntilFinished(5000));
    EXPECT_TRUE(pumpUntil([&] { return countEnds(window) == 1; }));
    EXPECT_EQ(window.lastData, 0x5EED);

    // Stopping a finished thread posts nothing more.
    task->StopThread();
    Sleep(50);
    pumpPending();
    EXPECT_EQ(countEnds(window), 1);
    EXPECT_TRUE(errors.reports().empty());  // a task's exception is no handler's exception
    task.reset();
    vek::purgeThreads();
}

INSTANTIATE_TEST_SUITE_P(ReturningOrThrowing, AsyncThreads, ::testing::Values(false, true));

TEST(AsyncThread, ConstructionPurgesFinishedThreads) {
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    vek::purgeThreads();
    const std::size_t before = vek::getRegisteredThreadCount();
    auto* task = new Task(&window, 1, false);  // auto-delete: the registry's count keeps it
    task->StartThread("first");
    ASSERT_TRUE(task->waitUntilFinished(5000));
    EXPECT_EQ(vek::getRegisteredThreadCount(), before + 1);
    vek::SharedRef<Task> next(new Task(&window, 2, false));
    EXPECT_EQ(vek::getRegisteredThreadCount(), before);
    next.reset();
    pumpPending();
}

}  // namespace
}  // namespace winlib::test
