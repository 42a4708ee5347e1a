#include "winlib/layout_arithmetic.h"

#include <algorithm>
#include <climits>

namespace winlib {

namespace {

using Wide = std::int64_t;

int clampToInt(Wide value) {
    return static_cast<int>(std::clamp<Wide>(value, INT_MIN, INT_MAX));
}

Rect makeRect(Wide x, Wide y, Wide width, Wide height) {
    return Rect{clampToInt(x), clampToInt(y), clampToInt(width), clampToInt(height)};
}

// The paddings of a child, none without layout data.
struct Padding {
    Wide left = 0;
    Wide top = 0;
    Wide right = 0;
    Wide bottom = 0;
};

Padding paddingOf(const LayoutData* data) {
    if (data == nullptr)
        return Padding{};
    return Padding{data->paddingLeft, data->paddingTop, data->paddingRight, data->paddingBottom};
}

enum Attachment : int { atLEFT = 0, atTOP = 1, atRIGHT = 2, atBOTTOM = 3 };

}  // namespace

Placements layoutAttachments(const LayoutItems& items, Size size, const Margins& margins) {
    Placements placements;
    Wide left = margins.left;
    Wide top = margins.top;
    Wide availableWidth = Wide{size.width} - margins.right - margins.left;
    Wide availableHeight = Wide{size.height} - margins.bottom - margins.top;
    for (std::size_t i = 0; i < items.size() && availableHeight > 0 && availableWidth > 0; ++i) {
        const LayoutItem& item = items[i];
        if (item.data == nullptr || !item.visible)
            continue;
        const Wide w = item.size.width;
        const Wide h = item.size.height;
        const Padding p = paddingOf(item.data);
        const Wide stretchedWidth = item.data->growWidth != 0 ? availableWidth - p.right - p.left : w;
        const Wide stretchedHeight = item.data->growHeight != 0 ? availableHeight - p.bottom - p.top : h;
        Rect rect;
        switch (item.data->attachment) {
            case atLEFT:
                rect = makeRect(left + p.left, top + p.top, w, stretchedHeight);
                left += p.left + w + p.right;
                availableWidth -= p.left + w + p.right;
                break;
            case atTOP:
                rect = makeRect(left + p.left, top + p.top, stretchedWidth, h);
                top += p.top + h + p.bottom;
                availableHeight -= p.top + h + p.bottom;
                break;
            case atRIGHT:
                rect = makeRect(left + availableWidth - p.right - w, top + p.top, w, stretchedHeight);
                availableWidth -= p.left + w + p.right;
                break;
            case atBOTTOM:
                rect = makeRect(left + p.left, top + availableHeight - p.bottom - h, stretchedWidth, h);
                availableHeight -= p.top + h + p.bottom;
                break;
            default:  // fill what is left, consuming nothing
                rect = makeRect(left + p.left, top + p.top, stretchedWidth, stretchedHeight);
                break;
        }
        placements.push_back(Placement{i, rect});
    }
    return placements;
}

Placements layoutRow(const LayoutItems& items, Size size, const Margins& margins) {
    const auto visible = std::count_if(items.begin(), items.end(), [](const LayoutItem& item) { return item.visible; });
    Placements placements;
    if (visible == 0)
        return placements;
    const Wide cellWidth = (Wide{size.width} - (Wide{margins.right} + margins.left)) / visible;
    const Wide cellHeight = Wide{size.height} - (Wide{margins.bottom} + margins.top);
    Wide cellX = margins.left;
    const Wide cellY = margins.top;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible)
            continue;
        const Padding p = paddingOf(items[i].data);
        placements.push_back(Placement{
            i, makeRect(cellX + p.left, cellY + p.top, cellWidth - (p.right + p.left), cellHeight - (p.bottom + p.top))});
        cellX += cellWidth;
    }
    return placements;
}

namespace {

// The same layout with the axes exchanged: a column is a row of the transposed area.
Size transposed(Size size) {
    return Size{size.height, size.width};
}

Margins transposed(const Margins& margins) {
    return Margins{margins.top, margins.left, margins.bottom, margins.right};
}

LayoutData transposed(const LayoutData& data) {
    LayoutData swapped = data;
    swapped.paddingLeft = data.paddingTop;
    swapped.paddingTop = data.paddingLeft;
    swapped.paddingRight = data.paddingBottom;
    swapped.paddingBottom = data.paddingRight;
    return swapped;
}

}  // namespace

Placements layoutColumn(const LayoutItems& items, Size size, const Margins& margins) {
    std::vector<LayoutData> swappedData;
    swappedData.reserve(items.size());
    LayoutItems swapped = items;
    for (LayoutItem& item : swapped) {
        if (item.data != nullptr) {
            swappedData.push_back(transposed(*item.data));
            item.data = &swappedData.back();
        }
        item.size = transposed(item.size);
    }
    Placements placements = layoutRow(swapped, transposed(size), transposed(margins));
    for (Placement& placement : placements) {
        const Rect r = placement.rect;
        placement.rect = Rect{r.y, r.x, r.height, r.width};
    }
    return placements;
}

