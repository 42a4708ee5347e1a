#pragma once
// The few needs of the foundation that differ between Windows and POSIX systems, each behind one
// small function. platform.cpp is the only file with a Win32 and a POSIX body.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "foundation/string.h"

namespace vek {

// The operating system's id of the calling thread (GetCurrentThreadId on Windows, gettid on
// Linux). Cheap: the POSIX body caches it per thread.
std::uint32_t currentThreadId();

// A millisecond tick of a monotonic clock, like the C run-time clock() of Windows: only the
// difference of two ticks means something (GetTickCount64 on Windows, CLOCK_MONOTONIC elsewhere).
std::int64_t tickMilliseconds();

// The file functions for names of any length and any characters. Windows: the wide calls, with
// the name in UTF-16, made absolute and given the "\\?\" prefix when it is too long for the
// plain form (systemPath); elsewhere the name in UTF-8.
std::u16string systemPath(const STRING& path);
// fopen; errno tells why it failed.
std::FILE* openFile(const STRING& path, const char* mode);
bool removeFile(const STRING& path);
bool isDirectory(const STRING& path);

// The value of an environment variable, none when it is not set; read as UTF-16 on Windows
// (GetEnvironmentVariableW), so that a user name such as "Łukasz" keeps its letters.
std::optional<STRING> environmentVariable(const char* name);

}  // namespace vek
