#pragma once
// The few needs of the foundation that differ between Windows and POSIX systems, each behind one
// small function. platform.cpp is the only file with a Win32 and a POSIX body.

#include <cstddef>
#include <cstdint>

namespace vek {

// The operating system's id of the calling thread (GetCurrentThreadId on Windows, gettid on
// Linux). Cheap: the POSIX body caches it per thread.
std::uint32_t currentThreadId();

// A millisecond tick of a monotonic clock, like the C run-time clock() of Windows: only the
// difference of two ticks means something (GetTickCount64 on Windows, CLOCK_MONOTONIC elsewhere).
std::int64_t tickMilliseconds();

// Converts length bytes from the OEM code page to the Windows (ANSI) code page and back. Bytes
// below 0x80 stay; from and to may be the same buffer. Windows: the system's OemToCharBuffA and
// CharToOemBuffA; elsewhere a built-in table between the OEM code page 850 and the Windows code
// page 1252 (characters that the other code page lacks become '?').
void oemToAnsi(const char* from, char* to, std::size_t length);
void ansiToOem(const char* from, char* to, std::size_t length);

}  // namespace vek