Placements layoutSingleChild(const LayoutItems& items, Size size, const Margins& margins) {
    if (items.size() != 1)
        return {};
    const Padding p = paddingOf(items[0].data);
    return {Placement{0, makeRect(Wide{margins.left} + p.left, Wide{margins.top} + p.top,
                                  Wide{size.width} - margins.left - margins.right - (p.left + p.right),
                                  Wide{size.height} - margins.top - margins.bottom - (p.top + p.bottom))}};
}

namespace {

// Spans as stored: below 1 counts as 1.
Wide spanOf(int span) {
    return std::max(span, 1);
}

bool inTable(const LayoutItem& item) {
    if (item.data == nullptr || !item.visible)
        return false;
    const LayoutData& d = *item.data;
    return d.x >= 0 && d.y >= 0 && d.x + spanOf(d.width) <= kMaxTableLines && d.y + spanOf(d.height) <= kMaxTableLines;
}

// Records what a child needs in the lines [first, first + span).
void measure(std::vector<TableLine>& lines, Wide first, Wide span, Wide needed, Wide grow) {
    if (lines.size() < static_cast<std::size_t>(first + span))
        lines.resize(static_cast<std::size_t>(first + span));
    const Wide perLine = std::max<Wide>(needed, 0) / span;
    for (Wide i = first; i < first + span; ++i) {
        TableLine& line = lines[static_cast<std::size_t>(i)];
        if (grow != 0)
            line.weight = std::max(line.weight, grow);
        else
            line.size = std::max(line.size, perLine);
    }
}

// Shares what the fixed lines leave among the growing ones and sets the positions.
void distribute(std::vector<TableLine>& lines, Wide available, Wide start, bool design) {
    Wide remaining = available;
    Wide weightSum = 0;
    for (TableLine& line : lines) {
        if (line.weight != 0) {
            weightSum += line.weight;
        } else {
            if (design && line.size == 0)
                line.size = 20;
            remaining -= line.size;
        }
    }
    const Wide perWeight = weightSum != 0 ? remaining / weightSum : 0;
    Wide position = start;
    for (TableLine& line : lines) {
        line.position = position;
        if (line.weight != 0)
            line.size = line.weight * perWeight;
        position += line.size;
    }
}

Wide spannedSize(const std::vector<TableLine>& lines, Wide first, Wide span) {
    Wide sum = 0;
    for (Wide i = first; i < first + span; ++i)
        sum += lines[static_cast<std::size_t>(i)].size;
    return sum;
}

}  // namespace

TableGrid layoutTable(const LayoutItems& items, Size size, const Margins& margins, bool design) {
    TableGrid grid;
    grid.needed = size;
    for (const LayoutItem& item : items) {
        if (!inTable(item))
            continue;
        const LayoutData& d = *item.data;
        const Padding p = paddingOf(&d);
        measure(grid.columns, d.x, spanOf(d.width), p.right + p.left + item.size.width, d.growWidth);
        measure(grid.rows, d.y, spanOf(d.height), p.bottom + p.top + item.size.height, d.growHeight);
    }
    distribute(grid.columns, Wide{size.width} - margins.right - margins.left, margins.left, design);
    distribute(grid.rows, Wide{size.height} - margins.bottom - margins.top, margins.top, design);

    grid.cells.assign(grid.columns.size() * grid.rows.size(), kNoItem);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!inTable(items[i]))
            continue;
        const LayoutData& d = *items[i].data;
        const Wide spanX = spanOf(d.width);
        const Wide spanY = spanOf(d.height);
        for (Wide c = d.x; c < d.x + spanX; ++c) {
            for (Wide r = d.y; r < d.y + spanY; ++r)
                grid.cells[static_cast<std::size_t>(c) * grid.rows.size() + static_cast<std::size_t>(r)] = i;
        }
        const Padding p = paddingOf(&d);
        const Wide x0 = grid.columns[static_cast<std::size_t>(d.x)].position + p.left;
        const Wide y0 = grid.rows[static_cast<std::size_t>(d.y)].position + p.top;
        const Wide width = d.growWidth != 0 ? spannedSize(grid.columns, d.x, spanX) - (p.right + p.left) : items[i].size.width;
        const Wide height = d.growHeight != 0 ? spannedSize(grid.rows, d.y, spanY) - (p.bottom + p.top) : items[i].size.height;
        if (width > 0)
            grid.needed.width = std::max(grid.needed.width, clampToInt(x0 + width));
        if (height > 0)
            grid.needed.height = std::max(grid.needed.height, clampToInt(y0 + height));
        grid.placements.push_back(Placement{i, makeRect(x0, y0, width, height)});
    }
    return grid;
}

Placements tablePlacements(const TableGrid& grid) {
    Placements placements;
    for (const Placement& placement : grid.placements) {
        if (placement.rect.width > 0 && placement.rect.height > 0)
            placements.push_back(placement);
    }
    return placements;
}

}  // namespace winlib
