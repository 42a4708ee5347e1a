#pragma once
// What a window's message handler answers, and the framework's own window message.

namespace winlib {

// A handler's answer; the window procedure turns it into its return value.
enum ProcessStatus : int {
    psPROCESSED = 0,       // return the stored result
    psDO_DEFAULT = 1,      // return the default window procedure's answer
    psSEND_TO_PARENT = 2,  // send the same message to the parent, then return the stored result
    psPOST_TO_PARENT = 3,  // post the same message to the parent, then return the stored result
};

// Posted by an asynchronous thread to its window when its task has ended (WM_USER + 30); the
// lParam carries the thread's data word.
constexpr unsigned WM_ASYNC_TASK_END = 0x0400 + 30;

}  // namespace winlib
