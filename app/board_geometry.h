#pragma once
// Where the board lies in the main window's client area: the square size that a client size
// allows, the cell in which a square is drawn (normal or turned view) and the square under a
// click. Plain values; safe to use from any thread.

#include <cstdint>
#include <optional>

#include "chess/types.h"

namespace chessapp {

// The board's placement: its left edge, the edge length of a square and the view direction.
// A squareSize of 0 or less means there is no room for a board: nothing is drawn and clicks
// find no square.
struct BoardGeometry {
    std::int32_t boardLeft = 280;
    std::int32_t squareSize = 0;
    bool turned = false;

    bool hasBoard() const { return squareSize > 0; }
    // 8 squares wide and high.
    std::int32_t boardExtent() const { return 8 * squareSize; }
};

// The larger square size that fits both right of boardLeft and into the client height; each
// division rounds down (toward zero), so a client too small for a board gives 0 or less.
std::int32_t squareSizeFor(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t boardLeft);

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend constexpr bool operator==(PixelPoint, PixelPoint) = default;
};

// A drawn cell: its top-left corner in client coordinates and its edge length.
struct Cell {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t size = 0;

    std::int32_t right() const { return left + size; }
    std::int32_t bottom() const { return top + size; }
    friend constexpr bool operator==(Cell, Cell) = default;
};

// The cell in display column `column` (0 left) and display row `row` (0 top); none without a
// board.
std::optional<Cell> displayCell(const BoardGeometry& geometry, int column, int row);

// The cell in which square s is drawn: row 8 at the top and column a at the left, or, turned,
// row 1 at the top and column h at the left. None without a board or for a square off the board.
std::optional<Cell> cellOf(const BoardGeometry& geometry, vek::chess::Square s);

// The square under a client point (the unsigned words of a mouse message). The board's right
// and bottom border lines already lie outside; a point left of the board wraps round in the
// unsigned arithmetic and lies outside too. None without a board.
std::optional<vek::chess::Square> squareAtPoint(const BoardGeometry& geometry, std::uint32_t x, std::uint32_t y);

}  // namespace chessapp
