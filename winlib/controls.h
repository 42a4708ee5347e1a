#pragma once
// The controls of the framework: each class names its system window class and the style bits
// it adds to WS_CHILD | WS_VISIBLE | WS_TABSTOP, and offers a few typed operations.

#include <cstdint>

#include "winlib/control_window.h"

namespace winlib {

class Label : public ControlWindow {  // "STATIC", SS_SIMPLE
public:
    explicit Label(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
    // Makes the label as wide as its text, at most maxWidth: a text too wide for it in the
    // label's own font is set in a narrower one of the same face and height, so that all of it
    // stays readable where the label stands. Call on a live label.
    void fitText(int maxWidth);
    // A new font to fit from (the screen's scaling changed).
    void setBaseFont(const SharedFont& font);
    // A static text takes no focus: a WS_TABSTOP of the definition is dropped.
    int create(BasicWindow* parent) override;

private:
    SharedFont ownFont_;  // the font the label had before its first fit
};

// "Button"; with BS_BITMAP or BS_ICON create loads the image resource with the control's id.
class Button : public ControlWindow {
public:
    explicit Button(BasicWindow* owner);
    ~Button() override;
    vek::STRING getWindowClassName() const override;
    int create(BasicWindow* parent) override;

private:
    HANDLE image_ = nullptr;
    UINT imageType_ = 0;
};

class PushButton : public Button {
public:
    explicit PushButton(BasicWindow* owner);
};

class CheckBox : public Button {  // BS_AUTOCHECKBOX
public:
    explicit CheckBox(BasicWindow* owner);
    bool isChecked() const;            // BM_GETCHECK
    void setChecked(bool checked);     // BM_SETCHECK
};

class RadioButton : public Button {  // BS_AUTORADIOBUTTON
public:
    explicit RadioButton(BasicWindow* owner);
    bool isChecked() const;
    void setChecked(bool checked);
};

class GroupBox : public Button {  // BS_GROUPBOX
public:
    explicit GroupBox(BasicWindow* owner);
};

// "EDIT"; when subclassed, Enter keeps the indentation of the current line.
class EDIT : public ControlWindow {
public:
    explicit EDIT(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
    LRESULT controlWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The blanks and tabs that begin the current line, up to the caret.
    vek::STRING currentIndentation() const;
};

class EditControl : public EDIT {  // single line
public:
    explicit EditControl(BasicWindow* owner);
};

class MemoControl : public EDIT {  // multi-line, scrolling, no length limit
public:
    explicit MemoControl(BasicWindow* owner);
    int create(BasicWindow* parent) override;
};

class ListBox : public ControlWindow {
public:
    explicit ListBox(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;

    void addEntry(const vek::STRING& text);                 // LB_ADDSTRING
    vek::STRING getEntry(int index) const;                   // "" for an index the list lacks
    void replaceEntry(int index, const vek::STRING& text);  // delete, insert at the same index
    int getCount() const;
    void clearEntries();
    // Scrolls as little as possible so that the entry is visible: an entry below the view
    // becomes the last whole row of it.
    void ensureVisible(int index);
    int getTopIndex() const;
    int getUserValue() const { return userValue_; }
    void setUserValue(int value) { userValue_ = value; }

private:
    int userValue_ = 0;
};

class ComboBox : public ControlWindow {  // CBS_DROPDOWNLIST
public:
    explicit ComboBox(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
    void addEntry(const vek::STRING& text);  // CB_ADDSTRING
};

class ScrollBar : public ControlWindow {
public:
    explicit ScrollBar(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
};

class TrackBar : public ControlWindow {
public:
    explicit TrackBar(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
};

class UpDownButton : public ControlWindow {
public:
    explicit UpDownButton(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
};

// "SysTreeView32"; deletes all items when it is destroyed.
class TreeView : public ControlWindow {
public:
    explicit TreeView(BasicWindow* owner);
    ~TreeView() override;
    vek::STRING getWindowClassName() const override;
    int close() override;
};

class DateTimePicker : public ControlWindow {
public:
    explicit DateTimePicker(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;
    // Shows the elapsed time as the time of day on 1 January 1970 (hours modulo 24).
    void setTime(std::int64_t elapsedMs);
    // The display format (DTM_SETFORMATA), e.g. "HH':'mm':'ss"; empty: the locale's format.
    void setFormat(const vek::STRING& format);
};

}  // namespace winlib
