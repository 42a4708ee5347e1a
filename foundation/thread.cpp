// Threads, the stop event, the recursive lock and the thread registry.
#include "foundation/thread.h"

#include <chrono>
#include <exception>
#include <future>
#include <system_error>

#include "foundation/array.h"
#include "foundation/exceptions.h"

namespace vek {

namespace {

// A copy with a block of its own. Use counts of text blocks are not atomic, so the name that
// several threads copy must not share a block with a handle that another thread owns.
STRING unsharedCopy(const STRING& text) {
    STRING copy(text.getText(), text.getLength());
    if (!copy.isEmpty())
        copy.setCharset(text.getCharset());
    return copy;
}

template <typename Predicate>
bool waitFor(std::condition_variable& condition, std::unique_lock<std::mutex>& lock, std::uint32_t timeoutMs,
             Predicate ready) {
    if (timeoutMs == kInfinite) {
        condition.wait(lock, ready);
        return true;
    }
    return condition.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

struct Registry {
    RecursiveLock lock;
    Array<Thread*> threads;  // each entry holds one count of its thread
};

// Never destroyed, so that thread objects destroyed late at exit still find it.
Registry& registry() {
    static Registry* const instance = new Registry;
    return *instance;
}

std::atomic<std::uint32_t> registryTimeout{10000};
std::atomic<bool> failNextCreation{false};

// Removes the entry for thread from the registry array (under the registry lock); true when found.
bool unregister(Thread* thread) {
    Array<Thread*>& threads = registry().threads;
    for (std::size_t i = 0; i < threads.getCount(); ++i) {
        if (threads[i] == thread) {
            threads.remove(i);
            return true;
        }
    }
    return false;
}

}  // namespace

namespace detail {
std::uint32_t setThreadRegistryTimeout(std::uint32_t timeoutMs) { return registryTimeout.exchange(timeoutMs); }
void failNextThreadCreation() { failNextCreation.store(true); }
}  // namespace detail

// ---------------------------------------------------------------------------------------------
// Event

void Event::set() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        signalled_ = true;
    }
    changed_.notify_one();
}

void Event::reset() {
    std::lock_guard<std::mutex> guard(mutex_);
    signalled_ = false;
}

bool Event::wait(std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!waitFor(changed_, lock, timeoutMs, [this] { return signalled_; }))
        return false;
    signalled_ = false;  // auto-reset
    return true;
}

// ---------------------------------------------------------------------------------------------
// RecursiveLock

bool RecursiveLock::acquire(std::uint32_t timeoutMs) {
    const std::uint32_t me = currentThreadId();
    std::unique_lock<std::mutex> lock(mutex_);
    if (owner_ == me) {
        ++count_;
        return true;
    }
    if (!waitFor(freed_, lock, timeoutMs, [this] { return owner_ == kNoOwner; }))
        return false;
    owner_ = me;
    count_ = 1;
    return true;
}

bool RecursiveLock::release() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (owner_ != currentThreadId() || count_ <= 0)
            return false;
        if (--count_ > 0)
            return true;
        owner_ = kNoOwner;
    }
    freed_.notify_one();
    return true;
}

std::uint32_t RecursiveLock::getOwner() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return owner_;
}

int RecursiveLock::getRecursionCount() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return count_;
}

// ---------------------------------------------------------------------------------------------
// Registry functions

RecursiveLock& getThreadRegistryLock() { return registry().lock; }

std::size_t getRegisteredThreadCount() {
    RecursiveLock::Guard guard(registry().lock);
    return registry().threads.getCount();
}

SharedRef<Thread> findThread(std::uint32_t threadId) {
    RecursiveLock::Guard guard(registry().lock, registryTimeout.load());
    if (!guard.acquired())
        return nullptr;
    // A finished entry that no purge has dropped yet may carry an id the system has since
    // given to a new thread: the running one is the thread asked for.
    Thread* finished = nullptr;
    for (Thread* thread : registry().threads) {
        if (thread->getThreadId() != threadId)
            continue;
        if (thread->isRunning())
            return SharedRef<Thread>(thread);
        if (finished == nullptr)
            finished = thread;
    }
    return SharedRef<Thread>(finished);
}

