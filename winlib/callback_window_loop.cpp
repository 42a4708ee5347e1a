// The message loop of a window: thread messages to the loop's window, accelerators, the
// find/replace dialog and dialog navigation of form windows before the ordinary dispatch.
#include <windows.h>

#include "winlib/application.h"
#include "winlib/callback_window.h"

namespace winlib {

void CallbackWindow::rememberFocus() {
    const HWND focus = GetFocus();
    if (focus != nullptr && hasLiveHandle() && IsChild(getHandle(), focus))
        focusedControl_ = focus;
}

void CallbackWindow::focusControl() {
    const HWND handle = getHandle();
    HWND target = focusedControl_;
    if (target == nullptr || !IsWindow(target) || !IsChild(handle, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = GetNextDlgTabItem(handle, nullptr, FALSE);
    if (target != nullptr && target != handle)
        SetFocus(target);
}

bool CallbackWindow::giveToDialogNavigation(MSG& message) {
    for (CallbackWindow* window = firstWindow(); window != nullptr; window = window->nextWindow()) {
        if (!window->hasLiveHandle() || !window->dialogNavigation_)
            continue;
        window->keys_.trackKeys(message.message, message.wParam, message.lParam);
        // IsDialogMessageW may dispatch; the walk stops right after it took the message.
        if (IsDialogMessageW(window->getHandle(), &message))
            return true;
    }
    return false;
}

void CallbackWindow::dispatchLoopMessage(MSG& message) {
    if (message.hwnd == nullptr && hasLiveHandle()) {
        // A thread message (one posted to no window) belongs to the loop's window.
        SendMessageW(getHandle(), message.message, message.wParam, message.lParam);
        return;
    }
    if (preTranslateMessage(message))
        return;
    const HWND findDialog = getFindReplaceDialog();
    if (findDialog != nullptr && IsDialogMessageW(findDialog, &message))
        return;
    if (giveToDialogNavigation(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void CallbackWindow::mainLoop() {
    ++loopNesting_;
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            break;
        // -1 (an invalid argument) is no end: the loop goes on.
        if (got > 0)
            dispatchLoopMessage(message);
    }
    --loopNesting_;
}

}  // namespace winlib
