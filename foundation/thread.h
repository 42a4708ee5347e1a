#pragma once
// Threads with a stop request and a process-wide registry, on the C++ standard
// library's threads and synchronisation, so that one body serves Windows and POSIX.
//
// Lifetime of a thread object and its system thread: StartThread keeps the std::thread; the
// destructor (and the next StartThread) joins it, so the object is never freed while its system
// thread still runs the entry function. The registry's counted reference keeps a started thread
// alive until a purge after its entry has cleared `running`; for an auto-delete thread that
// purge deletes the object, and the destructor's join waits only for the last instructions of
// the entry. A thread object must not be destroyed while it is running (its derived part would
// be gone while ExecuteThread still runs): own such objects by counted references, or stop the
// thread and wait with waitUntilFinished in the derived destructor. A destructor that runs on the
// object's own system thread detaches instead of joining.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "foundation/platform.h"
#include "foundation/shared_object.h"
#include "foundation/string.h"

namespace vek {

// Time-outs in milliseconds; kInfinite waits without limit.
constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

// An auto-reset event: set() lets exactly one wait() through (or the next one, when nobody
// waits), then it is not signalled again. Initially not signalled.
class Event {
public:
    void set();
    void reset();
    // True when the event was signalled within the time-out; the wait consumes the signal.
    bool wait(std::uint32_t timeoutMs = kInfinite);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

// A recursive lock with time-outs: the owning thread may acquire it again (a count), others
// wait until it is free or the time-out has passed.
class RecursiveLock {
public:
    static constexpr std::uint32_t kNoOwner = 0xFFFFFFFFu;  // "-1": free

    // True when acquired (at once when the calling thread already owns it).
    bool acquire(std::uint32_t timeoutMs = kInfinite);
    // Undoes one acquire of the owning thread; at 0 the lock is free and a waiter wakes.
    // Returns false (and does nothing) on a thread that does not own the lock.
    bool release();

    std::uint32_t getOwner() const;  // the owner's thread id, kNoOwner when free
    int getRecursionCount() const;

    // Holds the lock for a scope; check acquired() when a time-out was given.
    class Guard {
    public:
        explicit Guard(RecursiveLock& lock, std::uint32_t timeoutMs = kInfinite)
            : lock_(lock), acquired_(lock.acquire(timeoutMs)) {}
        ~Guard() {
            if (acquired_)
                lock_.release();
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        bool acquired() const { return acquired_; }

    private:
        RecursiveLock& lock_;
        bool acquired_;
    };

private:
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    std::uint32_t owner_ = kNoOwner;
    int count_ = 0;
};

// An abstract thread with a stop request. Derived classes implement ExecuteThread, the body,
// which polls isTerminated() (or waits on the stop event) to end early.
class Thread : public SharedObject {
public:
    Thread() = default;
    ~Thread() override;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The thread's body. Exceptions that escape it are swallowed by the entry.
    virtual void ExecuteThread() = 0;

    // Starts the thread (nothing happens while it is running, also when another caller starts it
    // at the same moment: exactly one of them starts it): purges the registry (skipped
    // when its lock is not had within the registry time-out), clears
    // `terminated` and resets the stop event (a stop request belongs to one run: a stop of the
    // finished run must not end the next one at once), sets `running`, registers the thread with a counted reference (unless the
    // registry lock is not had within its time-out: the thread then runs unregistered, and keeps
    // its old name) and creates the system thread. Returns when the system thread has its id.
    // Throws ThreadError when the system thread cannot be created: the thread is then neither
    // running nor registered (AllocError when the registry cannot grow).
    void StartThread(const STRING& name);
    // Requests a stop: purges the registry, sets `terminated` and signals the stop event. Does
    // not wait. A finished auto-delete thread whose last count the purge dropped is deleted at
    // the end of the call, never in the middle of it.
    // Both calls keep the object alive while they run, if it has a use count.
    void StopThread();

    bool isTerminated() const noexcept { return terminated_.load(std::memory_order_acquire); }
    bool isRunning() const noexcept { return running_.load(std::memory_order_acquire); }

    // The operating system's id of the thread (0 before the first start).
    std::uint32_t getThreadId() const noexcept { return threadId_.load(std::memory_order_acquire); }
    // The id of the thread that started it.
    std::uint32_t getStarterId() const noexcept { return starterId_.load(std::memory_order_acquire); }
    // A copy of the name, made under the registry lock.
    STRING getName() const;
    // The stop event (auto-reset, signalled by StopThread), for bodies that wait rather than poll.
    Event& getStopEvent() noexcept { return stopEvent_; }

    // Waits until the thread is not running; true when it is not, false when the time-out ran out.
    bool waitUntilFinished(std::uint32_t timeoutMs = kInfinite) const;

private:
    static void entry(Thread* self, void* started);
    void joinSystemThread();

    std::atomic<std::uint32_t> threadId_{0};
    std::atomic<std::uint32_t> starterId_{0};
    Event stopEvent_;
    STRING name_;  // written and copied under the registry lock
    std::thread system_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> running_{false};
    mutable std::mutex finishMutex_;
    mutable std::condition_variable finished_;
};

// The registered thread with that id as a counted reference, or null (also when the registry
// lock is not had within the registry's time-out).
SharedRef<Thread> findThread(std::uint32_t threadId);

// Drops finished threads from the registry: each one whose `running` flag is clear is removed
// and released (an auto-delete thread whose count drops to 0 is deleted). The registry lock is
// waited for without limit, or at most timeoutMs (false when it was not had: nothing purged).
bool purgeThreads(std::uint32_t timeoutMs = kInfinite);

// The number of registered threads.
std::size_t getRegisteredThreadCount();

// The registry's lock (for tests and for code that must hold the registry still).
RecursiveLock& getThreadRegistryLock();

namespace detail {
// The registry lock's time-out for StartThread and findThread (10000 ms); returns the old one.
// For tests.
std::uint32_t setThreadRegistryTimeout(std::uint32_t timeoutMs);
// Makes the next creation of a system thread fail, as if the system refused it. For tests.
void failNextThreadCreation();
}  // namespace detail

}  // namespace vek
