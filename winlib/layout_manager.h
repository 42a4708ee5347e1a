#pragma once
// LayoutManager: the base of the managers that place a window's children in its client area
// whenever that area changes size. The arithmetic lives in layout_arithmetic.h; a manager
// describes the children to it and moves them where it says. Main thread only.

#include "foundation/array.h"
#include "winlib/geometry.h"
#include "winlib/layout_arithmetic.h"

namespace winlib {

class BasicWindow;

class LayoutManager {
public:
    explicit LayoutManager(const Margins& margins = Margins{}, bool design = false);
    virtual ~LayoutManager();
    LayoutManager(const LayoutManager&) = delete;
    LayoutManager& operator=(const LayoutManager&) = delete;

    // The size the children need, at least size; the base answers size itself.
    virtual Size calcSize(const vek::Array<BasicWindow*>& children, Size size);
    // Places the children (in creation order) in a client area of that size.
    virtual void doLayout(const vek::Array<BasicWindow*>& children, Size size) = 0;

    const Margins& getMargins() const { return margins_; }
    void setMargins(const Margins& margins) { margins_ = margins; }
    // Set when the manager serves a form designer.
    bool isDesign() const { return design_; }

protected:
    // What the arithmetic sees of each child: layout data, visibility, current size.
    static LayoutItems describe(const vek::Array<BasicWindow*>& children);
    // Moves and sizes the children as placed (a 0 size becomes the measured text size).
    static void place(const vek::Array<BasicWindow*>& children, const Placements& placements);

private:
    Margins margins_;
    bool design_;
};

}  // namespace winlib
