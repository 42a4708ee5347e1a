#pragma once
// The figures are drawn as filled polygons from small outline tables. An outline is a closed
// list of grid points, x to the right and y upward from the bottom of the cell; one unit is a
// quarter of a square across and a seventh of it up. Pure functions; safe from any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/board_geometry.h"
#include "chess/types.h"

namespace chessapp {

struct OutlinePoint {
    std::int32_t x;
    std::int32_t y;
};

// The outline of a figure kind in grid units, the last point repeating the first; empty for a
// code outside 1 to 6.
std::span<const OutlinePoint> figureOutline(std::int32_t kind);

// The pixel polygon of a figure drawn in a cell: at most 14 points (the king's outline).
struct FigurePolygon {
    static constexpr std::size_t kCapacity = 14;

    std::array<PixelPoint, kCapacity> points{};
    std::size_t count = 0;
};

// The outline of `kind` scaled to the cell, standing on its bottom edge and centred across it
// (unless it already spans the whole width).
FigurePolygon figurePolygon(std::int32_t kind, const Cell& cell);

}  // namespace chessapp
