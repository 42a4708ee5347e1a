#include "winlib/layout_manager.h"

#include "winlib/window.h"

namespace winlib {

LayoutManager::LayoutManager(const Margins& margins, bool design) : margins_(margins), design_(design) {}

LayoutManager::~LayoutManager() = default;

Size LayoutManager::calcSize(const vek::Array<BasicWindow*>& /*children*/, Size size) {
    return size;
}

LayoutItems LayoutManager::describe(const vek::Array<BasicWindow*>& children) {
    LayoutItems items;
    items.reserve(children.getCount());
    for (const BasicWindow* child : children)
        items.push_back(LayoutItem{child->getLayoutData(), child->isVisible(), child->getCurrentSize()});
    return items;
}

void LayoutManager::place(const vek::Array<BasicWindow*>& children, const Placements& placements) {
    for (const Placement& placement : placements) {
        const Rect& r = placement.rect;
        children[placement.index]->move(r.x, r.y, r.width, r.height);
    }
}

}  // namespace winlib
