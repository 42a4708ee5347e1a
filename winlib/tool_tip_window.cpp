// The help tooltip popup.
#include "winlib/tool_tip_window.h"

#include "winlib/application.h"
#include "winlib/controls.h"
#include "winlib/window_class.h"

namespace winlib {

namespace {

constexpr COLORREF kToolTipColour = 0x80FFFF;  // light yellow
constexpr int kMargin = 4;

}  // namespace

ToolTipWindow::ToolTipWindow(BasicWindow* owner) : CallbackWindow(owner) {
    setStyle(WS_POPUP | WS_BORDER);
    setExStyle(WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    setBackground(SharedBrush::solid(kToolTipColour));
}

vek::STRING ToolTipWindow::getWindowClassName() const {
    Application* application = Application::getInstance();
    const vek::STRING name = application != nullptr ? application->getApplicationName() : vek::STRING("winlib");
    return name + "_TOOL_TIP_WINDOW";
}

void ToolTipWindow::prepareWindowClass(const vek::STRING& className) {
    // The class outlives every tooltip: its brush is never deleted.
    static const HBRUSH classBrush = CreateSolidBrush(kToolTipColour);
    registerWindowClass(className, classBrush);
}

void ToolTipWindow::showText(const vek::STRING& text, Point screenPoint) {
    if (!hasLiveHandle()) {
        if (create(nullptr) != 0)
            return;
        label_ = new Label(this);
        label_->setBackground(getBackground());
        label_->setPosition(kMargin, kMargin / 2);
        if (label_->create(this) != 0)
            return;
        label_->setFont(SharedFont::stock(ANSI_VAR_FONT));
    }
    label_->setText(text);
    label_->setSize(0, 0);
    move(screenPoint.x, screenPoint.y, label_->getWidth() + 2 * kMargin, label_->getHeight() + kMargin);
    ShowWindow(getHandle(), SW_SHOWNOACTIVATE);
}

void ToolTipWindow::hide() { show(false); }

}  // namespace winlib
