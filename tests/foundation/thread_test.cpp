// Threads, the stop event, the recursive lock and the registry. Also run under ThreadSanitizer.
#include "foundation/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "foundation/exceptions.h"

namespace {

using namespace std::chrono_literals;
using vek::findThread;
using vek::getRegisteredThreadCount;
using vek::purgeThreads;
using vek::RecursiveLock;
using vek::SharedRef;
using vek::Thread;

// A thread whose body is a function; counts its destruction.
class TestThread : public Thread {
public:
    explicit TestThread(std::function<void(TestThread&)> body, std::atomic<int>* destroyed = nullptr)
        : body_(std::move(body)), destroyed_(destroyed) {}
    ~TestThread() override {
        if (destroyed_ != nullptr)
            ++*destroyed_;
    }
    void ExecuteThread() override { body_(*this); }

private:
    std::function<void(TestThread&)> body_;
    std::atomic<int>* destroyed_;
};

// Waits for the stop event, as a task that waits rather than polls.
void waitForStop(TestThread& self) { self.getStopEvent().wait(); }

// Every test leaves the registry as it found it.
class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        purgeThreads();
        baseline_ = getRegisteredThreadCount();
    }
    void TearDown() override {
        purgeThreads();
        EXPECT_EQ(getRegisteredThreadCount(), baseline_);
    }
    std::size_t baseline_ = 0;
};

template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Event

TEST(Event, AutoReset) {
    vek::Event event;
    EXPECT_FALSE(event.wait(0));
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0));  // consumed
    event.set();
    event.reset();
    EXPECT_FALSE(event.wait(10));
}

TEST(Event, WakesAWaiterOnAnotherThread) {
    vek::Event event;
    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = event.wait(); });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(woke);
    event.set();
    waiter.join();
    EXPECT_TRUE(woke);
}

TEST(Event, WaitTimesOut) {
    vek::Event event;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.wait(50));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 45ms);
}

// ---------------------------------------------------------------------------------------------
// RecursiveLock

TEST(RecursiveLock, OwnerMayAcquireAgain) {
    RecursiveLock lock;
    EXPECT_EQ(lock.getOwner(), RecursiveLock::kNoOwner);
    EXPECT_TRUE(lock.acquire(0));
    EXPECT_TRUE(lock.acquire(0));
    EXPECT_TRUE(lock.acquire());
    EXPECT_EQ(lock.getOwner(), vek::currentThreadId());
    EXPECT_EQ(lock.getRecursionCount(), 3);
    EXPECT_TRUE(lock.release());
    EXPECT_TRUE(lock.release());
    EXPECT_EQ(lock.getRecursionCount(), 1);
    EXPECT_TRUE(lock.release());
    EXPECT_EQ(lock.getOwner(), RecursiveLock::kNoOwner);
    EXPECT_FALSE(lock.release());  // not owned
}

TEST(RecursiveLock, OthersTimeOutUntilTheLastRelease) {
    RecursiveLock lock;
    ASSERT_TRUE(lock.acquire());
    ASSERT_TRUE(lock.acquire());
    auto tryOnOtherThread = [&lock](std::uint32_t timeoutMs) {
        bool got = false;
        std::thread other([&] {
            got = lock.acquire(timeoutMs);
            if (got) {
                EXPECT_FALSE(lock.acquire(0) == false);
                lock.release();
                lock.release();
            }
        });
        other.join();
        return got;
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(tryOnOtherThread(60));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 55ms);
    lock.release();  // still held once
    EXPECT_FALSE(tryOnOtherThread(10));
    std::thread notOwner([&lock] { EXPECT_FALSE(lock.release()); });
    notOwner.join();
    EXPECT_EQ(lock.getRecursionCount(), 1);
    lock.release();
    EXPECT_TRUE(tryOnOtherThread(0));
}

