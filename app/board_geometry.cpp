#include "app/board_geometry.h"

#include <algorithm>

namespace chessapp {
namespace {

// Display column and row of a square in the normal view; the turned view mirrors both.
struct DisplayPosition {
    int column;
    int row;
};

DisplayPosition displayPositionOf(vek::chess::Square s, bool turned) {
    const int column = s.column - 'a';
    const int row = 8 - s.row;
    return turned ? DisplayPosition{7 - column, 7 - row} : DisplayPosition{column, row};
}

}  // namespace

std::int32_t squareSizeFor(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t boardLeft) {
    return std::min((clientWidth - boardLeft) / 8, clientHeight / 8);
}

std::optional<Cell> displayCell(const BoardGeometry& geometry, int column, int row) {
    if (!geometry.hasBoard())
        return std::nullopt;
    return Cell{geometry.boardLeft + column * geometry.squareSize, row * geometry.squareSize, geometry.squareSize};
}

std::optional<Cell> cellOf(const BoardGeometry& geometry, vek::chess::Square s) {
    if (!vek::chess::isOnBoard(s))
        return std::nullopt;
    const DisplayPosition position = displayPositionOf(s, geometry.turned);
    return displayCell(geometry, position.column, position.row);
}

std::optional<vek::chess::Square> squareAtPoint(const BoardGeometry& geometry, std::uint32_t x, std::uint32_t y) {
    if (!geometry.hasBoard())  // never divide by a size of 0 or less
        return std::nullopt;
    const auto size = static_cast<std::uint32_t>(geometry.squareSize);
    const std::uint32_t column = (x - static_cast<std::uint32_t>(geometry.boardLeft)) / size;
    const std::uint32_t row = y / size;
    if (column >= 8 || row >= 8)
        return std::nullopt;
    const int c = geometry.turned ? 7 - static_cast<int>(column) : static_cast<int>(column);
    const int r = geometry.turned ? 7 - static_cast<int>(row) : static_cast<int>(row);
    return vek::chess::Square{static_cast<char>('a' + c), static_cast<std::int8_t>(8 - r)};
}

}  // namespace chessapp
