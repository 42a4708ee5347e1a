#pragma once
// The one place where the program tells the user something in a message box: the errors that
// escaped a window handler and the program's own messages. The product shows a modal box; tests
// install a recorder so that no box ever blocks a run.

#include <windows.h>

namespace winlib {

// One message for MessageBoxW; the owner may be none.
struct UserMessage {
    HWND owner;
    const char* text;     // UTF-8 (wideFromUtf8: bytes that are no UTF-8 count as code page 1252)
    const char* caption;  // the same
    UINT style;           // MB_... flags
};

using ErrorReporter = void (*)(const UserMessage& message);

// Installs a reporter (null restores the message box); returns the previous one. Main thread only.
ErrorReporter setErrorReporter(ErrorReporter reporter);
// An error titled "Error" ("Unknown error" for a null text): by default MessageBoxW(main
// window or NULL, text, "Error", MB_ICONERROR).
void reportError(const char* text);
// Any message, through the installed reporter. A message without an owner gets the main window
// as its owner once that exists.
void showMessage(const UserMessage& message);

}  // namespace winlib