TEST(RecursiveLock, AWaiterGetsTheLockWhenItIsFreed) {
    RecursiveLock lock;
    ASSERT_TRUE(lock.acquire());
    std::atomic<bool> got{false};
    std::thread waiter([&] {
        got = lock.acquire(10000);
        if (got)
            lock.release();
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(got);
    lock.release();
    waiter.join();
    EXPECT_TRUE(got);
}

// ---------------------------------------------------------------------------------------------
// Thread

TEST_F(ThreadTest, RunsItsBodyOnItsOwnThread) {
    std::atomic<std::uint32_t> seenId{0};
    std::atomic<bool> ranWhileRunning{false};
    TestThread thread([&](TestThread& self) {
        seenId = vek::currentThreadId();
        ranWhileRunning = self.isRunning();
    });
    EXPECT_EQ(thread.getThreadId(), 0u);
    EXPECT_FALSE(thread.isRunning());
    thread.StartThread("worker");
    const std::uint32_t id = thread.getThreadId();  // known when StartThread returns
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, vek::currentThreadId());
    EXPECT_EQ(thread.getStarterId(), vek::currentThreadId());
    EXPECT_EQ(thread.getName(), "worker");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_FALSE(thread.isRunning());
    EXPECT_EQ(seenId.load(), id);
    EXPECT_TRUE(ranWhileRunning);
    EXPECT_FALSE(thread.isTerminated());
}

// Text blocks count their users without atomics, so the name that other threads copy shares
// no block with the caller's handle or with the copies handed out.
TEST_F(ThreadTest, TheNameSharesNoBlockAcrossThreads) {
    TestThread thread(waitForStop);
    const vek::STRING name("engine");
    thread.StartThread(name);
    EXPECT_EQ(name.getUseCount(), 1);
    const vek::STRING copy = thread.getName();
    EXPECT_EQ(copy, "engine");
    EXPECT_EQ(copy.getUseCount(), 1);
    thread.StopThread();
    ASSERT_TRUE(thread.waitUntilFinished(10000));
}

TEST_F(ThreadTest, StartRegistersWithACountedReference) {
    TestThread thread(waitForStop);
    thread.StartThread("registered");
    EXPECT_TRUE(thread.isRunning());
    EXPECT_EQ(thread.getUseCount(), 1);
    EXPECT_EQ(getRegisteredThreadCount(), baseline_ + 1);
    {
        SharedRef<Thread> found = findThread(thread.getThreadId());
        ASSERT_TRUE(found);
        EXPECT_EQ(found.get(), &thread);
        EXPECT_EQ(thread.getUseCount(), 2);
    }
    EXPECT_EQ(thread.getUseCount(), 1);
    purgeThreads();  // running: stays
    EXPECT_EQ(getRegisteredThreadCount(), baseline_ + 1);
    thread.StopThread();
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_TRUE(findThread(thread.getThreadId()));  // finished, not yet purged
    purgeThreads();
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);
    EXPECT_EQ(thread.getUseCount(), 0);
    EXPECT_FALSE(findThread(thread.getThreadId()));
}

TEST_F(ThreadTest, FindThreadForUnknownIds) {
    EXPECT_FALSE(findThread(0));
    EXPECT_FALSE(findThread(vek::currentThreadId()));
    EXPECT_FALSE(findThread(0xFFFFFFF0u));
}

TEST_F(ThreadTest, StopRequestIsSeenByAPollingTask) {
    // The engine's way: find its own thread in the registry and poll isTerminated.
    std::atomic<int> rounds{0};
    std::atomic<bool> foundItself{false};
    TestThread thread([&](TestThread& self) {
        SharedRef<Thread> me = findThread(vek::currentThreadId());
        foundItself = me.get() == &self;
        if (!me)
            return;
        while (!me->isTerminated()) {
            ++rounds;
            std::this_thread::sleep_for(1ms);
        }
    });
    thread.StartThread("engine");
    ASSERT_TRUE(eventually([&] { return rounds > 3; }));
    EXPECT_TRUE(thread.isRunning());
    thread.StopThread();
    EXPECT_TRUE(thread.isTerminated());
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_TRUE(foundItself);
}

TEST_F(ThreadTest, StopEventWakesAWaitingTask) {
    std::atomic<bool> woke{false};
    TestThread thread([&](TestThread& self) {
        woke = self.getStopEvent().wait(10000);
    });
    thread.StartThread("waiter");
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(thread.isRunning());
    thread.StopThread();
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_TRUE(woke);
}

