#pragma once
// A worker thread that reports to a window: it runs its task and then posts WM_ASYNC_TASK_END
// with its data word to the target window, so that the window collects the result on the main
// thread. The message is posted exactly once per run, whether the task returns or throws.

#include <windows.h>

#include "foundation/thread.h"

namespace winlib {

class CallbackWindow;

class AsyncThread : public vek::Thread {
public:
    // Purges finished threads first; the thread deletes itself once finished and released.
    // Takes the target's handle now (on the main thread): the worker never reads the window.
    AsyncThread(CallbackWindow* target, LPARAM data);

    // The task, then PostMessageA(target, WM_ASYNC_TASK_END, 0, data); a task's exception is
    // passed on to the thread's entry after the message is posted.
    void ExecuteThread() final;

    CallbackWindow* getTarget() const { return target_; }
    LPARAM getData() const { return data_; }

protected:
    // The work, on the worker thread; poll isTerminated() when it can run long.
    virtual void ExecuteTask() = 0;

private:
    void postEnd() const;

    CallbackWindow* target_;
    HWND targetHandle_;  // taken on the main thread at construction
    LPARAM data_;
};

}  // namespace winlib
