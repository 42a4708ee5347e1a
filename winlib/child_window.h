#pragma once
// Child windows of the framework: ChildWindow (its class name is left to subclasses) and
// FrameChild, a child that holds controls and takes part in dialog navigation.

#include "winlib/callback_window.h"

namespace winlib {

class ChildWindow : public CallbackWindow {
public:
    explicit ChildWindow(BasicWindow* owner);
    // Adds WS_CHILD, creates the window and gives it the font of its DPI (guiFont): 0 success, 1 failure.
    int create(BasicWindow* parent);
    // "ChildWindow" unless a subclass names its own class.
    vek::STRING getWindowClassName() const override;
};

class FrameChild : public ChildWindow {
public:
    explicit FrameChild(BasicWindow* owner);
    vek::STRING getWindowClassName() const override;  // "FrameChild"
};

}  // namespace winlib
