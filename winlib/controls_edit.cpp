// Edit controls: the indentation-keeping procedure of subclassed edits and the memo's word breaks.
#include <cstring>
#include <cwchar>

#include "winlib/controls.h"

namespace winlib {

namespace {

constexpr DWORD kEditStyle = WS_BORDER | ES_NOHIDESEL | ES_AUTOHSCROLL;
constexpr DWORD kMemoStyle = WS_VSCROLL | WS_HSCROLL | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
constexpr wchar_t kWordDelimiters[] = L" \t\n\r+-*/=<>%(){}[].,:;?!|";

bool isDelimiter(wchar_t c) { return c != L'\0' && std::wcschr(kWordDelimiters, c) != nullptr; }

// The memo's word breaks: words end at blanks, operators and punctuation. The edit is a
// Unicode window, so it hands over its text in UTF-16.
int CALLBACK memoWordBreak(LPWSTR text, int current, int length, int action) {
    switch (action) {
    case WB_ISDELIMITER:
        return current < length && isDelimiter(text[current]) ? TRUE : FALSE;
    case WB_LEFT:
        while (current > 0 && isDelimiter(text[current - 1]))
            --current;
        while (current > 0 && !isDelimiter(text[current - 1]))
            --current;
        return current;
    case WB_RIGHT:
        while (current < length && !isDelimiter(text[current]))
            ++current;
        while (current < length && isDelimiter(text[current]))
            ++current;
        return current;
    default:
        return 0;
    }
}

}  // namespace

EDIT::EDIT(BasicWindow* owner) : ControlWindow(owner) { setStyle(getStyle() | kEditStyle); }

vek::STRING EDIT::getWindowClassName() const { return "EDIT"; }

vek::STRING EDIT::currentIndentation() const {
    const HWND edit = getHandle();
    DWORD caret = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const LRESULT line = SendMessageA(edit, EM_LINEFROMCHAR, caret, 0);
    const LRESULT lineStart = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    const LRESULT lineLength = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(lineStart), 0);
    const LRESULT before = static_cast<LRESULT>(caret) - lineStart;
    if (lineStart < 0 || lineLength <= 0 || before <= 0)
        return vek::STRING();
    // EM_GETLINE reads the buffer's size from its first word.
    vek::STRING text;
    text.setLength(static_cast<std::size_t>(lineLength) + sizeof(WORD));
    char* buffer = text.getBuffer();
    if (buffer == nullptr)
        return vek::STRING();
    const auto size = static_cast<WORD>(lineLength);
    std::memcpy(buffer, &size, sizeof size);
    const LRESULT copied = SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
    const LRESULT considered = copied < before ? copied : before;
    std::size_t blanks = 0;
    while (static_cast<LRESULT>(blanks) < considered && (buffer[blanks] == ' ' || buffer[blanks] == '\t'))
        ++blanks;
    return text.leftString(blanks);
}

LRESULT EDIT::controlWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CHAR || (wParam != '\r' && wParam != '\n'))
        return ControlWindow::controlWindowProc(message, wParam, lParam);
    const vek::STRING indentation = currentIndentation();
    const LRESULT result = callPreviousProc(message, wParam, lParam);
    for (std::size_t i = 0; i < indentation.getLength(); ++i)
        callPreviousProc(WM_CHAR, static_cast<unsigned char>(indentation[i]), lParam);
    return result;
}

EditControl::EditControl(BasicWindow* owner) : EDIT(owner) {}

MemoControl::MemoControl(BasicWindow* owner) : EDIT(owner) { setStyle(getStyle() | kMemoStyle); }

int MemoControl::create(BasicWindow* parent) {
    if (EDIT::create(parent) != 0)
        return 1;
    SendMessageA(getHandle(), EM_LIMITTEXT, 0, 0);
    SendMessageA(getHandle(), EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(memoWordBreak));
    return 0;
}

}  // namespace winlib
