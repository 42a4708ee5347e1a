// The one window procedure of the framework: finds the window object, calls the handler for the
// message with decoded arguments and turns the handler's status into the procedure's answer.
#include <windows.h>
#include <commctrl.h>
#include <dde.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "winlib/application.h"
#include "winlib/callback_window.h"
#include "winlib/controls.h"
#include "winlib/device.h"
#include "winlib/error_report.h"
#include "winlib/wide_text.h"

namespace winlib {

namespace {

constexpr UINT kDialogCodeAll = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;

// The message the find/replace dialog sends; registered once.
UINT findReplaceMessage() {
    static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
    return message;
}

vek::STRING atomName(ATOM atom) {
    char buffer[32] = {};
    const UINT length = atom != 0 ? GlobalGetAtomNameA(atom, buffer, sizeof buffer) : 0;
    return vek::STRING(buffer, length);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The window procedure

CallbackWindow* CallbackWindow::objectForCreation(HWND handle, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return reinterpret_cast<CallbackWindow*>(lParam);
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (creation != nullptr && creation->lpCreateParams != nullptr)
        return static_cast<CallbackWindow*>(static_cast<BasicWindow*>(creation->lpCreateParams));
    const auto id = static_cast<int>(GetWindowLongPtrA(handle, GWLP_ID));
    for (CallbackWindow* window = firstWindow(); window != nullptr; window = window->nextWindow()) {
        if (window->getId() == id)
            return window;
    }
    return nullptr;
}

void CallbackWindow::removeAfterDestroy(CallbackWindow* window) {
    BasicWindow* const parent = window->getParent();
    BasicWindow* const owner = window->getOwner();
    const bool deleted = parent != nullptr && parent->removeChild(window, false);
    if (owner != nullptr && owner != parent)
        owner->removeChild(window, deleted);
}

LRESULT CALLBACK CallbackWindow::windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE || message == WM_CREATE || message == WM_INITDIALOG) {
            if (CallbackWindow* window = objectForCreation(handle, message, lParam)) {
                if (!window->hasLiveHandle()) {
                    window->bindHandle(handle);
                    window->closing_ = false;
                    window->destroyed_ = false;
                    // (Its text needs no taking over: a live window's text is read from the window.)
                    if (window->getId() <= 0)
                        window->setId(static_cast<int>(GetWindowLongPtrA(handle, GWLP_ID)));
                }
                return window->dispatch(message, wParam, lParam);
            }
        }
        CallbackWindow* window = findWindow(handle);
        if (window == nullptr)
            return 1;
        ++window->nesting_;
        const LRESULT answer = window->dispatch(message, wParam, lParam);
        --window->nesting_;
        if (window->closing_ && window->destroyed_ && window->nesting_ == 0)
            removeAfterDestroy(window);
        return answer;
    } catch (const std::exception& error) {
        reportError(error.what());
    } catch (...) {
        reportError("Unknown error");
    }
    return 0;
}

LRESULT CallbackWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // A handler may send messages to its own window: each dispatch has its own stored result.
    const LRESULT outerResult = result_;
    result_ = 0;
    LRESULT answer = 0;
    try {
        answer = statusToResult(callHandler(message, wParam, lParam), message, wParam, lParam);
    } catch (const std::exception& error) {
        reportError(error.what());
    } catch (...) {
        reportError("Unknown error");
    }
    result_ = outerResult;
    if (destroyed_ && nesting_ <= 1)
        markDestroyed();
    return answer;
}

LRESULT CallbackWindow::statusToResult(ProcessStatus status, UINT message, WPARAM wParam, LPARAM lParam) {
    BasicWindow* const parent = getParent();
    const bool hasParent = parent != nullptr && parent->hasLiveHandle();
    switch (actionForStatus(status, hasParent)) {
    case saCALL_DEFAULT:
        return hasLiveHandle() ? callDefaultProc(message, wParam, lParam) : 0;
    case saSEND_TO_PARENT:
        SendMessageA(parent->getHandle(), message, wParam, lParam);
        break;
    case saPOST_TO_PARENT:
        PostMessageA(parent->getHandle(), message, wParam, lParam);
        break;
    case saRETURN_RESULT:
        break;
    }
    return result_;
}

// ---------------------------------------------------------------------------------------------
// The handler table

