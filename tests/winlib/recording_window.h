#pragma once
// A window that records the handler calls it gets, for the dispatch tests.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winlib/child_window.h"
#include "winlib/device.h"
#include "winlib/overlapped_window.h"
#include "window_test_support.h"

namespace winlib::test {

constexpr UINT kProbe = WM_APP + 1;  // handled by handleMessage with the configured status

template <typename Base>
class Recording : public Base {
public:
    using Base::Base;

    std::vector<std::string> log;
    ProcessStatus answer = psPROCESSED;  // what the recording handlers return
    LRESULT storedResult = 0;            // set as the stored result before answering
    int defaultCalls = 0;
    Point lastPoint;
    WPARAM lastModifiers = 0;
    LPARAM lastData = 0;
    int repaints = 0;

    ProcessStatus handleRepaint(Device& device) override {
        ++repaints;
        device.selectPen(static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        device.moveTo(0, 0);
        device.lineTo(5, 5);
        return note("repaint");
    }
    ProcessStatus handleErase(Device& device) override {
        Base::handleErase(device);
        return note("erase");
    }
    ProcessStatus handleResize(Size size) override {
        return note("resize " + std::to_string(size.width) + "x" + std::to_string(size.height));
    }
    void handleTimer() override { note("timer"); }
    ProcessStatus handleLeftButton(UINT message, WPARAM modifiers, Point point) override {
        lastPoint = point;
        lastModifiers = modifiers;
        const char* kind = message == WM_LBUTTONDOWN ? "down" : message == WM_LBUTTONUP ? "up" : "double";
        return note(std::string("left ") + kind);
    }
    ProcessStatus handleButtonClick(int id) override { return note("click " + std::to_string(id)); }
    ProcessStatus handleEditChange(int id) override { return note("edit " + std::to_string(id)); }
    ProcessStatus handleSelectionChanged(int id) override { return note("selection " + std::to_string(id)); }
    ProcessStatus handleNotification(int code, int id) override {
        return note("notification " + std::to_string(code) + " " + std::to_string(id));
    }
    ProcessStatus handleCommand(int id) override { return note("command " + std::to_string(id)); }
    void handleAsyncTaskEnd(LPARAM data) override {
        lastData = data;
        note("async end");
    }
    ProcessStatus handleDestroy() override { return note("destroy"); }
    ProcessStatus handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kProbe)
            return Base::handleMessage(message, wParam, lParam);
        return note("probe " + std::to_string(wParam));
    }
    LRESULT callDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe || message == WM_COMMAND)
            ++defaultCalls;
        return Base::callDefaultProc(message, wParam, lParam);
    }

    bool logged(const std::string& entry) const {
        for (const std::string& line : log) {
            if (line == entry)
                return true;
        }
        return false;
    }

protected:
    ProcessStatus note(const std::string& entry) {
        log.push_back(entry);
        this->setResult(storedResult);
        return answer;
    }
};

using RecordingWindow = Recording<OverlappedWindow>;
using RecordingChild = Recording<ChildWindow>;

// A fixture with a hidden recording window, created and with an empty log, and recorded errors.
template <typename TestBase = ::testing::Test>
class RecordingWindowTest : public TestBase {
protected:
    void SetUp() override {
        makeHidden(window);
        ASSERT_EQ(window.create(nullptr), 0);
        window.log.clear();
    }

    ErrorRecorder errors;
    RecordingWindow window;
};

}  // namespace winlib::test
