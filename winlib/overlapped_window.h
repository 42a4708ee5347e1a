#pragma once
// A top-level window: WS_OVERLAPPEDWINDOW, visible; its window class is the application name
// followed by "_OVERLAPPED_WINDOW".

#include "winlib/callback_window.h"

namespace winlib {

class OverlappedWindow : public CallbackWindow {
public:
    explicit OverlappedWindow(BasicWindow* owner = nullptr);
    vek::STRING getWindowClassName() const override;
};

}  // namespace winlib
