// Creation, closing, ownership and destruction of windows, also from inside their own handlers.
#include <gtest/gtest.h>

#include "foundation/exceptions.h"
#include "recording_window.h"
#include "window_test_support.h"
#include "winlib/controls.h"

namespace winlib::test {
namespace {

std::vector<std::string>& events() {
    static std::vector<std::string> list;
    return list;
}

// A child that notes its destruction and its own WM_DESTROY.
class NotingChild : public ChildWindow {
public:
    NotingChild(BasicWindow* owner, std::string name) : ChildWindow(owner), name_(std::move(name)) {}
    ~NotingChild() override { events().push_back("delete " + name_); }
    ProcessStatus handleDestroy() override {
        events().push_back("destroy " + name_);
        return psPROCESSED;
    }

private:
    std::string name_;
};

class NotingLabel : public Label {
public:
    NotingLabel(BasicWindow* owner, std::string name) : Label(owner), name_(std::move(name)) {}
    ~NotingLabel() override { events().push_back("delete " + name_); }

private:
    std::string name_;
};

class WindowLife : public ::testing::Test {
protected:
    void SetUp() override { events().clear(); }
    ErrorRecorder errors;
};

TEST_F(WindowLife, CreateUsesTheStoredSettings) {
    RecordingWindow window;
    makeHidden(window, 320, 240);
    window.setText("Schach");
    window.setId(0);
    ASSERT_EQ(window.create(nullptr), 0);
    EXPECT_TRUE(window.hasLiveHandle());
    EXPECT_EQ(window.getText(), "Schach");
    EXPECT_EQ(window.getCurrentSize().width, 320);
    EXPECT_EQ(window.getWindowClassName(), "winlib_OVERLAPPED_WINDOW");
    EXPECT_FALSE(window.isVisible());

    // OEM text is shown in the Windows code page: "ä" is 0x84 in OEM, 0xE4 in Windows.
    vek::STRING oem("W\x84hle");
    oem.setCharset(vek::csOEM);
    window.setText(oem);
    EXPECT_EQ(window.getText(), "W\xE4hle");

    Label label(&window);
    label.setText("Tiefe:");
    label.setSize(0, 0);
    ASSERT_EQ(label.create(&window), 0);
    EXPECT_TRUE(label.isAutoWidth());
    EXPECT_GT(label.getCurrentSize().width, 10);
    EXPECT_EQ(window.getChildren().getCount(), 1u);
    EXPECT_EQ(window.findChild(label.getHandle()), &label);
}

TEST_F(WindowLife, ChildWindowsGetTheStockFontAndControlsInheritIt) {
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    FrameChild frame(&window);
    ASSERT_EQ(frame.create(&window), 0);
    EXPECT_EQ(frame.getFont().get(), GetStockObject(ANSI_VAR_FONT));
    Label label(&frame);
    ASSERT_EQ(label.create(&frame), 0);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(label.getHandle(), WM_GETFONT, 0, 0)),
              GetStockObject(ANSI_VAR_FONT));
    EXPECT_EQ(label.getFont().get(), GetStockObject(ANSI_VAR_FONT));
    EXPECT_EQ(frame.getWindowClassName(), "FrameChild");
    EXPECT_NE(GetWindowLongPtrA(frame.getHandle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
}

TEST_F(WindowLife, CloseClosesChildrenLastCreatedFirstThenDestroysTheWindow) {
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    auto* first = new NotingChild(&window, "first");
    auto* second = new NotingLabel(&window, "second");
    auto* third = new NotingChild(&window, "third");
    ASSERT_EQ(first->create(&window), 0);
    ASSERT_EQ(second->create(&window), 0);
    ASSERT_EQ(third->create(&window), 0);

    SendMessageA(window.getHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(events(), (std::vector<std::string>{"destroy third", "delete third", "delete second",
                                                  "destroy first", "delete first"}));
    EXPECT_TRUE(window.getChildren().isEmpty());
    EXPECT_TRUE(window.logged("destroy"));
    EXPECT_FALSE(window.hasLiveHandle());
    EXPECT_EQ(window.getHandle(), destroyedHandle());
    // The object stays until its creator deletes it.
    EXPECT_EQ(CallbackWindow::findWindow(window.getHandle()), nullptr);
}

TEST_F(WindowLife, ARefusingChildKeepsTheWindowOpen) {
    struct Refusing : ChildWindow {
        using ChildWindow::ChildWindow;
        bool canClose() override { return false; }
    };
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    auto* child = new Refusing(&window);
    ASSERT_EQ(child->create(&window), 0);
    SendMessageA(window.getHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.hasLiveHandle());
    EXPECT_TRUE(child->hasLiveHandle());
}

TEST_F(WindowLife, OwnerDeletesOwnedWindowsInOrder) {
    auto* owner = new RecordingWindow;
    makeHidden(*owner);
    ASSERT_EQ(owner->create(nullptr), 0);
    new NotingChild(owner, "a");  // never created
    auto* b = new NotingChild(owner, "b");
    ASSERT_EQ(b->create(owner), 0);
    const HWND childHandle = b->getHandle();
    const HWND ownerHandle = owner->getHandle();
    delete owner;
    EXPECT_EQ(events(), (std::vector<std::string>{"destroy b", "delete a", "delete b"}));
    EXPECT_FALSE(IsWindow(ownerHandle));
    EXPECT_FALSE(IsWindow(childHandle));
}

// A child that closes itself from inside its own handler.
class SelfClosing : public ChildWindow {
public:
    explicit SelfClosing(BasicWindow* owner) : ChildWindow(owner) {}
    ~SelfClosing() override { events().push_back("delete"); }
    ProcessStatus handleCommand(int) override {
        close();
        // Still alive after its window is gone: the object goes only when this handler has returned.
        events().push_back(hasLiveHandle() ? "live" : "gone");
        events().push_back(getParent() != nullptr ? "has parent" : "no parent");
        return psPROCESSED;
    }
    ProcessStatus handleDestroy() override {
        events().push_back("destroy");
        return psPROCESSED;
    }
};

TEST_F(WindowLife, AWindowDestroyedInItsOwnHandlerIsDeletedAfterIt) {
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    auto* child = new SelfClosing(&window);
    ASSERT_EQ(child->create(&window), 0);
    const HWND handle = child->getHandle();
    EXPECT_EQ(SendMessageA(handle, WM_COMMAND, 5, 0), 0);
    EXPECT_EQ(events(), (std::vector<std::string>{"destroy", "live", "has parent", "delete"}));
    EXPECT_TRUE(window.getChildren().isEmpty());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(ErrorRecorder::reports().empty());
}

TEST_F(WindowLife, ControlsCloseAndAreRemovedByTheirParent) {
    RecordingWindow window;
    makeHidden(window);
    ASSERT_EQ(window.create(nullptr), 0);
    auto* label = new NotingLabel(&window, "label");
    EXPECT_EQ(label->close(), 0);  // no window yet: nothing to do
    ASSERT_EQ(label->create(&window), 0);
    const HWND handle = label->getHandle();
    EXPECT_EQ(label->close(), 0);
    EXPECT_EQ(events(), std::vector<std::string>{"delete label"});
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(window.getChildren().isEmpty());
}

// An error that escapes a handler of the running main window is shown in a box that window owns.
TEST_F(WindowLife, RunEndsWhenTheMainWindowIsClosed) {
    constexpr UINT kThrow = WM_APP + 7;
    class ThrowingWindow : public RecordingWindow {
        ProcessStatus handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == kThrow)
                throw vek::LibraryException("probe");
            return RecordingWindow::handleMessage(message, wParam, lParam);
        }
    };
    class ClosingApplication : public TestApplication {
    public:
        CallbackWindow* createMainWindow(const char*, int) override {
            auto* window = new ThrowingWindow;
            makeHidden(*window);
            if (window->create(nullptr) != 0) {
                delete window;
                return nullptr;
            }
            handle = window->getHandle();
            new NotingChild(window, "panel");
            PostMessageA(handle, kThrow, 0, 0);
            PostMessageA(handle, WM_CLOSE, 0, 0);
            return window;
        }
        HWND handle = nullptr;
        void deleteMainWindow(CallbackWindow* window) override {
            deleted = window;
            delete window;
        }
        CallbackWindow* deleted = nullptr;
    } application;
    LoopWatchdog watchdog;
    EXPECT_EQ(application.run(GetModuleHandleA(nullptr), "", SW_HIDE), 0);
    EXPECT_FALSE(watchdog.fired());
    EXPECT_NE(application.deleted, nullptr);
    EXPECT_EQ(application.getMainWindow(), nullptr);
    EXPECT_EQ(events(), std::vector<std::string>{"delete panel"});
    ASSERT_EQ(ErrorRecorder::messages().size(), 1u);
    EXPECT_EQ(ErrorRecorder::messages()[0].text, "probe");
    EXPECT_EQ(ErrorRecorder::messages()[0].owner, application.handle);

    Application refusing;
    EXPECT_EQ(refusing.run(GetModuleHandleA(nullptr), "", SW_HIDE), 1);  // no main window
}

}  // namespace
}  // namespace winlib::test
