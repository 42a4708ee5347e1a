// The program's name and directory from its path.
#include "winlib/application_name.h"

#include <cstddef>

namespace winlib {

namespace {

// Index just after the last '\' or '/', 0 when there is none.
std::size_t baseNameStart(const vek::STRING& path) {
    const std::ptrdiff_t backslash = path.searchRChar('\\');
    const std::ptrdiff_t slash = path.searchRChar('/');
    const std::ptrdiff_t last = backslash > slash ? backslash : slash;
    return static_cast<std::size_t>(last + 1);
}

}  // namespace

vek::STRING applicationNameFromPath(const vek::STRING& path) {
    const std::size_t start = baseNameStart(path);
    const vek::STRING base = path.subString(start, path.getLength() - start);
    // Only a dot of the base name ends it: "C:\v1.2\chess" is "chess".
    const std::ptrdiff_t dot = base.searchRChar('.');
    return dot < 0 ? base : base.leftString(static_cast<std::size_t>(dot));
}

vek::STRING directoryOfPath(const vek::STRING& path) { return path.leftString(baseNameStart(path)); }

}  // namespace winlib
