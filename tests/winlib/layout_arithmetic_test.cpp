#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <deque>

#include "winlib/layout_arithmetic.h"

namespace winlib {

bool operator==(const Rect& a, const Rect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

namespace {

// Children described in a few words; keeps the layout data alive for the items.
class Children {
public:
    Children& add(Size size, const LayoutData& data, bool visible = true) {
        data_.push_back(data);
        items.push_back(LayoutItem{&data_.back(), visible, size});
        return *this;
    }
    Children& addBare(Size size, bool visible = true) {
        items.push_back(LayoutItem{nullptr, visible, size});
        return *this;
    }

    LayoutItems items;

private:
    std::deque<LayoutData> data_;  // stable addresses
};

LayoutData attached(int attachment, int growWidth = 0, int growHeight = 0) {
    LayoutData data;
    data.attachment = attachment;
    data.growWidth = growWidth;
    data.growHeight = growHeight;
    return data;
}

LayoutData padded(LayoutData data, int left, int top, int right, int bottom) {
    data.paddingLeft = left;
    data.paddingTop = top;
    data.paddingRight = right;
    data.paddingBottom = bottom;
    return data;
}

LayoutData cell(int x, int y, int growWidth = 0, int growHeight = 0) {
    LayoutData data;
    data.x = x;
    data.y = y;
    data.growWidth = growWidth;
    data.growHeight = growHeight;
    return data;
}

Rect rectOf(const Placements& placements, std::size_t index) {
    for (const Placement& placement : placements) {
        if (placement.index == index)
            return placement.rect;
    }
    ADD_FAILURE() << "item " << index << " not placed";
    return Rect{};
}

TEST(AttachmentLayout, ChessPanelTakesTheFullHeightAndKeepsItsWidth) {
    Children children;
    children.add(Size{280, 728}, attached(0, 0, 2));
    EXPECT_EQ(rectOf(layoutAttachments(children.items, Size{758, 491}, Margins{}), 0), (Rect{0, 0, 280, 491}));
    EXPECT_EQ(rectOf(layoutAttachments(children.items, Size{758, 600}, Margins{}), 0), (Rect{0, 0, 280, 600}));
    EXPECT_EQ(rectOf(layoutAttachments(children.items, Size{1200, 600}, Margins{}), 0), (Rect{0, 0, 280, 600}));
}

TEST(AttachmentLayout, FillChildTakesWhatTheLeftChildrenLeave) {
    Children children;
    children.add(Size{50, 20}, attached(0)).add(Size{60, 30}, attached(0)).add(Size{10, 10}, attached(4, 1, 1));
    const Placements placements = layoutAttachments(children.items, Size{300, 200}, Margins{});
    EXPECT_EQ(rectOf(placements, 0), (Rect{0, 0, 50, 20}));
    EXPECT_EQ(rectOf(placements, 1), (Rect{50, 0, 60, 30}));
    EXPECT_EQ(rectOf(placements, 2), (Rect{110, 0, 190, 200}));
}

TEST(AttachmentLayout, EdgesMarginsAndPaddings) {
    Children children;
    children.add(Size{100, 20}, padded(attached(1, 1), 1, 2, 3, 4))  // top, stretched
        .add(Size{100, 30}, padded(attached(3, 1), 1, 2, 3, 4))       // bottom, stretched
        .add(Size{40, 10}, padded(attached(2, 0, 1), 5, 6, 7, 8))     // right, full height
        .add(Size{40, 10}, padded(attached(0), 5, 6, 7, 8))           // left, own height
        .add(Size{1, 1}, attached(4, 1, 1));                          // the rest
    const Placements placements = layoutAttachments(children.items, Size{500, 300}, Margins{10, 20, 30, 40});
    // Area: x 10..470, y 20..260.
    EXPECT_EQ(rectOf(placements, 0), (Rect{11, 22, 456, 20}));
    // top is now 20 + 26 = 46, height left 240 - 26 = 214.
    EXPECT_EQ(rectOf(placements, 1), (Rect{11, 46 + 214 - 4 - 30, 456, 30}));
    // height left 214 - 36 = 178.
    EXPECT_EQ(rectOf(placements, 2), (Rect{10 + 460 - 7 - 40, 46 + 6, 40, 178 - 8 - 6}));
    // width left 460 - 52 = 408.
    EXPECT_EQ(rectOf(placements, 3), (Rect{15, 52, 40, 10}));
    EXPECT_EQ(rectOf(placements, 4), (Rect{62, 46, 408 - 52, 178}));
}

TEST(AttachmentLayout, StopsOnceNoRoomIsLeftAndSkipsHiddenOrBareChildren) {
    Children children;
    children.add(Size{80, 100}, attached(1)).add(Size{10, 10}, attached(0)).add(Size{10, 10}, attached(4));
    const Placements placements = layoutAttachments(children.items, Size{80, 100}, Margins{});
    ASSERT_EQ(placements.size(), 1u);
    EXPECT_EQ(placements[0].index, 0u);

    Children skipped;
    skipped.addBare(Size{10, 10}).add(Size{10, 10}, attached(0), false).add(Size{10, 10}, attached(0));
    const Placements only = layoutAttachments(skipped.items, Size{80, 100}, Margins{});
    ASSERT_EQ(only.size(), 1u);
    EXPECT_EQ(only[0].index, 2u);
    EXPECT_EQ(only[0].rect, (Rect{0, 0, 10, 10}));
}

TEST(AttachmentLayout, HugeMarginsAndPaddingsStayWithinInt) {
    Children bare;
    bare.add(Size{10, 10}, attached(4, 1, 1));
    const Margins lowest{INT_MIN, INT_MIN, INT_MIN, INT_MIN};
    EXPECT_EQ(rectOf(layoutAttachments(bare.items, Size{100, 100}, lowest), 0), (Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));

    Children cushioned;
    cushioned.add(Size{10, 10}, padded(attached(4, 1, 1), INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    const Rect rect = rectOf(layoutAttachments(cushioned.items, Size{100, 100}, Margins{INT_MIN, INT_MIN, 0, 0}), 0);
    EXPECT_EQ(rect.x, -1);
    EXPECT_EQ(rect.width, INT_MIN + 102);
    EXPECT_TRUE(layoutAttachments(cushioned.items, Size{100, 100}, Margins{INT_MAX, 0, INT_MAX, 0}).empty());
}

TEST(RowAndColumnLayout, EqualCellsForTheVisibleChildrenOnly) {
    Children children;
    children.addBare(Size{1, 1}).addBare(Size{5, 5}, false).add(Size{1, 1}, LayoutData{}).addBare(Size{1, 1});
    const Placements row = layoutRow(children.items, Size{100, 50}, Margins{});
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(rectOf(row, 0), (Rect{0, 0, 33, 50}));
    EXPECT_EQ(rectOf(row, 2), (Rect{33, 0, 33, 50}));
    EXPECT_EQ(rectOf(row, 3), (Rect{66, 0, 33, 50}));

    const Placements column = layoutColumn(children.items, Size{50, 100}, Margins{});
    ASSERT_EQ(column.size(), 3u);
    EXPECT_EQ(rectOf(column, 0), (Rect{0, 0, 50, 33}));
    EXPECT_EQ(rectOf(column, 2), (Rect{0, 33, 50, 33}));
    EXPECT_EQ(rectOf(column, 3), (Rect{0, 66, 50, 33}));
}

TEST(RowAndColumnLayout, MarginsAndPaddingsShrinkTheCells) {
    Children children;
    children.add(Size{1, 1}, padded(LayoutData{}, 1, 2, 3, 4)).addBare(Size{1, 1});
    const Margins margins{10, 20, 30, 40};
    const Placements row = layoutRow(children.items, Size{200, 100}, margins);
    EXPECT_EQ(rectOf(row, 0), (Rect{11, 22, 80 - 4, 40 - 6}));
    EXPECT_EQ(rectOf(row, 1), (Rect{90, 20, 80, 40}));
    const Placements column = layoutColumn(children.items, Size{100, 200}, margins);
    EXPECT_EQ(rectOf(column, 0), (Rect{11, 22, 60 - 4, 70 - 6}));
    EXPECT_EQ(rectOf(column, 1), (Rect{10, 90, 60, 70}));
}

TEST(RowAndColumnLayout, NoVisibleChildPlacesNothing) {
    Children children;
    children.addBare(Size{1, 1}, false);
    EXPECT_TRUE(layoutRow(children.items, Size{100, 100}, Margins{}).empty());
    EXPECT_TRUE(layoutColumn(children.items, Size{100, 100}, Margins{}).empty());
    EXPECT_TRUE(layoutRow(LayoutItems{}, Size{100, 100}, Margins{}).empty());
}

TEST(SingleChildLayout, OneChildFillsTheAreaEvenWhenHidden) {
    Children one;
    one.add(Size{1, 1}, padded(LayoutData{}, 1, 2, 3, 4), false);
    EXPECT_EQ(rectOf(layoutSingleChild(one.items, Size{100, 80}, Margins{10, 20, 30, 40}), 0), (Rect{11, 22, 56, 14}));

    Children two;
    two.addBare(Size{1, 1}).addBare(Size{1, 1});
    EXPECT_TRUE(layoutSingleChild(two.items, Size{100, 80}, Margins{}).empty());
    EXPECT_TRUE(layoutSingleChild(LayoutItems{}, Size{100, 80}, Margins{}).empty());
}

TEST(TableLayout, GrowingColumnTakesTheRest) {
    Children children;
    children.add(Size{100, 20}, cell(0, 0)).add(Size{30, 20}, cell(1, 0, 1));
    const TableGrid grid = layoutTable(children.items, Size{300, 50}, Margins{}, false);
    ASSERT_EQ(grid.columns.size(), 2u);
    EXPECT_EQ(grid.columns[0].size, 100);
    EXPECT_EQ(grid.columns[1].position, 100);
    EXPECT_EQ(grid.columns[1].size, 200);
    const Placements placements = tablePlacements(grid);
    EXPECT_EQ(rectOf(placements, 0), (Rect{0, 0, 100, 20}));
    EXPECT_EQ(rectOf(placements, 1), (Rect{100, 0, 200, 20}));
    ASSERT_EQ(grid.cells.size(), 2u);
    EXPECT_EQ(grid.cells[0], 0u);
    EXPECT_EQ(grid.cells[1], 1u);
}

TEST(TableLayout, CalcSizeReportsWhatTheChildrenNeed) {
    Children children;
    children.add(Size{100, 20}, cell(0, 0)).add(Size{120, 30}, cell(1, 1)).add(Size{10, 10}, cell(0, 1), false);
    const TableGrid grid = layoutTable(children.items, Size{50, 10}, Margins{5, 6, 7, 8}, false);
    EXPECT_EQ(grid.needed.width, 5 + 100 + 120);
    EXPECT_EQ(grid.needed.height, 6 + 20 + 30);
    EXPECT_EQ(layoutTable(children.items, Size{500, 400}, Margins{}, false).needed.width, 500);
}

TEST(TableLayout, SpansShareTheirNeedAndGrowTogether) {
    LayoutData wide = cell(0, 0, 0, 0);
    wide.width = 2;
    LayoutData tall = padded(cell(2, 0, 1, 1), 1, 1, 1, 1);
    tall.height = 2;
    Children children;
    children.add(Size{100, 10}, wide).add(Size{10, 10}, tall).add(Size{10, 30}, cell(0, 1)).add(Size{5, 5}, padded(cell(1, 1, 0, 1), 0, 60, 0, 0));
    const TableGrid grid = layoutTable(children.items, Size{200, 100}, Margins{}, false);
    ASSERT_EQ(grid.columns.size(), 3u);
    ASSERT_EQ(grid.rows.size(), 2u);
    EXPECT_EQ(grid.columns[0].size, 50);
    EXPECT_EQ(grid.columns[1].size, 50);
    EXPECT_EQ(grid.columns[2].size, 100);
    // Both rows grow with the tall child's weight and share the height, fixed needs or not.
    EXPECT_EQ(grid.rows[0].size, 50);
    EXPECT_EQ(grid.rows[1].position, 50);
    const Rect tallRect = rectOf(grid.placements, 1);
    EXPECT_EQ(tallRect.x, 101);
    EXPECT_EQ(tallRect.width, 98);
    EXPECT_EQ(tallRect.height, 98);
    // A child whose padding leaves no room is not moved.
    EXPECT_EQ(rectOf(grid.placements, 3).height, -10);
    EXPECT_EQ(tablePlacements(grid).size(), 3u);
    EXPECT_EQ(grid.cells[0 * 2 + 0], 0u);
    EXPECT_EQ(grid.cells[1 * 2 + 0], 0u);
    EXPECT_EQ(grid.cells[2 * 2 + 1], 1u);
}

TEST(TableLayout, DesignModeShowsEmptyColumnsAndHugeIndicesAreLeftAlone) {
    Children children;
    children.add(Size{10, 10}, cell(2, 0)).add(Size{10, 10}, cell(INT_MAX, 0)).add(Size{10, 10}, cell(0, 300));
    const TableGrid design = layoutTable(children.items, Size{100, 100}, Margins{}, true);
    ASSERT_EQ(design.columns.size(), 3u);
    EXPECT_EQ(design.columns[2].position, 40);
    EXPECT_EQ(design.placements.size(), 1u);
    const TableGrid plain = layoutTable(children.items, Size{100, 100}, Margins{}, false);
    EXPECT_EQ(rectOf(plain.placements, 0).x, 0);
}

// The last column and row a table takes are number 255; a child at 256 is left where it is.
TEST(TableLayout, AChildInTheLastColumnOrRowIsPlacedOneBeyondIsNot) {
    Children children;
    children.add(Size{10, 10}, cell(255, 0)).add(Size{10, 10}, cell(256, 0));
    children.add(Size{10, 10}, cell(0, 255)).add(Size{10, 10}, cell(0, 256));
    const TableGrid grid = layoutTable(children.items, Size{3000, 3000}, Margins{}, true);
    EXPECT_EQ(grid.columns.size(), 256u);
    EXPECT_EQ(grid.rows.size(), 256u);
    ASSERT_EQ(grid.placements.size(), 2u);
    EXPECT_EQ(rectOf(grid.placements, 0).x, grid.columns[255].position);
    EXPECT_EQ(rectOf(grid.placements, 2).y, grid.rows[255].position);
    EXPECT_GT(grid.columns[255].position, 0);
    for (const Placement& placement : grid.placements)
        EXPECT_TRUE(placement.index == 0 || placement.index == 2) << "item " << placement.index << " placed";
}

}  // namespace
}  // namespace winlib
