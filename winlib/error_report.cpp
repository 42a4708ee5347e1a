// The replaceable report of messages for the user.
#include "winlib/error_report.h"

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

void showMessage(const UserMessage& message) { currentReporter(message); }

}  // namespace winlib