TEST_F(ThreadTest, SecondStartOfARunningThreadDoesNothing) {
    std::atomic<int> bodies{0};
    TestThread thread([&](TestThread& self) {
        ++bodies;
        waitForStop(self);
    });
    thread.StartThread("first");
    const std::uint32_t id = thread.getThreadId();
    thread.StartThread("second");
    EXPECT_EQ(thread.getName(), "first");
    EXPECT_EQ(thread.getThreadId(), id);
    EXPECT_EQ(thread.getUseCount(), 1);
    EXPECT_EQ(getRegisteredThreadCount(), baseline_ + 1);
    thread.StopThread();
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_EQ(bodies, 1);
}

// Two callers that start the same thread at the same moment: one starts it, the other finds it
// running. Repeated, since the two must meet between the check and the start; a restart right
// after the end, while the old system thread may still be exiting, widens that gap.
TEST_F(ThreadTest, TwoStartersAtOnceStartItOnce) {
    std::atomic<int> bodies{0};
    TestThread thread([&](TestThread& self) {
        ++bodies;
        eventually([&] { return self.isTerminated(); });
    });
    for (int round = 1; round <= 1000; ++round) {
        std::atomic<int> ready{0};
        const auto starter = [&] {
            ++ready;
            const auto end = std::chrono::steady_clock::now() + 10s;
            while (ready < 2 && std::chrono::steady_clock::now() < end) {
            }
            thread.StartThread("twice");
        };
        std::thread first(starter);
        std::thread second(starter);
        first.join();
        second.join();
        EXPECT_TRUE(thread.isRunning());
        EXPECT_EQ(thread.getUseCount(), 1);
        thread.StopThread();
        ASSERT_TRUE(thread.waitUntilFinished(10000));
        ASSERT_EQ(bodies, round);
    }
}

TEST_F(ThreadTest, RestartAfterItHasFinished) {
    std::atomic<int> bodies{0};
    TestThread thread([&](TestThread&) { ++bodies; });
    thread.StartThread("one");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    thread.StopThread();
    EXPECT_TRUE(thread.isTerminated());
    thread.StartThread("two");  // purges the old registration, clears terminated
    EXPECT_FALSE(thread.isTerminated());
    EXPECT_EQ(thread.getName(), "two");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_EQ(bodies, 2);
    EXPECT_EQ(thread.getUseCount(), 1);  // registered once
}

TEST_F(ThreadTest, AStopOfTheFinishedRunDoesNotEndTheNextOne) {
    std::atomic<int> round{0};
    std::atomic<bool> wokeAtOnce{true};
    TestThread thread([&](TestThread& self) {
        if (++round == 2)
            wokeAtOnce = self.getStopEvent().wait(200) || self.isTerminated();
    });
    thread.StartThread("first");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    thread.StopThread();  // signals the event with nobody waiting
    thread.StartThread("second");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_EQ(round, 2);
    EXPECT_FALSE(wokeAtOnce);
}

TEST_F(ThreadTest, StopOfAFinishedThreadOnlySetsTheFlagAndSignals) {
    TestThread thread([](TestThread&) {});
    thread.StartThread("done");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    thread.StopThread();
    EXPECT_TRUE(thread.isTerminated());
    EXPECT_FALSE(thread.isRunning());
    EXPECT_TRUE(thread.getStopEvent().wait(0));  // signalled, nobody took it
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);  // the stop purged it
}

TEST_F(ThreadTest, ExceptionsOfTheBodyAreSwallowed) {
    TestThread library([](TestThread&) { throw vek::IndexError(); });
    TestThread other([](TestThread&) { throw std::runtime_error("x"); });
    TestThread odd([](TestThread&) { throw 42; });
    library.StartThread("library");
    other.StartThread("other");
    odd.StartThread("odd");
    EXPECT_TRUE(library.waitUntilFinished(10000));
    EXPECT_TRUE(other.waitUntilFinished(10000));
    EXPECT_TRUE(odd.waitUntilFinished(10000));
}

