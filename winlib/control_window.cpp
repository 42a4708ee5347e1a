// ControlWindow: creation as a child with the parent's font, closing, and subclassing.
#include "winlib/control_window.h"

namespace winlib {

namespace {

constexpr char kObjectProperty[] = "winlib.control";

}  // namespace

ControlWindow::ControlWindow(BasicWindow* owner) : BasicWindow(owner, okCONTROL) {
    setStyle(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
}

ControlWindow::~ControlWindow() {
    if (!hasLiveHandle() || !IsWindow(getHandle()))
        return;
    if (previousProc_ != nullptr) {
        SetWindowLongPtrW(getHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropA(getHandle(), kObjectProperty);
    }
    DestroyWindow(getHandle());
}

int ControlWindow::create(BasicWindow* parent) {
    setStyle(getStyle() | WS_CHILD);
    if (BasicWindow::create(parent) != 0)
        return 1;
    applyFont(parent);
    applyAutoSize();
    if (pendingSubclass_ > 0)
        applySubclass();
    return 0;
}

void ControlWindow::applyFont(BasicWindow* parent) {
    if (getFont()) {
        SendMessageA(getHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(getFont().get()), FALSE);
        return;
    }
    if (parent == nullptr || !parent->hasLiveHandle())
        return;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(parent->getHandle(), WM_GETFONT, 0, 0));
    if (font != nullptr)
        setFont(parent->getFont().get() == font ? parent->getFont() : SharedFont::borrowed(font));
}

int ControlWindow::close() {
    if (!hasLiveHandle())
        return 0;
    if (!DestroyWindow(getHandle()))
        return 1;
    markDestroyed();
    if (BasicWindow* parent = getParent())
        parent->removeChild(this, false);  // may delete this
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Subclassing

void ControlWindow::subclass() {
    ++pendingSubclass_;
    if (hasLiveHandle())
        applySubclass();
}

void ControlWindow::applySubclass() {
    pendingSubclass_ = 0;
    if (previousProc_ != nullptr)
        return;
    SetPropA(getHandle(), kObjectProperty, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(getHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProcedure)));
}

LRESULT ControlWindow::callPreviousProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_ == nullptr)
        return DefWindowProcW(getHandle(), message, wParam, lParam);
    return CallWindowProcW(previousProc_, getHandle(), message, wParam, lParam);
}

LRESULT CALLBACK ControlWindow::subclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<ControlWindow*>(GetPropA(handle, kObjectProperty));
    if (control == nullptr)
        return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window goes: hand it back to its own procedure for its last message.
        const WNDPROC previous = control->previousProc_;
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(handle, kObjectProperty);
        control->previousProc_ = nullptr;
        return CallWindowProcW(previous, handle, message, wParam, lParam);
    }
    return control->controlWindowProc(message, wParam, lParam);
}

LRESULT ControlWindow::controlWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_RBUTTONDOWN || contextMenu_ == nullptr)
        return callPreviousProc(message, wParam, lParam);
    POINT cursor{};
    GetCursorPos(&cursor);
    const BOOL command = TrackPopupMenu(contextMenu_, TPM_RETURNCMD | TPM_VCENTERALIGN | TPM_RIGHTBUTTON, cursor.x,
                                        cursor.y, 0, getHandle(), nullptr);
    if (command != 0 && getParent() != nullptr && getParent()->hasLiveHandle())
        SendMessageA(getParent()->getHandle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    return 0;
}

}  // namespace winlib