ProcessStatus CallbackWindow::callHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    keys_.trackKeys(message, wParam, lParam);
    keys_.trackMouse(message, wParam);
    switch (message) {
    case WM_CREATE:
    case WM_INITDIALOG:
        return handleCreateMessage(message);
    case WM_DESTROY:
        return handleDestroyMessage();
    case WM_ENDSESSION:
        if (wParam == 0)
            return handleMessage(message, wParam, lParam);
        [[fallthrough]];
    case WM_CLOSE:
        closing_ = handleClose() == psPROCESSED;
        return psPROCESSED;
    case WM_SHOWWINDOW:
        return wParam != 0 ? handleShow() : handleHide();
    case WM_MDIACTIVATE:
        handleMdiActivate(lParam == reinterpret_cast<LPARAM>(getHandle()));
        return psDO_DEFAULT;
    case WM_PAINT:
        return handlePaintMessage();
    case WM_ERASEBKGND:
        return handleEraseMessage(wParam);
    case WM_COMMAND:
        return handleCommandMessage(wParam, lParam);
    case WM_NOTIFY:
        return handleNotifyMessage(lParam);
    case WM_VSCROLL:
    case WM_HSCROLL: {
        hideToolTip();
        const CommandArguments scroll = decodeCommand(wParam);
        const HWND bar = reinterpret_cast<HWND>(lParam);
        return message == WM_VSCROLL ? handleVerticalScroll(scroll.id, scroll.code, bar)
                                     : handleHorizontalScroll(scroll.id, scroll.code, bar);
    }
    case WM_HELP: {
        hideToolTip();
        const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
        if (help != nullptr)
            showHelp(help->iContextType, help->iCtrlId);
        result_ = TRUE;
        return psPROCESSED;
    }
    case WM_CAPTURECHANGED:
        return handleCaptureChanged();
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return handleMouseMessage(message, wParam, lParam);
    case WM_SIZE:
        clientSize_ = decodeSize(lParam);
        return handleResize(clientSize_);
    case WM_DROPFILES:
        return handleDropFiles(wParam);
    case WM_DDE_INITIATE:
    case WM_DDE_TERMINATE:
    case WM_DDE_EXECUTE:
        return handleDdeMessage(message, wParam, lParam);
    case WM_TIMER:
        return handleTimerMessage(wParam);
    case WM_SETFOCUS:
        handleFocus();
        // A form passes the focus on to a control, as a dialog does: Tab works from there.
        if (dialogNavigation_)
            focusControl();
        return psDO_DEFAULT;
    case WM_ACTIVATE:
        // Leaving the window: the control with the focus gets it back on the return.
        if (dialogNavigation_ && LOWORD(wParam) == WA_INACTIVE)
            rememberFocus();
        return handleMessage(message, wParam, lParam);
    case WM_KILLFOCUS:
        if (isCaretShown()) {
            setCaretShown(false);
            DestroyCaret();
        }
        handleKillFocus();
        return psDO_DEFAULT;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return handleKeyDown(wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return handleKeyUp(wParam, lParam);
    case WM_CHAR:
        return handleCharacter(wParam, lParam);
    case WM_ASYNC_TASK_END:
        handleAsyncTaskEnd(lParam);
        return psPROCESSED;
    case WM_SETFONT:
    case WM_GETFONT:
        return handleFontMessage(message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return handleControlColour(wParam, lParam);
    case WM_GETDLGCODE:
        result_ = kDialogCodeAll;
        return psPROCESSED;
    default:
        if (message == findReplaceMessage())
            return handleFindReplace(lParam);
        return handleMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------------------------
// Special cases

ProcessStatus CallbackWindow::handleCreateMessage(UINT message) {
    closing_ = false;
    destroyed_ = false;
    findReplaceMessage();
    if (Application* application = Application::getInstance())
        SendMessageA(getHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(application->getIcon()));
    if (message == WM_INITDIALOG)
        result_ = TRUE;
    return getGuiElement() == nullptr ? handleCreate() : psPROCESSED;
}

ProcessStatus CallbackWindow::handleDestroyMessage() {
    const ProcessStatus status = handleDestroy();
    const Application* application = Application::getInstance();
    if (application != nullptr && application->getMainWindow() == this)
        PostQuitMessage(0);
    destroyed_ = true;
    return status;
}

ProcessStatus CallbackWindow::handlePaintMessage() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(getHandle(), &paint);
    ProcessStatus status = psPROCESSED;
    {
        Device device(dc);
        status = handleRepaint(device);
    }
    EndPaint(getHandle(), &paint);
    return status;
}

ProcessStatus CallbackWindow::handleEraseMessage(WPARAM wParam) {
    result_ = 1;
    Device device(reinterpret_cast<HDC>(wParam));
    return handleErase(device);
}

ProcessStatus CallbackWindow::handleCommandMessage(WPARAM wParam, LPARAM lParam) {
    hideToolTip();
    if (!commandsEnabled_)
        return psDO_DEFAULT;
    const CommandArguments command = decodeCommand(wParam);
    switch (routeCommand(command.code, lParam != 0)) {
    case crCOMMAND:
        return handleCommand(command.id);
    case crBUTTON_CLICK:
        return handleButtonClick(command.id);
    case crEDIT_CHANGE:
        return handleEditChange(command.id);
    case crSELECTION_CHANGED:
        return handleSelectionChanged(command.id);
    case crNOTIFICATION:
        break;
    }
    return handleNotification(command.code, command.id);
}

ProcessStatus CallbackWindow::handleNotifyMessage(LPARAM lParam) {
    hideToolTip();
    if (!commandsEnabled_)
        return psDO_DEFAULT;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr)
        return psPROCESSED;
    const auto& tree = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
    switch (static_cast<int>(header->code)) {
    case static_cast<int>(TVN_SELCHANGEDA):
        return tree.action != 0 ? handleSelectionChanged(static_cast<int>(header->idFrom)) : psPROCESSED;
    case static_cast<int>(TVN_BEGINDRAGA):
        beginTreeDrag(tree);
        return psPROCESSED;
    default:
        return psPROCESSED;
    }
}

ProcessStatus CallbackWindow::handleTimerMessage(WPARAM timerId) {
    switch (routeTimer(timerId)) {
    case trWINDOW:
        handleTimer();
        break;
    case trHELP:
        helpTick();
        break;
    case trNONE:
        break;
    }
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Point point = decodePoint(lParam);
    if (message == WM_MOUSEMOVE) {
        if (treeDrag_.tree == nullptr)
            return handleMouseMove(wParam, point);
        trackTreeDrag(point);
        return psPROCESSED;
    }
    // A click while a help tooltip is shown only takes the tooltip away.
    if (hideToolTip())
        return psPROCESSED;
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK)
        return handleRightButton(message, wParam, point);
    if (message == WM_LBUTTONUP && treeDrag_.tree != nullptr) {
        endTreeDrag(point);
        return psPROCESSED;
    }
    return handleLeftButton(message, wParam, point);
}

