// The controls' typed operations on real system controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_window.h"
#include "window_test_support.h"
#include "winlib/controls.h"

namespace winlib::test {
namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        makeHidden(window, 400, 400);
        ASSERT_EQ(window.create(nullptr), 0);
    }
    ErrorRecorder errors;
    RecordingWindow window;
};

TEST_F(Controls, ListBoxEntryOperations) {
    ListBox list(&window);
    list.move(0, 0, 150, 100);
    ASSERT_EQ(list.create(&window), 0);
    EXPECT_EQ(list.getCount(), 0);
    list.addEntry("1. e2-e4");
    list.addEntry("   e7-e5");
    vek::STRING oem("Stra\xE1");  // "ß" in the OEM code page
    oem.setCharset(vek::csOEM);
    list.addEntry(oem);
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_EQ(list.getEntry(1), "   e7-e5");
    EXPECT_EQ(list.getEntry(2), "Stra\xDF");
    EXPECT_EQ(list.getEntry(7), "");  // no such entry
    EXPECT_EQ(list.getEntry(-1), "");
    list.replaceEntry(0, "1. d2-d4");
    EXPECT_EQ(list.getEntry(0), "1. d2-d4");
    EXPECT_EQ(list.getCount(), 3);
    list.replaceEntry(9, "nothing");
    EXPECT_EQ(list.getCount(), 3);
    list.setUserValue(4);
    EXPECT_EQ(list.getUserValue(), 4);
    list.clearEntries();
    EXPECT_EQ(list.getCount(), 0);
}

// The rows a list box shows whole: its client area, not its window, holds them.
int wholeRows(const ListBox& list, int itemHeight) {
    RECT client{};
    GetClientRect(list.getHandle(), &client);
    return (client.bottom - client.top) / itemHeight;
}

