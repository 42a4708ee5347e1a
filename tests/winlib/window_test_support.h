#pragma once
// Helpers for the tests with real windows: recorded error reports, bounded message pumping and a
// watchdog that ends a message loop which would otherwise wait for ever.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "winlib/application.h"
#include "winlib/error_report.h"
#include "winlib/overlapped_window.h"

namespace winlib::test {

// Records every message for the user instead of showing a box; restores the previous reporter.
class ErrorRecorder {
public:
    struct Message {
        HWND owner;
        std::string text;
        std::string caption;
        UINT style;
    };

    ErrorRecorder();
    ~ErrorRecorder();
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;
    // The texts, in the order reported.
    static std::vector<std::string>& reports();
    // The whole messages, in the same order.
    static std::vector<Message>& messages();
    static void clear();

private:
    ErrorReporter previous_;
};

// Dispatches the thread's queued messages until done() holds or limitMs has passed; true when done.
bool pumpUntil(const std::function<bool()>& done, std::uint32_t limitMs = 5000);
// Dispatches what is queued now (bounded).
void pumpPending();

// Posts WM_QUIT to the creating thread after limitMs unless cancelled (destroyed) first.
class LoopWatchdog {
public:
    explicit LoopWatchdog(std::uint32_t limitMs = 5000);
    ~LoopWatchdog();
    LoopWatchdog(const LoopWatchdog&) = delete;
    LoopWatchdog& operator=(const LoopWatchdog&) = delete;
    bool fired() const { return fired_.load(); }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// The tests' application object: names fixed, so that class names do not depend on the file.
class TestApplication : public Application {
public:
    TestApplication() { setApplicationName("winlibtest"); }
};

// A hidden top-level window with a known size.
void makeHidden(BasicWindow& window, int width = 300, int height = 200);

}  // namespace winlib::test
