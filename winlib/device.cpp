// The drawing context of the paint handlers.
#include "winlib/device.h"

namespace winlib {

Device::Device(HDC dc) : dc_(dc), originalAlign_(SetTextAlign(dc_, TA_UPDATECP)) {}

Device::~Device() {
    // The context may be another window's (a control's WM_ERASEBKGND sent on to its parent):
    // it gets its text alignment back, or its own text would be drawn at the current position.
    if (originalAlign_ != GDI_ERROR)
        SetTextAlign(dc_, originalAlign_);
    if (originalPen_ != nullptr)
        SelectObject(dc_, originalPen_);
    if (originalBrush_ != nullptr)
        SelectObject(dc_, originalBrush_);
}

void Device::selectPen(HPEN pen) {
    HGDIOBJ previous = SelectObject(dc_, pen);
    if (originalPen_ == nullptr)
        originalPen_ = previous;
}

void Device::selectBrush(HBRUSH brush) {
    HGDIOBJ previous = SelectObject(dc_, brush);
    if (originalBrush_ == nullptr)
        originalBrush_ = previous;
}

void Device::rectangle(int left, int top, int right, int bottom) { Rectangle(dc_, left, top, right, bottom); }

void Device::moveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void Device::lineTo(int x, int y) { LineTo(dc_, x, y); }

void Device::polygon(const POINT* points, int count) { Polygon(dc_, points, count); }

}  // namespace winlib
