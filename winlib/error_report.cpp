// The replaceable report of messages for the user.
#include "winlib/error_report.h"

namespace winlib {

namespace {

void showMessageBox(const UserMessage& message) {
    MessageBoxA(message.owner, message.text, message.caption, message.style);
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
