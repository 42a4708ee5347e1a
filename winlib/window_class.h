#pragma once
// Registration of the framework's window classes, once per class name and process.

#include <windows.h>

#include "foundation/string.h"

namespace winlib {

// Registers className with the framework's window procedure (CS_GLOBALCLASS, the application
// icon, the arrow cursor, the given background) unless it is registered already.
// Throws vek::LibraryException when the system refuses it.
void registerWindowClass(const vek::STRING& className, HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

}  // namespace winlib