bool purgeThreads(std::uint32_t timeoutMs) {
    RecursiveLock::Guard guard(registry().lock, timeoutMs);
    if (!guard.acquired())
        return false;
    Array<Thread*>& threads = registry().threads;
    for (std::size_t i = 0; i < threads.getCount();) {
        Thread* thread = threads[i];
        if (thread->isRunning()) {
            ++i;
            continue;
        }
        // Out of the array first: a deleted thread's destructor looks for itself there.
        threads.remove(i);
        thread->release();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Thread

Thread::~Thread() {
    if (isRunning()) {
        // Misuse (see thread.h); at least ask the body to end before waiting for it.
        terminated_.store(true);
        stopEvent_.set();
    }
    joinSystemThread();
    // A thread object destroyed without a purge (one not deleted by the registry) must not stay
    // in the registry.
    RecursiveLock::Guard guard(registry().lock);
    unregister(this);
}

void Thread::joinSystemThread() {
    if (!system_.joinable())
        return;
    if (system_.get_id() == std::this_thread::get_id())
        system_.detach();
    else
        system_.join();
}

STRING Thread::getName() const {
    RecursiveLock::Guard guard(registry().lock);
    return unsharedCopy(name_);
}

bool Thread::waitUntilFinished(std::uint32_t timeoutMs) const {
    std::unique_lock<std::mutex> lock(finishMutex_);
    return waitFor(finished_, lock, timeoutMs, [this] { return !isRunning(); });
}

void Thread::StartThread(const STRING& name) {
    // A counted thread (one that a purge could release) is held for the call, so that the purge
    // of step 1 cannot delete it under our feet; the count is handed back without deleting.
    struct Hold {
        Thread* thread;
        bool counted;
        explicit Hold(Thread* t) : thread(t), counted(t->getUseCount() > 0) {
            if (counted)
                thread->addRef();
        }
        ~Hold() {
            if (counted)
                thread->releaseWithoutDelete();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    } hold(this);

    const std::uint32_t timeout = registryTimeout.load();
    // Step 1; with the registry's time-out, so that a held registry lock cannot hang the start.
    purgeThreads(timeout);
    // Checking and setting `running` is one step: of two callers at once, only one starts the
    // thread, the other finds it running.
    bool wasRunning = false;
    if (!running_.compare_exchange_strong(wasRunning, true))
        return;
    // The previous system thread has cleared `running`: let it return control.
    joinSystemThread();

    // A stop request of the previous run, also one made after it had finished, is not carried
    // over: the new body starts unstopped and its wait for the stop event blocks.
    terminated_.store(false);
    stopEvent_.reset();
    threadId_.store(0);
    starterId_.store(currentThreadId());

    bool registered = false;
    {
        RecursiveLock::Guard guard(registry().lock, timeout);
        if (guard.acquired()) {
            try {
                registry().threads.append(this);
            } catch (...) {
                running_.store(false);
                throw;
            }
            addRef();
            name_ = unsharedCopy(name);
            registered = true;
        }
    }

    std::promise<void> started;
    std::future<void> hasId = started.get_future();
    try {
        if (failNextCreation.exchange(false))
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        system_ = std::thread(&Thread::entry, this, static_cast<void*>(&started));
    } catch (const std::exception& failure) {
        // A thread left marked running could never be started or waited for again: undo the
        // start and tell the caller.
        if (registered) {
            RecursiveLock::Guard guard(registry().lock);
            unregister(this);
            releaseWithoutDelete();
        }
        {
            std::lock_guard<std::mutex> lock(finishMutex_);
            running_.store(false);
        }
        finished_.notify_all();
        ThreadError error(name);
        error.addInfo(STRING("Caused by: ") + failure.what());
        throw error;
    }
    hasId.wait();
}

void Thread::entry(Thread* self, void* started) {
    self->threadId_.store(currentThreadId());
    self->running_.store(true);
    static_cast<std::promise<void>*>(started)->set_value();  // not touched again: StartThread returns
    try {
        self->ExecuteThread();
    } catch (...) {
        // Nothing above the entry could handle it; the thread simply ends.
    }
    {
        std::lock_guard<std::mutex> lock(self->finishMutex_);
        self->running_.store(false);
        // Notified under the lock, so that no waiter misses it.
        self->finished_.notify_all();
    }
    // Nothing of self after this point but the end of the function: a purge may now delete the
    // object, and its destructor joins this system thread.
}

void Thread::StopThread() {
    // Held for the call like in StartThread; if the purge dropped the last other count, the
    // object is deleted at the end, as the purge would have done.
    const bool counted = getUseCount() > 0;
    if (counted)
        addRef();
    purgeThreads(registryTimeout.load());
    terminated_.store(true);
    stopEvent_.set();
    if (counted)
        release();  // may delete this: nothing of it after this line
}

}  // namespace vek
