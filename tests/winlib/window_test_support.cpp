#include "window_test_support.h"

#include <chrono>

#include "foundation/string.h"
#include "winlib/error_report.h"

namespace winlib::test {

namespace {

// The message's UTF-8 text in code page 1252, as the tests write their expectations.
std::string inWindowsCodePage(const char* text) {
    vek::STRING utf8(text);
    utf8.setCharset(vek::csUTF8);
    return utf8.convertToCharset(vek::csWINDOWS).getText();
}

void record(const UserMessage& message) {
    ErrorRecorder::reports().push_back(inWindowsCodePage(message.text));
    ErrorRecorder::messages().push_back(
        ErrorRecorder::Message{message.owner, inWindowsCodePage(message.text), message.caption, message.style});
}

}  // namespace

ErrorRecorder::ErrorRecorder() : previous_(setErrorReporter(record)) { clear(); }

ErrorRecorder::~ErrorRecorder() { setErrorReporter(previous_); }

std::vector<std::string>& ErrorRecorder::reports() {
    static std::vector<std::string> list;
    return list;
}

std::vector<ErrorRecorder::Message>& ErrorRecorder::messages() {
    static std::vector<Message> list;
    return list;
}

void ErrorRecorder::clear() {
    reports().clear();
    messages().clear();
}

bool pumpUntil(const std::function<bool()>& done, std::uint32_t limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        MSG message{};
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

void pumpPending() {
    MSG message{};
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LoopWatchdog::LoopWatchdog(std::uint32_t limitMs) {
    const DWORD threadId = GetCurrentThreadId();
    thread_ = std::thread([this, threadId, limitMs] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (!cancelled_.load()) {
            if (std::chrono::steady_clock::now() >= end) {
                fired_.store(true);
                PostThreadMessageA(threadId, WM_QUIT, 0, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

LoopWatchdog::~LoopWatchdog() {
    cancelled_.store(true);
    thread_.join();
    // A quit posted by the watchdog but not consumed must not end the next test's loop.
    MSG message{};
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void makeHidden(BasicWindow& window, int width, int height) {
    window.setStyle(window.getStyle() & ~static_cast<DWORD>(WS_VISIBLE));
    window.move(10, 10, width, height);
}

}  // namespace winlib::test
