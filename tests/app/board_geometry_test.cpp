#include <gtest/gtest.h>

#include "app/board_geometry.h"
#include "chess_test_support.h"

namespace chessapp {
namespace {

using vek::chess::Square;
using vek::chess::testing::name;
using vek::chess::testing::sq;

BoardGeometry geometry(std::int32_t squareSize, bool turned = false) { return BoardGeometry{280, squareSize, turned}; }

std::string squareNameAt(const BoardGeometry& g, std::uint32_t x, std::uint32_t y) {
    const std::optional<Square> s = squareAtPoint(g, x, y);
    return s ? name(*s) : "none";
}

TEST(BoardGeometry, TheSmallerOfWidthAndHeightDecidesTheSquareSize) {
    EXPECT_EQ(squareSizeFor(680, 400, 280), 50);
    EXPECT_EQ(squareSizeFor(680, 300, 280), 37);
    EXPECT_EQ(squareSizeFor(287, 400, 280), 0);
    EXPECT_LE(squareSizeFor(200, 400, 280), 0);
    EXPECT_EQ(squareSizeFor(680, 7, 280), 0);
}

TEST(BoardGeometry, CellsInBothViews) {
    EXPECT_EQ(cellOf(geometry(50), sq("a8")), (Cell{280, 0, 50}));
    EXPECT_EQ(cellOf(geometry(50), sq("a1")), (Cell{280, 350, 50}));
    EXPECT_EQ(cellOf(geometry(50), sq("h1")), (Cell{630, 350, 50}));
    EXPECT_EQ(cellOf(geometry(50), sq("e4")), (Cell{480, 200, 50}));
    // Turned: a1 top right, h8 bottom left.
    EXPECT_EQ(cellOf(geometry(50, true), sq("a1")), (Cell{630, 0, 50}));
    EXPECT_EQ(cellOf(geometry(50, true), sq("h8")), (Cell{280, 350, 50}));
    EXPECT_EQ(cellOf(geometry(50, true), sq("e4")), (Cell{430, 150, 50}));
    EXPECT_EQ(displayCell(geometry(50), 7, 7), (Cell{630, 350, 50}));
}

TEST(BoardGeometry, ClicksFindTheSquareDrawnThere) {
    for (const bool turned : {false, true}) {
        const BoardGeometry g = geometry(37, turned);
        for (std::size_t index = 0; index < 64; ++index) {
            const Square s = vek::chess::squareAt(index);
            const Cell cell = *cellOf(g, s);
            for (const auto& [x, y] : {std::pair{cell.left, cell.top}, std::pair{cell.right() - 1, cell.bottom() - 1}})
                EXPECT_EQ(squareNameAt(g, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)), name(s))
                    << "turned " << turned;
        }
    }
    EXPECT_EQ(squareNameAt(geometry(50), 280, 0), "a8");
    EXPECT_EQ(squareNameAt(geometry(50, true), 280, 0), "h1");
    EXPECT_EQ(squareNameAt(geometry(50, true), 679, 399), "a8");
}

TEST(BoardGeometry, BorderLinesAndPointsLeftOfTheBoardAreOutside) {
    const BoardGeometry g = geometry(50);
    EXPECT_EQ(squareNameAt(g, 679, 399), "h1");
    EXPECT_EQ(squareNameAt(g, 680, 100), "none");  // x = boardLeft + 8 * squareSize
    EXPECT_EQ(squareNameAt(g, 300, 400), "none");  // y = 8 * squareSize
    EXPECT_EQ(squareNameAt(g, 279, 100), "none");  // wraps round to a huge column
    EXPECT_EQ(squareNameAt(g, 0, 0), "none");
    EXPECT_EQ(squareNameAt(g, 65535, 65535), "none");
}

TEST(BoardGeometry, NoBoardWithoutRoomForIt) {
    for (const std::int32_t size : {0, -1, -37}) {
        EXPECT_FALSE(geometry(size).hasBoard());
        EXPECT_FALSE(cellOf(geometry(size), sq("a1")));
        EXPECT_FALSE(displayCell(geometry(size), 0, 0));
        EXPECT_EQ(squareNameAt(geometry(size), 280, 0), "none");
        EXPECT_EQ(squareNameAt(geometry(size), 300, 5), "none");
    }
    EXPECT_FALSE(cellOf(geometry(50), vek::chess::kNoSquare));  // a captured figure's square
}

}  // namespace
}  // namespace chessapp
