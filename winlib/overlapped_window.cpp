// Top-level windows.
#include "winlib/overlapped_window.h"

#include "winlib/application.h"

namespace winlib {

OverlappedWindow::OverlappedWindow(BasicWindow* owner) : CallbackWindow(owner) {
    setStyle(WS_VISIBLE | WS_OVERLAPPEDWINDOW);
}

vek::STRING OverlappedWindow::getWindowClassName() const {
    Application* application = Application::getInstance();
    const vek::STRING name = application != nullptr ? application->getApplicationName() : vek::STRING("winlib");
    return name + "_OVERLAPPED_WINDOW";
}

}  // namespace winlib
