#pragma once
// ControlWindow: the base of the wrappers around the system's controls. Each control knows its
// system window class and default style, creates its window as a child, takes over the
// parent's font and may be subclassed (its window procedure replaced by controlWindowProc).

#include "winlib/window.h"

namespace winlib {

class ControlWindow : public BasicWindow {
public:
    explicit ControlWindow(BasicWindow* owner);
    ~ControlWindow() override;

    // Adds WS_CHILD and creates the window in parent; then gives it its own font or the
    // parent's (recorded as its own) and applies a pending subclass. 0 success, 1 failure.
    virtual int create(BasicWindow* parent);
    // For subclassed controls: the context menu on a right button press, everything else to
    // the previous procedure.
    virtual LRESULT controlWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Without a handle 0; else destroys the window and has the parent remove (and delete) it.
    int close() override;

    // Replaces the window procedure now, or once the window is created.
    void subclass();
    bool isSubclassed() const { return previousProc_ != nullptr; }
    // The menu opened by a right click on a subclassed control; the caller keeps owning it.
    void setContextMenu(HMENU menu) { contextMenu_ = menu; }

protected:
    // The procedure that was replaced by subclass().
    LRESULT callPreviousProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void applySubclass();
    void applyFont(BasicWindow* parent);

    WNDPROC previousProc_ = nullptr;
    int pendingSubclass_ = 0;
    HMENU contextMenu_ = nullptr;
};

}  // namespace winlib