TEST_F(ThreadTest, AutoDeleteThreadIsDeletedByThePurgeAfterItEnded) {
    std::atomic<int> destroyed{0};
    auto* thread = new TestThread([](TestThread&) {}, &destroyed);
    thread->setAutoDelete(true);
    thread->StartThread("auto");
    const std::uint32_t id = thread->getThreadId();
    ASSERT_TRUE(thread->waitUntilFinished(10000));
    EXPECT_EQ(destroyed, 0);  // finished, still registered
    purgeThreads();
    EXPECT_EQ(destroyed, 1);  // gone with the purge
    EXPECT_FALSE(findThread(id));
}

TEST_F(ThreadTest, AutoDeleteThreadHeldByAReferenceOutlivesThePurge) {
    std::atomic<int> destroyed{0};
    auto* raw = new TestThread([](TestThread&) {}, &destroyed);
    raw->setAutoDelete(true);
    SharedRef<TestThread> held(raw);
    held->StartThread("held");
    EXPECT_EQ(held->getUseCount(), 2);
    ASSERT_TRUE(held->waitUntilFinished(10000));
    purgeThreads();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(held->getUseCount(), 1);
    held.reset();  // the last user lets go
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ThreadTest, StopThreadOfAFinishedAutoDeleteThreadDeletesItAtTheEnd) {
    std::atomic<int> destroyed{0};
    auto* thread = new TestThread([](TestThread&) {}, &destroyed);
    thread->setAutoDelete(true);
    thread->StartThread("stopped late");
    ASSERT_TRUE(thread->waitUntilFinished(10000));
    thread->StopThread();  // purges its only count: deleted when the call ends, not during it
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ThreadTest, PurgeRightAfterTheEndNeverFreesARunningEntry) {
    // The purge may come while the entry is still in its last steps; the destructor's join
    // keeps the object until then (AddressSanitizer and ThreadSanitizer watch this).
    std::atomic<int> destroyed{0};
    for (int i = 0; i < 50; ++i) {
        auto* thread = new TestThread([](TestThread&) {}, &destroyed);
        thread->setAutoDelete(true);
        thread->StartThread("short");
        while (thread->isRunning())
            std::this_thread::yield();
        purgeThreads();
    }
    EXPECT_EQ(destroyed, 50);
}

TEST_F(ThreadTest, StartingPurgesFinishedThreads) {
    std::atomic<int> destroyed{0};
    auto* finished = new TestThread([](TestThread&) {}, &destroyed);
    finished->setAutoDelete(true);
    finished->StartThread("finished");
    ASSERT_TRUE(finished->waitUntilFinished(10000));
    TestThread next([](TestThread&) {});
    next.StartThread("next");
    EXPECT_EQ(destroyed, 1);
    ASSERT_TRUE(next.waitUntilFinished(10000));
}

TEST_F(ThreadTest, CreationFailureLeavesItNotRunningAndUnregistered) {
    std::atomic<int> bodies{0};
    TestThread thread([&](TestThread&) { ++bodies; });
    vek::detail::failNextThreadCreation();
    try {
        thread.StartThread("refused");
        FAIL() << "no ThreadError";
    } catch (const vek::ThreadError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Thread Start Failed: refused: Caused by: ", 0), 0u)
            << error.what();
    }
    EXPECT_FALSE(thread.isRunning());
    EXPECT_EQ(thread.getUseCount(), 0);
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);
    EXPECT_TRUE(thread.waitUntilFinished(0));
    // Not stuck: a later start works.
    thread.StartThread("accepted");
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_EQ(bodies, 1);
}

