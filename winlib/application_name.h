#pragma once
// Deriving a program's name from its file path (portable).

#include "foundation/string.h"

namespace winlib {

// The base name of a program path: the text after the last '\' (or '/'), cut at the last '.'
// of that base name; "C:\games\chess.exe" gives "chess".
vek::STRING applicationNameFromPath(const vek::STRING& path);

// The directory part of a path including its last '\' (or '/'); "" when there is none.
vek::STRING directoryOfPath(const vek::STRING& path);

}  // namespace winlib