ProcessStatus CallbackWindow::handleFontMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFONT) {
        for (BasicWindow* child : getChildren()) {
            if (!child->getFont() && child->hasLiveHandle())
                SendMessageA(child->getHandle(), WM_SETFONT, wParam, lParam);
        }
        return psPROCESSED;
    }
    if (getFont())
        result_ = reinterpret_cast<LRESULT>(getFont().get());
    else if (getParent() != nullptr && getParent()->hasLiveHandle())
        result_ = SendMessageA(getParent()->getHandle(), WM_GETFONT, 0, 0);
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleControlColour(WPARAM wParam, LPARAM lParam) {
    BasicWindow* control = findChild(reinterpret_cast<HWND>(lParam));
    if (control == nullptr || !control->getBackground())
        return psDO_DEFAULT;
    SetBkColor(reinterpret_cast<HDC>(wParam), control->getBackground().getColour());
    result_ = reinterpret_cast<LRESULT>(control->getBackground().get());
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleDropFiles(WPARAM wParam) {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    const auto count = static_cast<int>(DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0));
    for (int index = 0; index < count; ++index) {
        std::wstring name(DragQueryFileW(drop, static_cast<UINT>(index), nullptr, 0) + 1, L'\0');
        const UINT length = DragQueryFileW(drop, static_cast<UINT>(index), name.data(), static_cast<UINT>(name.size()));
        handleFile(fromWide(name.data(), length), index, count);
    }
    DragFinish(drop);
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleDdeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto partner = reinterpret_cast<HWND>(wParam);
    const auto self = reinterpret_cast<WPARAM>(getHandle());
    if (message == WM_DDE_TERMINATE) {
        PostMessageA(partner, WM_DDE_TERMINATE, self, 0);
        return psPROCESSED;
    }
    if (message == WM_DDE_INITIATE) {
        const auto application = static_cast<ATOM>(LOWORD(lParam));
        const auto topic = static_cast<ATOM>(HIWORD(lParam));
        if (handleDdeInitiate(atomName(application), atomName(topic)) == psPROCESSED)
            SendMessageA(partner, WM_DDE_ACK, self, MAKELPARAM(application, topic));
        return psPROCESSED;
    }
    const auto memory = reinterpret_cast<HGLOBAL>(lParam);
    const auto* command = static_cast<const char*>(GlobalLock(memory));
    const ProcessStatus status = handleDdeExecute(command != nullptr ? vek::STRING(command) : vek::STRING());
    GlobalUnlock(memory);
    if (status == psPROCESSED)
        PostMessageA(partner, WM_DDE_ACK, self, PackDDElParam(WM_DDE_ACK, 0x8000, static_cast<UINT_PTR>(lParam)));
    return psPROCESSED;
}

