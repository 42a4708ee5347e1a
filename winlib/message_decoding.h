#pragma once
// The platform-free part of the window procedure: decoding message arguments, choosing the
// handler for a command, tracking modifier keys and turning a handler's status into what the
// procedure does. The message numbers are the system's; nothing here calls the system.

#include <cstdint>

#include "winlib/geometry.h"
#include "winlib/process_status.h"

namespace winlib {

// The low and high words of lParam, each as an unsigned 16-bit value.
Point decodePoint(std::intptr_t lParam);
Size decodeSize(std::intptr_t lParam);

// WM_COMMAND: id = low word of wParam, code = high word.
struct CommandArguments {
    int id = 0;
    int code = 0;
};
CommandArguments decodeCommand(std::uintptr_t wParam);

// Which handler a WM_COMMAND goes to.
enum CommandRoute : int {
    crCOMMAND,            // menu or accelerator (no control)
    crBUTTON_CLICK,       // BN_CLICKED
    crEDIT_CHANGE,        // EN_CHANGE, CBN_EDITCHANGE
    crSELECTION_CHANGED,  // LBN_SELCHANGE, CBN_SELCHANGE
    crNOTIFICATION,       // any other code of a control
};
CommandRoute routeCommand(int code, bool fromControl);

// Which handler a WM_TIMER goes to: id 1 the window's timer, id 2 the help tooltips, others none.
enum TimerRoute : int { trNONE, trWINDOW, trHELP };
TimerRoute routeTimer(std::uintptr_t timerId);

// What the window procedure does with a handler's status.
enum StatusAction : int {
    saRETURN_RESULT,       // return the stored result
    saCALL_DEFAULT,        // return the default procedure's answer
    saSEND_TO_PARENT,      // SendMessage to the parent, then the stored result
    saPOST_TO_PARENT,      // PostMessage to the parent, then the stored result
};
// An unknown status is treated like psDO_DEFAULT; without a parent a send or post is dropped.
StatusAction actionForStatus(ProcessStatus status, bool hasParent);

// Alt, Shift and Ctrl as the window's key and mouse messages report them.
struct ModifierKeys {
    bool alt = false;
    bool shift = false;
    bool ctrl = false;

    // Key down/up of keys 18 (Alt), 16 (Shift), 17 (Ctrl) set/clear them; WM_CHAR sets Alt to
    // bit 29 of lParam. Other messages change nothing.
    void trackKeys(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Mouse button and move messages: Ctrl from MK_CONTROL (8), Shift from MK_SHIFT (4).
    void trackMouse(unsigned message, std::uintptr_t wParam);
};

}  // namespace winlib
