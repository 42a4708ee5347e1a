// The platform functions: a Win32 body and a POSIX body for each (see platform.h).
#include "foundation/platform.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <sys/syscall.h>
#endif

#include <cstdlib>

#include "foundation/code_pages.h"

namespace vek {

#ifdef _WIN32

std::uint32_t currentThreadId() { return static_cast<std::uint32_t>(GetCurrentThreadId()); }

std::int64_t tickMilliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

namespace {

std::wstring wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// Below this length a path needs no prefix (MAX_PATH less room for a file name of 8.3 form).
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

}  // namespace

std::u16string systemPath(const STRING& path) {
    const std::u16string given = toUtf16(path);
    if (given.size() < kPlainPathLimit || given.rfind(u"\\\\?\\", 0) == 0)
        return given;
    const std::wstring name = wide(given);
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return given;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return given;
    full.resize(length);
    // "\\server\share\..." becomes "\\?\UNC\server\share\...".
    const bool unc = full.rfind(L"\\\\", 0) == 0;
    const std::wstring prefixed = unc ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
    return std::u16string(prefixed.begin(), prefixed.end());
}

std::FILE* openFile(const STRING& path, const char* mode) {
    return _wfopen(wide(systemPath(path)).c_str(), wide(mode).c_str());
}

bool removeFile(const STRING& path) { return DeleteFileW(wide(systemPath(path)).c_str()) != 0; }

bool isDirectory(const STRING& path) {
    const DWORD attributes = GetFileAttributesW(wide(systemPath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<STRING> environmentVariable(const char* name) {
    const std::wstring variable = wide(name);
    SetLastError(ERROR_SUCCESS);
    const DWORD needed = GetEnvironmentVariableW(variable.c_str(), nullptr, 0);
    if (needed == 0)
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<STRING>(STRING());
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(variable.c_str(), buffer.data(), needed);
    if (length >= needed)  // changed between the two calls
        return std::nullopt;
    return fromUtf16(std::u16string(buffer.begin(), buffer.begin() + length));
}

#else

std::uint32_t currentThreadId() {
    thread_local std::uint32_t id = static_cast<std::uint32_t>(::syscall(SYS_gettid));
    return id;
}

std::int64_t tickMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::u16string systemPath(const STRING& path) { return toUtf16(path); }

namespace {
// File names are UTF-8 here.
STRING utf8Name(const STRING& path) { return path.convertToCharset(csUTF8); }
}  // namespace

std::FILE* openFile(const STRING& path, const char* mode) { return std::fopen(utf8Name(path).getText(), mode); }

bool removeFile(const STRING& path) { return std::remove(utf8Name(path).getText()) == 0; }

bool isDirectory(const STRING& path) {
    struct stat status {};
    return ::stat(utf8Name(path).getText(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<STRING> environmentVariable(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): nobody sets variables
    if (value == nullptr)
        return std::nullopt;
    STRING text(value);
    if (text.getCharset() == csWINDOWS)
        text.setCharset(csUTF8);
    return text;
}

#endif

}  // namespace vek
