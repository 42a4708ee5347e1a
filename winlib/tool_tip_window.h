#pragma once
// The popup that shows a help text on a light yellow background; its window class is the
// application name followed by "_TOOL_TIP_WINDOW".

#include "winlib/callback_window.h"

namespace winlib {

class Label;

class ToolTipWindow : public CallbackWindow {
public:
    explicit ToolTipWindow(BasicWindow* owner = nullptr);
    vek::STRING getWindowClassName() const override;

    // Shows text with its top left corner at the screen point, creating the window on first use.
    void showText(const vek::STRING& text, Point screenPoint);
    void hide();

protected:
    void prepareWindowClass(const vek::STRING& className) override;

private:
    Label* label_ = nullptr;  // owned by this window
};

}  // namespace winlib
