#pragma once
// Where a GUI definition file is looked for (portable: existence is tested by the caller).

#include <functional>

#include "foundation/string.h"

namespace winlib {

// Whether a file or directory of exactly that name exists.
using ExistenceTest = std::function<bool(const vek::STRING& name)>;

// The name resolved against the program path's directory; a name with a drive letter or a
// leading separator is used unchanged.
vek::STRING resolveBesideProgram(const vek::STRING& name, const vek::STRING& programPath);

// The first existing candidate, or "" when none exists. The candidates in search order:
// name.lang.gui in the current directory, then beside the program, then name.gui in the current
// directory, then beside the program. Without a language the first two are skipped.
vek::STRING findGuiFile(const vek::STRING& applicationName, const vek::STRING& language,
                        const vek::STRING& programPath, const ExistenceTest& exists);

}  // namespace winlib
