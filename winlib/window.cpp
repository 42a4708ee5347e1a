// ForeignWindow and BasicWindow: window settings, ownership, children and the visible window.
#include "winlib/window.h"

#include <utility>

#include "winlib/application.h"
#include "winlib/layout_data.h"
#include "winlib/wide_text.h"

namespace winlib {

namespace {
constexpr std::size_t kLongestTitle = 32767;
}  // namespace

HWND destroyedHandle() {
    // An address no window handle can have.
    static const char marker = 0;
    return reinterpret_cast<HWND>(const_cast<char*>(&marker));
}

// ---------------------------------------------------------------------------------------------
// ForeignWindow

ForeignWindow::ForeignWindow(HWND handle) : handle_(handle) {}

ForeignWindow::~ForeignWindow() = default;

bool ForeignWindow::hasLiveHandle() const { return handle_ != nullptr && handle_ != destroyedHandle(); }

int ForeignWindow::close() { return hasLiveHandle() && DestroyWindow(handle_) ? 0 : 1; }

vek::STRING ForeignWindow::getWindowClassName() const {
    if (!hasLiveHandle())
        return vek::STRING();
    vek::STRING name;
    name.setLength(10240);
    char* buffer = name.getBuffer();
    if (buffer == nullptr)
        return vek::STRING();
    const UINT length = RealGetWindowClassA(handle_, buffer, 10240);
    name.setLength(length);
    return name;
}

// ---------------------------------------------------------------------------------------------
// BasicWindow: ownership and closing

BasicWindow::BasicWindow(BasicWindow* owner, ObjectKind kind) : kind_(kind), owner_(owner) {
    if (owner_ != nullptr)
        owner_->owned_.append(this);
}

BasicWindow::~BasicWindow() {
    if (owner_ != nullptr)
        removeFrom(owner_->owned_, this);
    if (parent_ != nullptr)
        removeFrom(parent_->children_, this);
    for (BasicWindow* child : children_)
        child->parent_ = nullptr;
    // Taken out first: each owned window's destructor looks for itself in the list.
    vek::Array<BasicWindow*> owned(std::move(owned_));
    for (BasicWindow* window : owned) {
        window->owner_ = nullptr;
        delete window;
    }
}

int BasicWindow::closeAll(const vek::Array<BasicWindow*>& windows, const vek::Array<BasicWindow*>* skip) {
    for (std::size_t i = windows.getCount(); i-- > 0;) {
        // Closing one window may remove (and delete) others of the list.
        if (i >= windows.getCount())
            continue;
        BasicWindow* window = windows[i];
        if (skip != nullptr && contains(*skip, window))
            continue;
        if (window->close() != 0)
            return 1;
    }
    return 0;
}

int BasicWindow::close() {
    if (closeAll(owned_, &children_) != 0 || closeAll(children_, nullptr) != 0)
        return 1;
    // A window that was never made (or is gone already) has nothing left to close.
    if (!hasLiveHandle())
        return 0;
    // Nothing of this object after DestroyWindow: the window may delete itself meanwhile.
    return DestroyWindow(getHandle()) ? 0 : 1;
}

bool BasicWindow::canClose() {
    for (BasicWindow* child : children_) {
        if (!child->canClose())
            return false;
    }
    return true;
}

bool BasicWindow::contains(const vek::Array<BasicWindow*>& list, const BasicWindow* window) {
    for (const BasicWindow* entry : list) {
        if (entry == window)
            return true;
    }
    return false;
}

bool BasicWindow::removeFrom(vek::Array<BasicWindow*>& list, BasicWindow* window) {
    for (std::size_t i = 0; i < list.getCount(); ++i) {
        if (list[i] == window) {
            list.remove(i);
            return true;
        }
    }
    return false;
}

bool BasicWindow::removeChild(BasicWindow* window, bool keep) {
    removeFrom(children_, window);
    if (!removeFrom(owned_, window))
        return keep;
    if (!keep) {
        window->owner_ = nullptr;
        delete window;
    }
    return true;
}

void BasicWindow::addChild(BasicWindow* window) {
    if (!contains(children_, window))
        children_.append(window);
}

// ---------------------------------------------------------------------------------------------
// Creation

void BasicWindow::prepareWindowClass(const vek::STRING&) {}

void* BasicWindow::creationParameter() { return nullptr; }

int BasicWindow::create(BasicWindow* parent, HMENU menu) {
    const vek::STRING className = getWindowClassName();
    prepareWindowClass(className);
    parent_ = parent;
    if (parent != nullptr)
        dpi_ = parent->getDpi();
    if ((style_ & WS_CHILD) != 0 && parent != nullptr)
        parent->addChild(this);
    // The system carries a title in a counted string of at most 32767 UTF-16 units; Wine answers
    // a longer one with a handle that is no window. Such a window starts without its title.
    const std::wstring shown = wideText(text_);
    const bool titled = !shown.empty() && shown.size() <= kLongestTitle;
    const HWND handle =
        CreateWindowExW(exStyle_, wideText(className).c_str(), titled ? shown.c_str() : nullptr, style_, x_, y_,
                        width_, height_, parent != nullptr ? parent->getHandle() : nullptr, menu,
                        getInstanceHandle(), creationParameter());
    if (handle == nullptr)
        return 1;
    // The window procedure has bound the handle already for callback windows.
    setHandle(handle);
    if (id_ >= 0)
        SetWindowLongPtrA(handle, GWLP_ID, id_);
    applyAutoSize();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Settings

void BasicWindow::setStyle(DWORD style) {
    style_ = style;
    if (hasLiveHandle())
        SetWindowLongPtrA(getHandle(), GWL_STYLE, static_cast<LONG_PTR>(style));
}

void BasicWindow::setExStyle(DWORD exStyle) {
    exStyle_ = exStyle;
    if (hasLiveHandle())
        SetWindowLongPtrA(getHandle(), GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
}

DWORD BasicWindow::getCurrentStyle() const {
    return hasLiveHandle() ? static_cast<DWORD>(GetWindowLongPtrA(getHandle(), GWL_STYLE)) : style_;
}

bool BasicWindow::isVisible() const { return (getCurrentStyle() & WS_VISIBLE) != 0; }

void BasicWindow::setText(const vek::STRING& text) {
    text_ = text;
    if (hasLiveHandle())
        SetWindowTextW(getHandle(), wideText(text).c_str());
}

vek::STRING BasicWindow::getText() const {
    if (!hasLiveHandle())
        return text_;
    const int length = GetWindowTextLengthW(getHandle());
    if (length <= 0)
        return vek::STRING();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(getHandle(), text.data(), length + 1);
    return fromWide(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void BasicWindow::setId(int id) {
    id_ = id;
    if (hasLiveHandle())
        SetWindowLongPtrA(getHandle(), GWLP_ID, id);
}

void BasicWindow::setExtraSize(int width, int height) {
    extraWidth_ = width;
    extraHeight_ = height;
}

void BasicWindow::setBackground(const SharedBrush& brush) { background_ = brush; }

void BasicWindow::setFont(const SharedFont& font) {
    font_ = font;
    if (hasLiveHandle())
        SendMessageA(getHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
}

void BasicWindow::setLayoutData(std::unique_ptr<LayoutData> data) { layoutData_ = std::move(data); }

// ---------------------------------------------------------------------------------------------
// Position and size

void BasicWindow::setPosition(int x, int y) {
    x_ = x;
    y_ = y;
    if (hasLiveHandle())
        SetWindowPos(getHandle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BasicWindow::setSize(int width, int height) {
    autoWidth_ = width == 0;
    autoHeight_ = height == 0;
    width_ = width;
    height_ = height;
    applyAutoSize();
    applyStoredSize();
}

void BasicWindow::move(int x, int y, int width, int height) {
    x_ = x;
    y_ = y;
    setSize(width, height);
    setPosition(x, y);
}

void BasicWindow::applyAutoSize() {
    if (width_ == 0)
        autoWidth_ = true;
    if (height_ == 0)
        autoHeight_ = true;
    if (!autoWidth_ && !autoHeight_)
        return;
    const Size measured = measureText();
    if (autoWidth_)
        width_ = measured.width;
    if (autoHeight_)
        height_ = measured.height;
    applyStoredSize();
}

void BasicWindow::applyStoredSize() {
    if (hasLiveHandle())
        SetWindowPos(getHandle(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Size BasicWindow::getCurrentSize() const {
    RECT rect{};
    if (!hasLiveHandle() || !GetWindowRect(getHandle(), &rect))
        return Size{width_, height_};
    return Size{rect.right - rect.left, rect.bottom - rect.top};
}

Size BasicWindow::getClientSize() const {
    RECT rect{};
    if (!hasLiveHandle() || !GetClientRect(getHandle(), &rect))
        return Size{width_, height_};
    return Size{rect.right - rect.left, rect.bottom - rect.top};
}

Size BasicWindow::measureText() const {
    const HWND window = hasLiveHandle() ? getHandle() : nullptr;
    const HDC dc = GetDC(window);
    if (dc == nullptr)
        return Size{extraWidth_, extraHeight_};
    HFONT font = font_.get();
    if (font == nullptr && window != nullptr)
        font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    const std::wstring shown = wideText(text_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
    if (extent.cy == 0) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        extent.cy = metrics.tmHeight;
    }
    if (previous != nullptr)
        SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return Size{extent.cx + extraWidth_, extent.cy + extraHeight_};
}

// ---------------------------------------------------------------------------------------------
// Searching and showing

BasicWindow* BasicWindow::findChild(int id) {
    if (id_ == id)
        return this;
    for (BasicWindow* child : children_) {
        if (BasicWindow* found = child->findChild(id))
            return found;
    }
    return nullptr;
}

BasicWindow* BasicWindow::findChild(HWND handle) {
    if (getHandle() == handle)
        return this;
    for (BasicWindow* child : children_) {
        if (BasicWindow* found = child->findChild(handle))
            return found;
    }
    return nullptr;
}

void BasicWindow::invalidate() {
    if (!hasLiveHandle())
        return;
    InvalidateRect(getHandle(), nullptr, TRUE);
    if (parent_ == nullptr || !parent_->hasLiveHandle() || (getCurrentStyle() & WS_CHILD) == 0)
        return;
    RECT rect{};
    GetWindowRect(getHandle(), &rect);
    MapWindowPoints(nullptr, parent_->getHandle(), reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(parent_->getHandle(), &rect, TRUE);
}

void BasicWindow::show(bool visible) {
    showAs(visible ? SW_SHOW : SW_HIDE);
}

void BasicWindow::showAs(int command) {
    style_ = command != SW_HIDE ? (style_ | WS_VISIBLE) : (style_ & ~static_cast<DWORD>(WS_VISIBLE));
    if (!hasLiveHandle())
        return;
    if (command == SW_HIDE)
        handFocusOn();
    ShowWindow(getHandle(), command);
}

void BasicWindow::enable(bool enabled) {
    style_ = enabled ? (style_ & ~static_cast<DWORD>(WS_DISABLED)) : (style_ | WS_DISABLED);
    if (!hasLiveHandle())
        return;
    if (!enabled)
        handFocusOn();
    EnableWindow(getHandle(), enabled ? TRUE : FALSE);
}

void BasicWindow::handFocusOn() {
    const HWND handle = getHandle();
    const HWND focus = GetFocus();
    if (focus == nullptr || (focus != handle && !IsChild(handle, focus)))
        return;
    // The system would leave the focus nowhere (a disabled window) or on the parent frame,
    // where Tab no longer works. The next tab stop outside this window takes it, as in a dialog.
    const HWND top = GetAncestor(handle, GA_ROOT);
    if (top == handle)
        return;  // a top-level window: the system activates another
    HWND next = focus;
    for (int step = 0; step < 256; ++step) {
        next = GetNextDlgTabItem(top, next, FALSE);
        if (next == nullptr || next == focus)
            return;
        if (next != handle && !IsChild(handle, next)) {
            SetFocus(next);
            return;
        }
    }
}

}  // namespace winlib