ProcessStatus CallbackWindow::handleFindReplace(LPARAM lParam) {
    const auto* dialog = reinterpret_cast<const FINDREPLACEA*>(lParam);
    if (dialog == nullptr)
        return psPROCESSED;
    if ((dialog->Flags & FR_DIALOGTERM) != 0) {
        setFindReplaceDialog(nullptr);
        return psPROCESSED;
    }
    const vek::STRING findText(dialog->lpstrFindWhat != nullptr ? dialog->lpstrFindWhat : "");
    if ((dialog->Flags & (FR_REPLACE | FR_REPLACEALL)) != 0)
        handleReplace(findText, vek::STRING(dialog->lpstrReplaceWith != nullptr ? dialog->lpstrReplaceWith : ""),
                      dialog->Flags);
    else if ((dialog->Flags & FR_FINDNEXT) != 0)
        handleFind(findText, dialog->Flags);
    return psPROCESSED;
}

// ---------------------------------------------------------------------------------------------
// Tree drag

void CallbackWindow::beginTreeDrag(const NMTREEVIEWA& notification) {
    auto* tree = dynamic_cast<TreeView*>(findChild(notification.hdr.hwndFrom));
    if (tree == nullptr)
        return;
    treeDrag_.tree = tree;
    treeDrag_.item = notification.itemNew.hItem;
    treeDrag_.image = TreeView_CreateDragImage(tree->getHandle(), treeDrag_.item);
    if (treeDrag_.image != nullptr) {
        ImageList_BeginDrag(treeDrag_.image, 0, 0, 0);
        ImageList_DragEnter(getHandle(), notification.ptDrag.x, notification.ptDrag.y);
    }
    SetCapture(getHandle());
}

HTREEITEM CallbackWindow::treeItemAt(Point point) const {
    TVHITTESTINFO hit{};
    hit.pt = POINT{point.x, point.y};
    MapWindowPoints(getHandle(), treeDrag_.tree->getHandle(), &hit.pt, 1);
    return TreeView_HitTest(treeDrag_.tree->getHandle(), &hit);
}

void CallbackWindow::trackTreeDrag(Point point) {
    if (treeDrag_.image != nullptr)
        ImageList_DragMove(point.x, point.y);
    const HTREEITEM over = treeItemAt(point);
    if (treeDrag_.image != nullptr)
        ImageList_DragShowNolock(FALSE);
    TreeView_SelectDropTarget(treeDrag_.tree->getHandle(), over);
    if (treeDrag_.image != nullptr)
        ImageList_DragShowNolock(TRUE);
    handleTreeDragMove(treeDrag_.tree, treeDrag_.item, over);
}

void CallbackWindow::endTreeDrag(Point point) {
    const TreeDrag drag = treeDrag_;
    treeDrag_ = TreeDrag{};
    if (drag.image != nullptr) {
        ImageList_EndDrag();
        ImageList_DragLeave(getHandle());
        ImageList_Destroy(drag.image);
    }
    ReleaseCapture();
    treeDrag_.tree = drag.tree;
    const HTREEITEM target = treeItemAt(point);
    treeDrag_.tree = nullptr;
    TreeView_SelectDropTarget(drag.tree->getHandle(), nullptr);
    if (target != nullptr && target != drag.item)
        handleTreeDrop(drag.tree, drag.item, target);
}

}  // namespace winlib