TEST_F(ThreadTest, CreationFailureOfAnAutoDeleteThreadDoesNotDeleteIt) {
    std::atomic<int> destroyed{0};
    auto* thread = new TestThread([](TestThread&) {}, &destroyed);
    thread->setAutoDelete(true);
    vek::detail::failNextThreadCreation();
    EXPECT_THROW(thread->StartThread("refused"), vek::ThreadError);
    EXPECT_EQ(destroyed, 0);  // the caller still has it
    EXPECT_FALSE(thread->isRunning());
    delete thread;
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ThreadTest, RegistryLockHeldTooLongLeavesTheThreadUnregistered) {
    const std::uint32_t oldTimeout = vek::detail::setThreadRegistryTimeout(50);
    std::atomic<bool> holding{false};
    std::atomic<bool> letGo{false};
    std::thread holder([&] {
        RecursiveLock::Guard guard(vek::getThreadRegistryLock());
        holding = true;
        while (!letGo)
            std::this_thread::sleep_for(1ms);
    });
    ASSERT_TRUE(eventually([&] { return holding.load(); }));

    std::atomic<bool> ran{false};
    TestThread thread([&](TestThread&) { ran = true; });
    const auto start = std::chrono::steady_clock::now();
    thread.StartThread("unregistered");  // purge and registration both time out
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_TRUE(thread.waitUntilFinished(10000));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(findThread(thread.getThreadId()));  // lock still held: null after the time-out
    letGo = true;
    holder.join();
    vek::detail::setThreadRegistryTimeout(oldTimeout);
    EXPECT_FALSE(findThread(thread.getThreadId()));  // never registered
    EXPECT_EQ(thread.getUseCount(), 0);
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);
}

TEST_F(ThreadTest, RegistryLockIsRecursiveForRegistryCalls) {
    TestThread thread(waitForStop);
    thread.StartThread("inside");
    {
        RecursiveLock::Guard guard(vek::getThreadRegistryLock());
        // Registry functions on the owning thread get the lock again.
        EXPECT_TRUE(findThread(thread.getThreadId()));
        EXPECT_TRUE(purgeThreads(0));
        EXPECT_EQ(vek::getThreadRegistryLock().getRecursionCount(), 1);
    }
    thread.StopThread();
    ASSERT_TRUE(thread.waitUntilFinished(10000));
}

TEST_F(ThreadTest, DestroyingAFinishedThreadWithoutAPurgeUnregistersIt) {
    std::uint32_t id = 0;
    {
        TestThread thread([](TestThread&) {});
        thread.StartThread("scoped");
        id = thread.getThreadId();
        ASSERT_TRUE(thread.waitUntilFinished(10000));
        EXPECT_EQ(getRegisteredThreadCount(), baseline_ + 1);
    }
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);
    EXPECT_FALSE(findThread(id));
}

// The pattern for thread objects owned by value and destroyed while they may still run: the
// derived destructor stops the body and waits before its own members go.
class OwnedWorker : public Thread {
public:
    ~OwnedWorker() override {
        StopThread();
        waitUntilFinished();
    }
    void ExecuteThread() override {
        while (!isTerminated())
            std::this_thread::sleep_for(1ms);
        finished = true;
    }
    std::atomic<bool> finished{false};
};

TEST_F(ThreadTest, OwnedThreadStoppedByItsDestructor) {
    std::uint32_t id = 0;
    {
        OwnedWorker worker;
        worker.StartThread("owned");
        id = worker.getThreadId();
        EXPECT_TRUE(worker.isRunning());
    }
    EXPECT_FALSE(findThread(id));
    EXPECT_EQ(getRegisteredThreadCount(), baseline_);
}

TEST_F(ThreadTest, ManyThreadsAtOnce) {
    std::atomic<int> destroyed{0};
    std::atomic<int> done{0};
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 8; ++i) {
        auto* thread = new TestThread(
            [&](TestThread& self) {
                while (!self.isTerminated())
                    std::this_thread::sleep_for(1ms);
                ++done;
            },
            &destroyed);
        thread->setAutoDelete(true);
        thread->StartThread(vek::STRING("worker ") + vek::STRING::fromNumber(i));
        ids.push_back(thread->getThreadId());
    }
    EXPECT_EQ(getRegisteredThreadCount(), baseline_ + 8);
    for (std::uint32_t id : ids) {
        SharedRef<Thread> thread = findThread(id);
        ASSERT_TRUE(thread);
        thread->StopThread();
    }
    ASSERT_TRUE(eventually([&] { return done == 8; }));
    ASSERT_TRUE(eventually([&] {
        purgeThreads();
        return destroyed == 8;
    }));
    for (std::uint32_t id : ids)
        EXPECT_FALSE(findThread(id));
}

}  // namespace
