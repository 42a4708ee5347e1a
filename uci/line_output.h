#pragma once
// The engine's answers, one line at a time, from the protocol's thread and the search's
// thread: each line reaches the sink whole.

#include <functional>
#include <mutex>
#include <string>
#include <utility>

namespace vek::uci {

class LineOutput {
public:
    // `sink` receives each line without its line end.
    explicit LineOutput(std::function<void(const std::string&)> sink) : sink_(std::move(sink)) {}

    void write(const std::string& line) {
        const std::lock_guard<std::mutex> lock(mutex_);
        sink_(line);
    }
    // "info string " and the text: how the protocol reports what it cannot do.
    void note(const std::string& text) { write("info string " + text); }

private:
    std::mutex mutex_;
    std::function<void(const std::string&)> sink_;
};

}  // namespace vek::uci
