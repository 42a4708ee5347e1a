// The replaceable report of exceptions that escaped a handler.
#include "winlib/error_report.h"

#include <windows.h>

namespace winlib {

namespace {

void showErrorBox(const char* text) { MessageBoxA(nullptr, text, "Error", MB_ICONERROR); }

ErrorReporter currentReporter = showErrorBox;

}  // namespace

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    const ErrorReporter previous = currentReporter;
    currentReporter = reporter != nullptr ? reporter : showErrorBox;
    return previous;
}

void reportError(const char* text) { currentReporter(text != nullptr ? text : "Unknown error"); }

}  // namespace winlib
