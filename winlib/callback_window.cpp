// CallbackWindow: life cycle, the global window list, default handlers, timers and help tooltips.
#include "winlib/callback_window.h"

#include "winlib/application.h"
#include "winlib/device.h"
#include "winlib/layout_manager.h"
#include "winlib/tool_tip_window.h"
#include "winlib/window_class.h"

namespace winlib {

namespace {

constexpr UINT_PTR kWindowTimer = 1;
constexpr UINT_PTR kHelpTimer = 2;
constexpr UINT kHelpPeriodMs = 3000;

// Every callback window in creation order; never destroyed, so late static destructors find it.
vek::LinkedList& windowList() {
    static vek::LinkedList* const list = new vek::LinkedList;
    return *list;
}

}  // namespace

CallbackWindow::CallbackWindow(BasicWindow* owner) : BasicWindow(owner, okCALLBACK) { windowList().append(this); }

CallbackWindow::~CallbackWindow() {
    stopTimer();
    if (helpTimerRunning_ && hasLiveHandle())
        KillTimer(getHandle(), kHelpTimer);
    toolTip_.reset();
    windowList().unlink(this);
    layoutManager_.reset();
    if (menu_ != nullptr)
        DestroyMenu(menu_);
    // Out of the list first, so that no message of the dying window reaches this object.
    if (hasLiveHandle() && IsWindow(getHandle()))
        DestroyWindow(getHandle());
}

void CallbackWindow::prepareWindowClass(const vek::STRING& className) { registerWindowClass(className); }

void* CallbackWindow::creationParameter() { return this; }

// ---------------------------------------------------------------------------------------------
// The global list

CallbackWindow* CallbackWindow::firstWindow() { return static_cast<CallbackWindow*>(windowList().getFirst()); }

CallbackWindow* CallbackWindow::nextWindow() const { return static_cast<CallbackWindow*>(getNext()); }

CallbackWindow* CallbackWindow::findWindow(HWND handle) {
    if (handle == nullptr || handle == destroyedHandle())
        return nullptr;
    for (CallbackWindow* window = firstWindow(); window != nullptr; window = window->nextWindow()) {
        if (window->getHandle() == handle)
            return window;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Closing and children

int CallbackWindow::close() {
    stopTimer();
    hideToolTip();
    toolTip_.reset();
    closing_ = true;
    return BasicWindow::close();
}

bool CallbackWindow::canClose() { return BasicWindow::canClose(); }

bool CallbackWindow::removeChild(BasicWindow* window, bool keep) { return BasicWindow::removeChild(window, keep); }

void CallbackWindow::setLayoutManager(std::unique_ptr<LayoutManager> manager) { layoutManager_ = std::move(manager); }

void CallbackWindow::doLayout(Size size) {
    if (layoutManager_ != nullptr)
        layoutManager_->doLayout(getChildren(), size);
}

void CallbackWindow::startTimer(UINT periodMs) {
    if (hasLiveHandle() && SetTimer(getHandle(), kWindowTimer, periodMs, nullptr) != 0)
        timerRunning_ = true;
}

void CallbackWindow::stopTimer() {
    if (timerRunning_ && hasLiveHandle())
        KillTimer(getHandle(), kWindowTimer);
    timerRunning_ = false;
}

void CallbackWindow::setMenu(HMENU menu) {
    if (menu_ != nullptr && menu_ != menu)
        DestroyMenu(menu_);
    menu_ = menu;
    if (hasLiveHandle())
        SetMenu(getHandle(), menu);
}

// ---------------------------------------------------------------------------------------------
// Default handlers

ProcessStatus CallbackWindow::handleCreate() { return psPROCESSED; }
void CallbackWindow::getControls() {}

ProcessStatus CallbackWindow::handleClose() {
    if (!canClose())
        return psDO_DEFAULT;
    return close() == 0 ? psPROCESSED : psDO_DEFAULT;
}

ProcessStatus CallbackWindow::handleDestroy() { return psPROCESSED; }
ProcessStatus CallbackWindow::handleShow() { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleHide() { return psDO_DEFAULT; }
void CallbackWindow::handleMdiActivate(bool) {}

ProcessStatus CallbackWindow::handleErase(Device& device) {
    const SharedBrush& brush = getBackground();
    if (!brush)
        return psDO_DEFAULT;
    const Size client = getClientSize();
    device.selectPen(static_cast<HPEN>(GetStockObject(NULL_PEN)));
    device.selectBrush(brush.get());
    device.rectangle(0, 0, client.width + 1, client.height + 1);
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleRepaint(Device&) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleEditChange(int) { return psSEND_TO_PARENT; }
ProcessStatus CallbackWindow::handleButtonClick(int id) { return handleCommand(id); }
ProcessStatus CallbackWindow::handleSelectionChanged(int) { return psSEND_TO_PARENT; }
ProcessStatus CallbackWindow::handleNotification(int, int) { return psSEND_TO_PARENT; }
ProcessStatus CallbackWindow::handleCommand(int) { return psPOST_TO_PARENT; }
ProcessStatus CallbackWindow::handleScrollbarChange(int id) { return handleCommand(id); }

ProcessStatus CallbackWindow::handleVerticalScroll(int, int, HWND bar) {
    const auto id = static_cast<int>(GetWindowLongPtrA(bar, GWLP_ID));
    return id < 0 ? psDO_DEFAULT : handleScrollbarChange(id);
}

ProcessStatus CallbackWindow::handleHorizontalScroll(int code, int position, HWND bar) {
    return CallbackWindow::handleVerticalScroll(code, position, bar);
}

ProcessStatus CallbackWindow::handleCaptureChanged() { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleMouseMove(WPARAM, Point) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleLeftButton(UINT, WPARAM, Point) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleRightButton(UINT, WPARAM, Point) { return psDO_DEFAULT; }

ProcessStatus CallbackWindow::handleResize(Size size) {
    doLayout(size);
    invalidate();
    return psDO_DEFAULT;
}

void CallbackWindow::handleFile(const vek::STRING&, int, int) {}
void CallbackWindow::handleFind(const vek::STRING&, DWORD) {}
void CallbackWindow::handleReplace(const vek::STRING&, const vek::STRING&, DWORD) {}
ProcessStatus CallbackWindow::handleDdeInitiate(const vek::STRING&, const vek::STRING&) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleDdeExecute(const vek::STRING&) { return psDO_DEFAULT; }
void CallbackWindow::handleTimer() {}
void CallbackWindow::handleFocus() {}
ProcessStatus CallbackWindow::handleKeyDown(WPARAM, LPARAM) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleKeyUp(WPARAM, LPARAM) { return psDO_DEFAULT; }
ProcessStatus CallbackWindow::handleCharacter(WPARAM, LPARAM) { return psDO_DEFAULT; }
void CallbackWindow::handleKillFocus() {}
void CallbackWindow::handleAsyncTaskEnd(LPARAM) {}
ProcessStatus CallbackWindow::handleMessage(UINT, WPARAM, LPARAM) { return psDO_DEFAULT; }

LRESULT CallbackWindow::callDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(getHandle(), message, wParam, lParam);
}

bool CallbackWindow::handleTreeDragMove(TreeView* tree, HTREEITEM dragged, HTREEITEM over) {
    auto* parent = dynamic_cast<CallbackWindow*>(getParent());
    return parent != nullptr && parent->handleTreeDragMove(tree, dragged, over);
}

void CallbackWindow::handleTreeDrop(TreeView* tree, HTREEITEM dragged, HTREEITEM target) {
    if (auto* parent = dynamic_cast<CallbackWindow*>(getParent()))
        parent->handleTreeDrop(tree, dragged, target);
}

bool CallbackWindow::preTranslateMessage(MSG& message) {
    const Application* application = Application::getInstance();
    const HACCEL table = application != nullptr ? application->getAccelerators() : nullptr;
    return table != nullptr && hasLiveHandle() && TranslateAcceleratorW(getHandle(), table, &message) != 0;
}

// ---------------------------------------------------------------------------------------------
// Help tooltips

vek::STRING CallbackWindow::helpTextOf(BasicWindow* window) {
    if (window == nullptr)
        return vek::STRING();
    if (!window->getHelpText().isEmpty())
        return window->getHelpText();
    Application* application = Application::getInstance();
    return application != nullptr && window->getId() >= 0 ? application->loadString(window->getId()) : vek::STRING();
}

void CallbackWindow::showToolTip(const vek::STRING& text, BasicWindow* anchor) {
    if (text.isEmpty() || anchor == nullptr || !anchor->hasLiveHandle())
        return;
    RECT rect{};
    GetWindowRect(anchor->getHandle(), &rect);
    if (toolTip_ == nullptr)
        toolTip_ = std::make_unique<ToolTipWindow>();
    toolTip_->showText(text, Point{rect.left + 8, rect.bottom + 2});
    lastHelpText_ = text;
    if (!helpTimerRunning_ && hasLiveHandle() && SetTimer(getHandle(), kHelpTimer, kHelpPeriodMs, nullptr) != 0)
        helpTimerRunning_ = true;
}

void CallbackWindow::showHelp(int, int controlId) {
    BasicWindow* control = findChild(controlId);
    showToolTip(helpTextOf(control), control);
}

bool CallbackWindow::hideToolTip() {
    if (toolTip_ == nullptr || !toolTip_->isVisible())
        return false;
    toolTip_->hide();
    return true;
}

void CallbackWindow::helpTick() {
    hideToolTip();
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    BasicWindow* child = under != getHandle() ? findChild(under) : nullptr;
    const bool resting = child != nullptr && under == lastHelpWindow_;
    lastHelpWindow_ = under;
    if (!resting)
        return;
    const vek::STRING text = helpTextOf(child);
    if (!text.isEmpty() && !(text == lastHelpText_))
        showToolTip(text, child);
}

}  // namespace winlib
