#pragma once
// A one-shot alarm on a thread of its own: it calls its action once when the time has come,
// unless it is destroyed first. The search's time limit: the search cannot look at a clock
// while it runs, but it ends promptly on a stop request.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vek::uci {

class Deadline {
public:
    Deadline(std::chrono::steady_clock::time_point at, std::function<void()> action);
    // Cancels the alarm if it has not gone off, and waits for its thread.
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    void wait(std::chrono::steady_clock::time_point at);

    std::function<void()> action_;
    std::mutex mutex_;
    std::condition_variable cancelled_;
    bool isCancelled_ = false;
    std::thread thread_;  // last: started once the members above exist
};

}  // namespace vek::uci
