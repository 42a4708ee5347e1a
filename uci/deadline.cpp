#include "uci/deadline.h"

#include <utility>

namespace vek::uci {

Deadline::Deadline(std::chrono::steady_clock::time_point at, std::function<void()> action)
    : action_(std::move(action)), thread_([this, at] { wait(at); }) {}

Deadline::~Deadline() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        isCancelled_ = true;
    }
    cancelled_.notify_one();
    thread_.join();
}

void Deadline::wait(std::chrono::steady_clock::time_point at) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cancelled_.wait_until(lock, at, [this] { return isCancelled_; }))
        action_();
}

}  // namespace vek::uci
