// Decoding of message arguments, command and timer routing, modifier keys and status actions.
#include "winlib/message_decoding.h"

namespace winlib {

namespace {

// The system's message numbers and notification codes used here.
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kKeyUp = 0x0101;
constexpr unsigned kChar = 0x0102;
constexpr unsigned kSysKeyDown = 0x0104;
constexpr unsigned kSysKeyUp = 0x0105;
constexpr unsigned kFirstMouseMessage = 0x0200;  // WM_MOUSEMOVE
constexpr unsigned kLastMouseMessage = 0x0209;   // WM_MBUTTONDBLCLK
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kAltKey = 18;
constexpr std::uintptr_t kMouseShift = 4;
constexpr std::uintptr_t kMouseControl = 8;
constexpr int kClicked = 0;          // BN_CLICKED
constexpr int kSelectionChange = 1;  // LBN_SELCHANGE, CBN_SELCHANGE
constexpr int kComboEditChange = 5;  // CBN_EDITCHANGE
constexpr int kEditChange = 0x300;   // EN_CHANGE

unsigned lowWord(std::uintptr_t value) { return static_cast<unsigned>(value & 0xFFFFu); }
unsigned highWord(std::uintptr_t value) { return static_cast<unsigned>((value >> 16) & 0xFFFFu); }

}  // namespace

Point decodePoint(std::intptr_t lParam) {
    const auto bits = static_cast<std::uintptr_t>(lParam);
    return Point{static_cast<int>(lowWord(bits)), static_cast<int>(highWord(bits))};
}

Size decodeSize(std::intptr_t lParam) {
    const auto bits = static_cast<std::uintptr_t>(lParam);
    return Size{static_cast<int>(lowWord(bits)), static_cast<int>(highWord(bits))};
}

CommandArguments decodeCommand(std::uintptr_t wParam) {
    return CommandArguments{static_cast<int>(lowWord(wParam)), static_cast<int>(highWord(wParam))};
}

CommandRoute routeCommand(int code, bool fromControl) {
    if (!fromControl)
        return crCOMMAND;
    switch (code) {
    case kClicked:
        return crBUTTON_CLICK;
    case kEditChange:
    case kComboEditChange:
        return crEDIT_CHANGE;
    case kSelectionChange:
        return crSELECTION_CHANGED;
    default:
        return crNOTIFICATION;
    }
}

TimerRoute routeTimer(std::uintptr_t timerId) {
    if (timerId == 1)
        return trWINDOW;
    if (timerId == 2)
        return trHELP;
    return trNONE;
}

StatusAction actionForStatus(ProcessStatus status, bool hasParent) {
    switch (status) {
    case psPROCESSED:
        return saRETURN_RESULT;
    case psSEND_TO_PARENT:
        return hasParent ? saSEND_TO_PARENT : saRETURN_RESULT;
    case psPOST_TO_PARENT:
        return hasParent ? saPOST_TO_PARENT : saRETURN_RESULT;
    case psDO_DEFAULT:
    default:
        return saCALL_DEFAULT;
    }
}

void ModifierKeys::trackKeys(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    bool down = false;
    switch (message) {
    case kKeyDown:
    case kSysKeyDown:
        down = true;
        break;
    case kKeyUp:
    case kSysKeyUp:
        break;
    case kChar:
        alt = (static_cast<std::uintptr_t>(lParam) & (std::uintptr_t{1} << 29)) != 0;
        return;
    default:
        return;
    }
    switch (wParam) {
    case kAltKey:
        alt = down;
        break;
    case kShiftKey:
        shift = down;
        break;
    case kControlKey:
        ctrl = down;
        break;
    default:
        break;
    }
}

void ModifierKeys::trackMouse(unsigned message, std::uintptr_t wParam) {
    if (message < kFirstMouseMessage || message > kLastMouseMessage)
        return;
    ctrl = (wParam & kMouseControl) != 0;
    shift = (wParam & kMouseShift) != 0;
}

}  // namespace winlib
