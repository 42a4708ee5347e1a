#pragma once
// The drawing context handed to handleErase and handleRepaint. It does not own the HDC; it
// remembers the pen, brush and text alignment it found and puts them back when it ends.

#include <windows.h>

namespace winlib {

class Device {
public:
    // Wraps dc and sets TA_UPDATECP, so that text continues at the current position.
    explicit Device(HDC dc);
    ~Device();  // restores the text alignment and the pen and brush that were selected before
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    HDC getHandle() const { return dc_; }
    // Selects a pen or brush; the caller keeps owning it and must keep it alive while selected.
    void selectPen(HPEN pen);
    void selectBrush(HBRUSH brush);
    void rectangle(int left, int top, int right, int bottom);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void polygon(const POINT* points, int count);

private:
    HDC dc_;
    HGDIOBJ originalPen_ = nullptr;    // set by the first selectPen
    HGDIOBJ originalBrush_ = nullptr;  // set by the first selectBrush
    UINT originalAlign_;               // the alignment before TA_UPDATECP, or GDI_ERROR
};

}  // namespace winlib
