#include "app/single_run.h"

#include <cstdio>

namespace chessapp {
namespace {

constexpr DWORD kPollMs = 100;

// A name for the folder that object names allow (no backslash) and that does not depend on how
// the path was written: the full path, in lower case, hashed (64-bit FNV-1a).
vek::STRING blockNameFor(const vek::STRING& folder) {
    char full[MAX_PATH * 4] = {};
    DWORD length = GetFullPathNameA(folder.getText(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        length = static_cast<DWORD>(std::snprintf(full, sizeof full, "%s", folder.getText()));
    CharLowerBuffA(full, length);
    std::uint64_t hash = 14695981039346656037ull;
    for (DWORD i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(full[i]);
        hash *= 1099511628211ull;
    }
    char name[64] = {};
    std::snprintf(name, sizeof name, "Local\\vek.chess.%016llx", static_cast<unsigned long long>(hash));
    return vek::STRING(name);
}

}  // namespace

SingleRun::SingleRun(const vek::STRING& gameFolder) {
    SetLastError(ERROR_SUCCESS);
    block_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG64),
                                blockNameFor(gameFolder).getText());
    // A block that cannot be made claims nothing: better two runs than none.
    if (block_ == nullptr)
        return;
    first_ = GetLastError() != ERROR_ALREADY_EXISTS;
    window_ = static_cast<volatile LONG64*>(MapViewOfFile(block_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG64)));
}

SingleRun::~SingleRun() {
    if (window_ != nullptr)
        UnmapViewOfFile(const_cast<LONG64*>(window_));
    if (block_ != nullptr)
        CloseHandle(block_);
}

void SingleRun::publishWindow(HWND window) const {
    if (first_ && window_ != nullptr)
        InterlockedExchange64(window_, static_cast<LONG64>(reinterpret_cast<INT_PTR>(window)));
}

bool SingleRun::activateFirst(std::uint32_t waitMs) const {
    if (window_ == nullptr)
        return false;
    const ULONGLONG start = GetTickCount64();
    HWND window = nullptr;
    while ((window = reinterpret_cast<HWND>(static_cast<INT_PTR>(InterlockedCompareExchange64(window_, 0, 0)))) ==
               nullptr ||
           !IsWindow(window)) {
        if (GetTickCount64() - start >= waitMs)
            return false;
        Sleep(kPollMs);
    }
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}

}  // namespace chessapp
