#pragma once
// Where texts cross between STRING and Windows: the framework hands every text to Windows in
// UTF-16 through the wide (...W) functions, read in the code page of the STRING's tag (1252 for
// Windows text, 850 for OEM text, or UTF-8; foundation/code_pages.h), and takes every text from
// Windows back with fromWide, which loses nothing. So the window shows the same letters under
// every system code page.

#include <cstddef>
#include <string>

#include "foundation/string.h"

namespace winlib {

std::wstring wideText(const vek::STRING& text);
// A zero-terminated text in UTF-8 (a byte that is no UTF-8 counts as code page 1252, so that
// texts of either kind show right).
std::wstring wideFromUtf8(const char* text);
// A text from Windows: code page 1252 when it has every character, else UTF-8 (csWIDE).
vek::STRING fromWide(const wchar_t* text, std::size_t length);
vek::STRING fromWide(const std::wstring& text);
// A file or folder name as the wide file functions take it, "\\?\" prefixed when it is long
// (vek::systemPath).
std::wstring widePath(const vek::STRING& path);

}  // namespace winlib
