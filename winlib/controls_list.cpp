// List boxes, combo boxes and the date-time picker.
#include "winlib/controls.h"

#include <commctrl.h>

#include <algorithm>

#include "winlib/clock_time.h"
#include "winlib/wide_text.h"

namespace winlib {

ListBox::ListBox(BasicWindow* owner) : ControlWindow(owner) {
    setStyle(getStyle() | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY);
}

vek::STRING ListBox::getWindowClassName() const { return "ListBox"; }

void ListBox::addEntry(const vek::STRING& text) {
    const std::wstring shown = wideText(text);
    SendMessageW(getHandle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

vek::STRING ListBox::getEntry(int index) const {
    const LRESULT length = SendMessageW(getHandle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)  // LB_ERR for an index the list does not have
        return vek::STRING();
    // LB_GETTEXT writes the terminating zero too.
    std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(getHandle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
    return fromWide(entry.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void ListBox::replaceEntry(int index, const vek::STRING& text) {
    if (SendMessageA(getHandle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR)
        return;
    const std::wstring shown = wideText(text);
    SendMessageW(getHandle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown.c_str()));
}

int ListBox::getCount() const {
    const LRESULT count = hasLiveHandle() ? SendMessageA(getHandle(), LB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

void ListBox::clearEntries() { SendMessageA(getHandle(), LB_RESETCONTENT, 0, 0); }

int ListBox::getTopIndex() const { return static_cast<int>(SendMessageA(getHandle(), LB_GETTOPINDEX, 0, 0)); }

void ListBox::ensureVisible(int index) {
    if (!hasLiveHandle())
        return;
    const int top = getTopIndex();
    if (index < top) {
        SendMessageA(getHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        return;
    }
    const auto itemHeight = static_cast<int>(SendMessageA(getHandle(), LB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0)
        return;
    // Whole rows inside the client area: the border and a horizontal scroll bar hide the rest
    // of the window's height. A box lower than one row still shows the entry at its top.
    const int visible = std::max(getClientSize().height / itemHeight, 1);
    if (index < top + visible)
        return;
    SendMessageA(getHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(index - visible + 1), 0);
}

ComboBox::ComboBox(BasicWindow* owner) : ControlWindow(owner) {
    setStyle(getStyle() | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT);
}

vek::STRING ComboBox::getWindowClassName() const { return "ComboBox"; }

void ComboBox::addEntry(const vek::STRING& text) {
    const std::wstring shown = wideText(text);
    SendMessageW(getHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

DateTimePicker::DateTimePicker(BasicWindow* owner) : ControlWindow(owner) {}

vek::STRING DateTimePicker::getWindowClassName() const { return DATETIMEPICK_CLASSA; }

void DateTimePicker::setTime(std::int64_t elapsedMs) {
    const ClockTime shown = clockTime(elapsedMs);
    SYSTEMTIME time{};
    time.wYear = 1970;
    time.wMonth = 1;
    time.wDay = 1;
    time.wDayOfWeek = 4;  // a Thursday
    time.wHour = static_cast<WORD>(shown.hour);
    time.wMinute = static_cast<WORD>(shown.minute);
    time.wSecond = static_cast<WORD>(shown.second);
    SendMessageA(getHandle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void DateTimePicker::setFormat(const vek::STRING& format) {
    const std::wstring shown = wideText(format);
    SendMessageW(getHandle(), DTM_SETFORMATW, 0, format.isEmpty() ? 0 : reinterpret_cast<LPARAM>(shown.c_str()));
}

}  // namespace winlib
