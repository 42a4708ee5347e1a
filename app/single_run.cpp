#include "app/single_run.h"

#include <cstdio>
#include <string>

#include "winlib/wide_text.h"

namespace chessapp {
namespace {

constexpr DWORD kPollMs = 100;

// A name for the folder that object names allow (no backslash) and that does not depend on how
// the path was written: the full path, in lower case, hashed (64-bit FNV-1a).
vek::STRING blockNameFor(const vek::STRING& folder) {
    std::wstring full = winlib::wideText(folder);
    const DWORD needed = GetFullPathNameW(full.c_str(), 0, nullptr, nullptr);
    std::wstring absolute(needed, L'\0');
    const DWORD length = needed > 0 ? GetFullPathNameW(full.c_str(), needed, absolute.data(), nullptr) : 0;
    if (length > 0 && length < needed)
        full.assign(absolute.data(), length);
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    // Both bytes of each UTF-16 unit, so that every letter of the path counts.
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : full) {
        for (const unsigned byte : {unit & 0xFFu, (unit >> 8) & 0xFFu}) {
            hash ^= byte;
            hash *= 1099511628211ull;
        }
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
