// The simple controls: labels, buttons, scroll bars, track bars, up-down buttons, tree views.
#include "winlib/controls.h"

#include <commctrl.h>

namespace winlib {

namespace {

void addStyle(BasicWindow& window, DWORD bits) { window.setStyle(window.getStyle() | bits); }

}  // namespace

Label::Label(BasicWindow* owner) : ControlWindow(owner) { addStyle(*this, SS_SIMPLE); }
vek::STRING Label::getWindowClassName() const { return "STATIC"; }

int Label::create(BasicWindow* parent) {
    setStyle(getStyle() & ~static_cast<DWORD>(WS_TABSTOP));
    return ControlWindow::create(parent);
}

void Label::setBaseFont(const SharedFont& font) {
    ownFont_ = font;
    setFont(font);
}

void Label::fitText(int maxWidth) {
    if (!ownFont_)
        ownFont_ = getFont();
    setFont(ownFont_);
    setSize(0, getHeight());
    const int fullWidth = getWidth();
    if (fullWidth <= maxWidth || fullWidth <= 0)
        return;
    // Condense the characters by the share that is too much; rounding may leave a pixel or
    // two over, so narrow on until it fits (a character one pixel wide is the end).
    LOGFONTA narrow = ownFont_.getDescription();
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(getHandle());
    const HGDIOBJ previous = SelectObject(dc, ownFont_.get());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(getHandle(), dc);
    narrow.lfOutPrecision = OUT_TT_PRECIS;  // raster fonts cannot be condensed
    for (LONG width = metrics.tmAveCharWidth * maxWidth / fullWidth; width >= 1; --width) {
        narrow.lfWidth = width;
        setFont(SharedFont::create(narrow));
        setSize(0, getHeight());
        if (getWidth() <= maxWidth)
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons

Button::Button(BasicWindow* owner) : ControlWindow(owner) {}

Button::~Button() {
    if (image_ == nullptr)
        return;
    if (imageType_ == IMAGE_BITMAP)
        DeleteObject(image_);
    else
        DestroyIcon(static_cast<HICON>(image_));
}

vek::STRING Button::getWindowClassName() const { return "Button"; }

int Button::create(BasicWindow* parent) {
    if (ControlWindow::create(parent) != 0)
        return 1;
    const DWORD style = getStyle();
    if ((style & (BS_BITMAP | BS_ICON)) == 0 || getId() < 0)
        return 0;
    imageType_ = (style & BS_BITMAP) != 0 ? IMAGE_BITMAP : IMAGE_ICON;
    image_ = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(getId()), imageType_, 0, 0, LR_DEFAULTCOLOR);
    if (image_ != nullptr)
        SendMessageA(getHandle(), BM_SETIMAGE, imageType_, reinterpret_cast<LPARAM>(image_));
    return 0;
}

PushButton::PushButton(BasicWindow* owner) : Button(owner) { addStyle(*this, BS_PUSHBUTTON); }

CheckBox::CheckBox(BasicWindow* owner) : Button(owner) { addStyle(*this, BS_AUTOCHECKBOX); }

bool CheckBox::isChecked() const {
    return hasLiveHandle() && SendMessageA(getHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::setChecked(bool checked) {
    if (hasLiveHandle())
        SendMessageA(getHandle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

RadioButton::RadioButton(BasicWindow* owner) : Button(owner) { addStyle(*this, BS_AUTORADIOBUTTON); }

bool RadioButton::isChecked() const {
    return hasLiveHandle() && SendMessageA(getHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::setChecked(bool checked) {
    if (hasLiveHandle())
        SendMessageA(getHandle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

GroupBox::GroupBox(BasicWindow* owner) : Button(owner) { addStyle(*this, BS_GROUPBOX); }

// ---------------------------------------------------------------------------------------------
// Scrolling and tree controls

ScrollBar::ScrollBar(BasicWindow* owner) : ControlWindow(owner) {}
vek::STRING ScrollBar::getWindowClassName() const { return "ScrollBar"; }

TrackBar::TrackBar(BasicWindow* owner) : ControlWindow(owner) {}
vek::STRING TrackBar::getWindowClassName() const { return TRACKBAR_CLASSA; }

UpDownButton::UpDownButton(BasicWindow* owner) : ControlWindow(owner) {
    addStyle(*this, UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT);
}
vek::STRING UpDownButton::getWindowClassName() const { return UPDOWN_CLASSA; }

TreeView::TreeView(BasicWindow* owner) : ControlWindow(owner) {
    addStyle(*this, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS);
}

TreeView::~TreeView() {
    if (hasLiveHandle() && IsWindow(getHandle()))
        TreeView_DeleteAllItems(getHandle());
}

vek::STRING TreeView::getWindowClassName() const { return WC_TREEVIEWA; }

int TreeView::close() {
    if (hasLiveHandle())
        TreeView_DeleteAllItems(getHandle());
    return ControlWindow::close();
}

}  // namespace winlib
