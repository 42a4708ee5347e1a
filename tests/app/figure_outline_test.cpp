#include <algorithm>

#include <gtest/gtest.h>

#include "app/figure_outline.h"

namespace chessapp {
namespace {

TEST(FigureOutline, ThePawnIsCentredInItsCell) {
    const Cell cell{280 + 56, 56, 56};
    const FigurePolygon pawn = figurePolygon(vek::chess::PAWN, cell);
    ASSERT_EQ(pawn.count, 8u);
    std::int32_t left = 1000, right = -1000, top = 1000, bottom = -1000;
    for (std::size_t i = 0; i < pawn.count; ++i) {
        left = std::min(left, pawn.points[i].x);
        right = std::max(right, pawn.points[i].x);
        top = std::min(top, pawn.points[i].y);
        bottom = std::max(bottom, pawn.points[i].y);
    }
    EXPECT_EQ(left, cell.left + 14);
    EXPECT_EQ(right, cell.left + 42);
    EXPECT_EQ(bottom, cell.bottom());
    EXPECT_EQ(top, cell.bottom() - 32);
    EXPECT_EQ(pawn.points[0], (PixelPoint{cell.left + 14, cell.bottom()}));
    EXPECT_EQ(pawn.points[1], (PixelPoint{cell.left + 28, cell.bottom() - 16}));
}

TEST(FigureOutline, EveryFigureStaysInsideItsCellAndIsClosed) {
    const std::size_t counts[] = {8, 7, 4, 9, 8, 14};
    for (std::int32_t kind = vek::chess::PAWN; kind <= vek::chess::KING; ++kind) {
        ASSERT_EQ(figureOutline(kind).size(), counts[kind - 1]) << kind;
        for (std::int32_t size = 1; size <= 120; ++size) {
            const Cell cell{300 + 3 * size, 2 * size, size};
            const FigurePolygon polygon = figurePolygon(kind, cell);
            ASSERT_EQ(polygon.count, counts[kind - 1]);
            EXPECT_EQ(polygon.points[0], polygon.points[polygon.count - 1]);
            for (std::size_t i = 0; i < polygon.count; ++i) {
                const PixelPoint p = polygon.points[i];
                EXPECT_TRUE(p.x >= cell.left && p.x <= cell.right() && p.y >= cell.top && p.y <= cell.bottom())
                    << "kind " << kind << " size " << size << " point " << i;
            }
        }
    }
}

TEST(FigureOutline, AFullWidthKnightIsNotMovedAndTinyCellsGiveLines) {
    const FigurePolygon knight = figurePolygon(vek::chess::KNIGHT, Cell{0, 0, 40});
    EXPECT_EQ(knight.points[5], (PixelPoint{40, 40}));  // (4, 0) at the right edge
    EXPECT_EQ(knight.points[0], (PixelPoint{10, 40}));
    // Below 4 pixels a unit across is 0: every point lies on one vertical line.
    const FigurePolygon queen = figurePolygon(vek::chess::QUEEN, Cell{10, 0, 3});
    for (std::size_t i = 0; i < queen.count; ++i)
        EXPECT_EQ(queen.points[i].x, 11);
}

TEST(FigureOutline, UnknownKindsHaveNoOutline) {
    EXPECT_TRUE(figureOutline(0).empty());
    EXPECT_TRUE(figureOutline(7).empty());
    EXPECT_EQ(figurePolygon(0, Cell{0, 0, 50}).count, 0u);
}

}  // namespace
}  // namespace chessapp
