#pragma once
// Points, sizes and rectangles in pixels, shared by the framework, the layout arithmetic and the
// chess program's board geometry. Plain values, no platform types.

namespace winlib {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

}  // namespace winlib
