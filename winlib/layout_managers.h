#pragma once
// The five layout managers, and making one from a `layoutManager` element of the definition.

#include <memory>

#include "winlib/layout_manager.h"
#include "xml/xml_container.h"

namespace winlib {

// Docks the children to the edges in list order: attachment 0 left, 1 top, 2 right, 3 bottom,
// 4 or more fills what is left.
class AttachmentManager : public LayoutManager {
public:
    using LayoutManager::LayoutManager;
    void doLayout(const vek::Array<BasicWindow*>& children, Size size) override;
};

// Equal cells side by side for the visible children.
class RowManager : public LayoutManager {
public:
    using LayoutManager::LayoutManager;
    void doLayout(const vek::Array<BasicWindow*>& children, Size size) override;
};

// Equal cells one above the other for the visible children.
class ColManager : public LayoutManager {
public:
    using LayoutManager::LayoutManager;
    void doLayout(const vek::Array<BasicWindow*>& children, Size size) override;
};

// The only child fills the area; with none or several nothing happens.
class SingleChildManager : public LayoutManager {
public:
    using LayoutManager::LayoutManager;
    void doLayout(const vek::Array<BasicWindow*>& children, Size size) override;
};

// A grid with spans and growth weights.
class TableManager : public LayoutManager {
public:
    using LayoutManager::LayoutManager;
    Size calcSize(const vek::Array<BasicWindow*>& children, Size size) override;
    void doLayout(const vek::Array<BasicWindow*>& children, Size size) override;
    // The grid of the last call, for hit tests; its cells hold indices into that call's children.
    const TableGrid& getGrid() const { return grid_; }

private:
    TableGrid grid_;
};

// The manager a `layoutManager` element names, its margins scaled to dpi; null for an unknown
// type. Throws the number errors for bad margins.
std::unique_ptr<LayoutManager> createLayoutManager(const vek::xml::XmlContainer& element, bool design, int dpi);

}  // namespace winlib