TEST_F(Controls, EnsureVisibleScrollsAsLittleAsPossible) {
    ListBox list(&window);
    ASSERT_EQ(list.create(&window), 0);
    for (int i = 0; i < 60; ++i)
        list.addEntry(vek::STRING::fromNumber(i));
    const auto itemHeight = static_cast<int>(SendMessageA(list.getHandle(), LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(itemHeight, 0);
    list.setSize(150, itemHeight * 10);
    const int visible = wholeRows(list, itemHeight);
    ASSERT_GT(visible, 1);

    list.ensureVisible(5);  // inside the range: nothing scrolls
    EXPECT_EQ(list.getTopIndex(), 0);
    list.ensureVisible(40);  // below: becomes the last visible one
    EXPECT_EQ(list.getTopIndex(), 40 - visible + 1);
    list.ensureVisible(40 - visible + 1);
    EXPECT_EQ(list.getTopIndex(), 40 - visible + 1);
    list.ensureVisible(3);  // above: becomes the top
    EXPECT_EQ(list.getTopIndex(), 3);
}

// The move list's use: after each new line, the newest must be in view, whatever the height
// of the box, with its border and its horizontal scroll bar.
TEST_F(Controls, TheNewestEntryStaysVisibleInABoxOfAnyHeight) {
    for (const int height : {8, 20, 33, 100, 300}) {
        ListBox list(&window);
        list.setStyle(list.getStyle() | WS_HSCROLL | WS_BORDER);
        ASSERT_EQ(list.create(&window), 0);
        SendMessageA(list.getHandle(), LB_SETHORIZONTALEXTENT, 1000, 0);  // the scroll bar shows
        list.setSize(150, height);
        const auto itemHeight = static_cast<int>(SendMessageA(list.getHandle(), LB_GETITEMHEIGHT, 0, 0));
        ASSERT_GT(itemHeight, 0);
        const int visible = std::max(wholeRows(list, itemHeight), 1);
        for (int i = 0; i < 40; ++i) {
            list.addEntry(vek::STRING::fromNumber(i));
            list.ensureVisible(list.getCount() - 1);
            const int top = list.getTopIndex();
            EXPECT_LE(top, i) << "height " << height << ", entry " << i;
            EXPECT_LT(i, top + visible) << "height " << height << ", entry " << i;
        }
    }
}

// The width of the label's text in the font it shows it in.
int shownTextWidth(const Label& label) {
    const HDC dc = GetDC(label.getHandle());
    const HGDIOBJ previous = SelectObject(dc, label.getFont().get());
    const vek::STRING text = label.getText();
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.getText(), static_cast<int>(text.getLength()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(label.getHandle(), dc);
    return extent.cx;
}

TEST_F(Controls, ALabelFitsALongTextIntoItsRoomAndAShortOneInItsOwnFont) {
    window.setFont(SharedFont::stock(ANSI_VAR_FONT));
    Label label(&window);
    label.move(10, 10, 50, 16);
    ASSERT_EQ(label.create(&window), 0);
    const LOGFONTA own = label.getFont().getDescription();

    label.setText("Schwarz (Zarvo) gewinnt durch Schachmatt");
    label.fitText(150);
    EXPECT_LE(label.getCurrentSize().width, 150);
    EXPECT_GT(label.getCurrentSize().width, 100) << "condensed no more than needed";
    EXPECT_LE(shownTextWidth(label), label.getCurrentSize().width) << "the text is cut off";
    EXPECT_EQ(label.getFont().getDescription().lfHeight, own.lfHeight);

    label.setText("0 Schach");
    label.fitText(150);
    EXPECT_STREQ(label.getFont().getDescription().lfFaceName, own.lfFaceName);
    EXPECT_EQ(label.getFont().getDescription().lfWidth, own.lfWidth) << "a short text in the label's own font";
    EXPECT_EQ(label.getCurrentSize().width, label.measureText().width);
}

TEST_F(Controls, DateTimePickerShowsElapsedTimeAsTimeOfDay) {
    DateTimePicker picker(&window);
    picker.setStyle(picker.getStyle() | DTS_TIMEFORMAT);
    picker.move(0, 0, 120, 24);
    ASSERT_EQ(picker.create(&window), 0);
    picker.setTime(3723000);
    SYSTEMTIME time{};
    ASSERT_EQ(SendMessageA(picker.getHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)), GDT_VALID);
    EXPECT_EQ(time.wYear, 1970);
    EXPECT_EQ(time.wMonth, 1);
    EXPECT_EQ(time.wDay, 1);
    EXPECT_EQ(time.wHour, 1);
    EXPECT_EQ(time.wMinute, 2);
    EXPECT_EQ(time.wSecond, 3);
    picker.setTime(25 * 3600000LL + 59000);  // hours wrap at a day
    SendMessageA(picker.getHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    EXPECT_EQ(time.wHour, 1);
    EXPECT_EQ(time.wMinute, 0);
    EXPECT_EQ(time.wSecond, 59);
}

TEST_F(Controls, CheckStateOfRadioButtonsAndCheckBoxes) {
    RadioButton white(&window);
    white.setStyle(white.getStyle() | WS_GROUP);
    RadioButton black(&window);
    CheckBox box(&window);
    ASSERT_EQ(white.create(&window), 0);
    ASSERT_EQ(black.create(&window), 0);
    ASSERT_EQ(box.create(&window), 0);
    EXPECT_EQ(GetWindowLongPtrA(black.getHandle(), GWL_STYLE) & 0xF, BS_AUTORADIOBUTTON);
    white.setChecked(true);
    EXPECT_TRUE(white.isChecked());
    EXPECT_FALSE(black.isChecked());
    white.setChecked(false);
    black.setChecked(true);
    EXPECT_FALSE(white.isChecked());
    EXPECT_TRUE(black.isChecked());
    EXPECT_FALSE(box.isChecked());
    box.setChecked(true);
    EXPECT_TRUE(box.isChecked());
}

TEST_F(Controls, SystemClassesAndStyles) {
    EditControl edit(&window);
    MemoControl memo(&window);
    ComboBox combo(&window);
    TreeView tree(&window);
    TrackBar track(&window);
    UpDownButton upDown(&window);
    ScrollBar bar(&window);
    GroupBox group(&window);
    for (ControlWindow* control : std::initializer_list<ControlWindow*>{&edit, &memo, &combo, &tree, &track,
                                                                         &upDown, &bar, &group}) {
        control->move(0, 0, 80, 80);
        EXPECT_EQ(control->create(&window), 0) << control->getWindowClassName().getText();
    }
    EXPECT_EQ(edit.getStyle(), 0x50010000u | 0x800180u);
    EXPECT_EQ(memo.getStyle(), 0x50010000u | 0x800180u | 0x301044u);
    EXPECT_EQ(SendMessageA(memo.getHandle(), EM_GETLIMITTEXT, 0, 0) >= 0x7FFFFFFE, true);
    EXPECT_EQ(combo.getStyle(), 0x50010403u);
    combo.addEntry("Dame");
    EXPECT_EQ(SendMessageA(combo.getHandle(), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(tree.getWindowClassName(), "SysTreeView32");
    EXPECT_EQ(edit.getCurrentStyle() & WS_CHILD, static_cast<DWORD>(WS_CHILD));
}

TEST_F(Controls, SubclassedEditKeepsTheIndentation) {
    MemoControl memo(&window);
    memo.move(0, 0, 200, 200);
    memo.subclass();  // pending until the window exists
    ASSERT_EQ(memo.create(&window), 0);
    EXPECT_TRUE(memo.isSubclassed());
    memo.setText("  \tif");
    SendMessageA(memo.getHandle(), EM_SETSEL, 5, 5);
    SendMessageA(memo.getHandle(), WM_CHAR, '\r', 1);
    SendMessageA(memo.getHandle(), WM_CHAR, 'x', 1);
    EXPECT_EQ(memo.getText(), "  \tif\r\n  \tx");
}

TEST_F(Controls, ContextMenuCommandGoesToTheParent) {
    Label label(&window);
    ASSERT_EQ(label.create(&window), 0);
    label.subclass();
    // Without a menu a right click is the control's own business.
    window.log.clear();
    SendMessageA(label.getHandle(), WM_RBUTTONDOWN, 0, 0);
    EXPECT_TRUE(window.log.empty());
}

}  // namespace
}  // namespace winlib::test
