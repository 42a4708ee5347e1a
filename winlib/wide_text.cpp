#include "winlib/wide_text.h"

#include "foundation/code_pages.h"
#include "foundation/platform.h"

namespace winlib {

namespace {
std::wstring wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

std::wstring wideText(const vek::STRING& text) { return wide(vek::toUtf16(text)); }

std::wstring wideFromUtf8(const char* text) {
    vek::STRING utf8(text != nullptr ? text : "");
    utf8.setCharset(vek::csUTF8);
    return wideText(utf8);
}

vek::STRING fromWide(const wchar_t* text, std::size_t length) {
    return vek::fromUtf16(std::u16string(text, text + length));
}

vek::STRING fromWide(const std::wstring& text) { return fromWide(text.data(), text.size()); }

std::wstring widePath(const vek::STRING& path) { return wide(vek::systemPath(path)); }

}  // namespace winlib
