// The replaceable report of messages for the user.
#include "winlib/error_report.h"

#include "winlib/application.h"
#include "winlib/callback_window.h"
#include "winlib/wide_text.h"

namespace winlib {

namespace {

void showMessageBox(const UserMessage& message) {
    MessageBoxW(message.owner, wideFromUtf8(message.text).c_str(), wideFromUtf8(message.caption).c_str(), message.style);
}

ErrorReporter currentReporter = showMessageBox;

}  // namespace

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    const ErrorReporter previous = currentReporter;
    currentReporter = reporter != nullptr ? reporter : showMessageBox;
    return previous;
}

void reportError(const char* text) {
    showMessage(UserMessage{nullptr, text != nullptr ? text : "Unknown error", "Error", MB_ICONERROR});
}

void showMessage(const UserMessage& message) {
    // Once the main window exists it owns every message: the box stays in front of it and
    // blocks it, and the window's focused control gets the focus back afterwards.
    UserMessage owned = message;
    if (owned.owner == nullptr) {
        const Application* application = Application::getInstance();
        const CallbackWindow* main = application != nullptr ? application->getMainWindow() : nullptr;
        if (main != nullptr && main->hasLiveHandle())
            owned.owner = main->getHandle();
    }
    if (CallbackWindow* owner = CallbackWindow::findWindow(owned.owner))
        owner->rememberFocus();
    currentReporter(owned);
}

}  // namespace winlib
