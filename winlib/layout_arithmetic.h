#pragma once
// The arithmetic of the layout managers as plain functions: each takes what a manager sees of
// the children (layout data, visibility, current size) and the client size, and returns where
// the children go. The Win32 managers only gather these items and move the windows. Sums are
// formed in 64 bits and the results kept within int, so no margin or padding of a definition
// can overflow.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "winlib/geometry.h"
#include "winlib/layout_data.h"

namespace winlib {

// What a manager sees of one child.
struct LayoutItem {
    const LayoutData* data = nullptr;  // null: the child has no layout data
    bool visible = false;
    Size size;                         // the child's current size
};
using LayoutItems = std::vector<LayoutItem>;

// Place item `index` at rect (a size of 0 is then replaced by the measured text size).
struct Placement {
    std::size_t index = 0;
    Rect rect;
};
using Placements = std::vector<Placement>;

// Docking to the edges in list order, while room is left.
Placements layoutAttachments(const LayoutItems& items, Size size, const Margins& margins);
// Equal cells for the visible children, side by side.
Placements layoutRow(const LayoutItems& items, Size size, const Margins& margins);
// Equal cells for the visible children, one above the other.
Placements layoutColumn(const LayoutItems& items, Size size, const Margins& margins);
// The one child fills the area; nothing with no child or several.
Placements layoutSingleChild(const LayoutItems& items, Size size, const Margins& margins);

// A column or row of a table.
struct TableLine {
    std::int64_t position = 0;
    std::int64_t size = 0;
    std::int64_t weight = 0;
};

// A child whose column or row span reaches beyond this many lines is left where it is: a
// definition's indices must not make the table grow without bound.
constexpr std::int64_t kMaxTableLines = 256;
constexpr std::size_t kNoItem = static_cast<std::size_t>(-1);

struct TableGrid {
    std::vector<TableLine> columns;
    std::vector<TableLine> rows;
    // The item in each cell, column-major (column * row count + row); kNoItem when empty.
    std::vector<std::size_t> cells;
    // Every visible child with layout data in the table, sizes possibly 0 or negative.
    Placements placements;
    // The size the children need, at least the given size.
    Size needed;
};

// The table of the visible children with layout data. In design mode empty columns and rows
// get 20 pixels, so that they can be seen and hit.
TableGrid layoutTable(const LayoutItems& items, Size size, const Margins& margins, bool design);
// Those placements of a table that the table manager carries out: both sizes positive.
Placements tablePlacements(const TableGrid& grid);

}  // namespace winlib
