#include "app/game_file_writer.h"

#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "foundation/platform.h"

namespace chessapp {
namespace {

// The errno value closest to the system's error.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

// Names of any length and with any letters.
std::wstring widePath(const vek::STRING& path) {
    const std::u16string name = vek::systemPath(path);
    return std::wstring(name.begin(), name.end());
}

int flushToDisk(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return FlushFileBuffers(handle) ? 0 : errnoOf(GetLastError());
}

// Write-through: the call returns only once the move has reached the disk.
int moveReplacing(const vek::STRING& from, const vek::STRING& to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : errnoOf(GetLastError());
}

}  // namespace

const DiskSteps& platformDiskSteps() {
    static constexpr DiskSteps steps{flushToDisk, moveReplacing};
    return steps;
}

}  // namespace chessapp
