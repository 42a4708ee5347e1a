// Worker threads that report their end to a window.
#include "winlib/async_thread.h"

#include "winlib/callback_window.h"

namespace winlib {

AsyncThread::AsyncThread(CallbackWindow* target, LPARAM data)
    : target_(target), targetHandle_(target != nullptr ? target->getHandle() : nullptr), data_(data) {
    vek::purgeThreads();
    setAutoDelete(true);
}

void AsyncThread::ExecuteThread() {
    try {
        ExecuteTask();
    } catch (...) {
        // The window waits for the end message: it must come however the task ended.
        postEnd();
        throw;
    }
    postEnd();
}

void AsyncThread::postEnd() const {
    // A window that is gone makes the post fail; nothing else is to be done then.
    if (targetHandle_ != nullptr && targetHandle_ != destroyedHandle())
        PostMessageA(targetHandle_, WM_ASYNC_TASK_END, 0, data_);
}

}  // namespace winlib
