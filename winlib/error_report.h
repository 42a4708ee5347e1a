#pragma once
// The one place where an exception that escaped a window handler is reported. The product
// shows a modal "Error" box; tests install a recorder so that no box ever blocks a run.

namespace winlib {

// Receives the exception's text ("Unknown error" for anything that is not a std::exception).
using ErrorReporter = void (*)(const char* text);

// Installs a reporter (null restores the message box); returns the previous one. Main thread only.
ErrorReporter setErrorReporter(ErrorReporter reporter);
// Hands the text to the installed reporter; by default MessageBoxA(NULL, text, "Error", MB_ICONERROR).
void reportError(const char* text);

}  // namespace winlib
