// Child windows and the frame that holds controls.
#include "winlib/child_window.h"

#include "winlib/dpi.h"

namespace winlib {

ChildWindow::ChildWindow(BasicWindow* owner) : CallbackWindow(owner) { setStyle(WS_CHILD | WS_VISIBLE); }

int ChildWindow::create(BasicWindow* parent) {
    setStyle(getStyle() | WS_CHILD);
    if (CallbackWindow::create(parent) != 0)
        return 1;
    setFont(guiFont(getDpi()));
    return 0;
}

vek::STRING ChildWindow::getWindowClassName() const { return "ChildWindow"; }

FrameChild::FrameChild(BasicWindow* owner) : ChildWindow(owner) {
    setStyle(WS_CHILD | WS_VISIBLE | WS_GROUP);
    setExStyle(WS_EX_CONTROLPARENT);
}

vek::STRING FrameChild::getWindowClassName() const { return "FrameChild"; }

}  // namespace winlib
