#pragma once
// The one setting the program keeps between runs: the search depth, a REG_DWORD value under
// SOFTWARE\<vendor>\<application> of the current user, read with a fallback to the machine-wide
// key. No failure is reported: reading falls back to the default, storing fails silently.
// Safe from any thread (each call opens and closes its own keys).

#include <windows.h>

#include <cstdint>

#include "foundation/string.h"

// The REG_DWORD value valueName under SOFTWARE\vendor\application[\subKey] of the current user,
// else (or with machineWide set, at once) of the local machine, else defaultValue. A value of
// another type or without data counts as absent; reading never creates a key.
std::int32_t readRegistryInt(const vek::STRING& vendor, const vek::STRING& application, const vek::STRING& subKey,
                             const char* valueName, std::int32_t defaultValue, bool machineWide = false);

// Stores depth as the value "depth" under SOFTWARE\vendor\application of the current user,
// creating the keys as needed. Answers the result of closing the SOFTWARE key.
LONG storeDepth(const vek::STRING& vendor, const vek::STRING& application, std::int32_t depth);
