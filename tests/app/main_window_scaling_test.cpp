// The main window on screens of other scalings: at its screen's DPI (the test command runs this
// under Wine at 96 and at 144 DPI) and after a move to a screen of the other of the two.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app_window_test_support.h"
#include "winlib/dpi.h"
#include "winlib/dpi_scale.h"

namespace chessapp::testing {
namespace {

using winlib::scaleForDpi;

// Where the built-in definition places a control, in its parent's client area at 96 DPI.
struct Placement {
    const winlib::BasicWindow* control;
    const char* name;
    int x, y, width, height;
};

std::vector<Placement> definedPlacements(const ChessMainWindow& window) {
    return {{window.DepthEdt, "DepthEdt", 80, 8, 80, 24},       {window.WhiteClk, "WhiteClk", 8, 64, 80, 24},
            {window.BlackClk, "BlackClk", 96, 64, 80, 24},      {window.RestartBtn, "RestartBtn", 8, 96, 80, 24},
            {window.StopBtn, "StopBtn", 184, 96, 80, 24},       {window.PromotionList, "PromotionList", 8, 136, 112, 176},
            {window.QueenBtn, "QueenBtn", 16, 128, 80, 24},     {window.MovesBOX, "MovesBOX", 128, 136, 152, 300}};
}

RECT rectInParent(const winlib::BasicWindow& control) {
    RECT rect{};
    GetWindowRect(control.getHandle(), &rect);
    MapWindowPoints(nullptr, control.getParent()->getHandle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Every caption of the panel whole inside its control, in the control's own font.
void expectCaptionsFit(const winlib::BasicWindow& parent) {
    for (const winlib::BasicWindow* child : parent.getChildren()) {
        expectCaptionsFit(*child);
        const bool captioned = dynamic_cast<const winlib::Label*>(child) != nullptr ||
                               dynamic_cast<const winlib::Button*>(child) != nullptr;
        const vek::STRING text = child->getText();
        if (!captioned || text.isEmpty())
            continue;
        const HDC dc = GetDC(child->getHandle());
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child->getHandle(), WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.getText(), static_cast<int>(text.getLength()), &extent);
        SelectObject(dc, previous);
        ReleaseDC(child->getHandle(), dc);
        RECT client{};
        GetClientRect(child->getHandle(), &client);
        EXPECT_LE(extent.cx, client.right) << text.getText();
        EXPECT_LE(extent.cy, client.bottom) << text.getText();
    }
}

void expectLaidOutFor(const ChessMainWindow& window, int dpi) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(window.getDpi(), dpi);
    for (const Placement& placed : definedPlacements(window)) {
        const RECT rect = rectInParent(*placed.control);
        EXPECT_NEAR(rect.left, scaleForDpi(placed.x, dpi), 1) << placed.name;
        EXPECT_NEAR(rect.top, scaleForDpi(placed.y, dpi), 1) << placed.name;
        EXPECT_NEAR(rect.right - rect.left, scaleForDpi(placed.width, dpi), 1) << placed.name;
        EXPECT_NEAR(rect.bottom - rect.top, scaleForDpi(placed.height, dpi), 1) << placed.name;
    }
    // The font: at 96 DPI the stock one of every version so far, else one of the scaled size.
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window.StopBtn->getHandle(), WM_GETFONT, 0, 0));
    if (dpi == winlib::kBaseDpi) {
        EXPECT_EQ(font, GetStockObject(ANSI_VAR_FONT));
    } else {
        LOGFONTA description{};
        GetObjectA(font, sizeof description, &description);
        EXPECT_EQ(description.lfHeight, scaleForDpi(12, dpi));
    }
    expectCaptionsFit(*window.ControlCHILD);
    // The board: right of the panel, square, and whole inside the client area.
    const BoardGeometry& geometry = window.getGeometry();
    EXPECT_NEAR(geometry.boardLeft, scaleForDpi(280, dpi), 1);
    const winlib::Size client = window.getClientSize();
    EXPECT_EQ(geometry.squareSize, std::min((client.width - geometry.boardLeft) / 8, client.height / 8));
    EXPECT_GE(geometry.squareSize, scaleForDpi(16, dpi));
    EXPECT_LE(geometry.boardLeft + geometry.boardExtent(), client.width);
    EXPECT_LE(geometry.boardExtent(), client.height);
}

using MainWindowScalingTest = WindowTest;

TEST_F(MainWindowScalingTest, TheWindowFollowsTheDpiOfItsScreen) {
    MainWindowPtr window = openMainWindow();
    const HWND handle = window->getHandle();
    const int dpi = winlib::windowDpi(handle);
    // The test command's run under another scaling says which it set.
    if (const char* expected = std::getenv("VEK_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the Wine prefix's LogPixels did not reach the window";
    }
    expectLaidOutFor(*window, dpi);

    // Moved to a screen of the other scaling (150 % or 100 %): the window takes the frame the
    // system suggests there.
    const int moved = dpi == winlib::kBaseDpi ? winlib::kBaseDpi * 3 / 2 : winlib::kBaseDpi;
    RECT frame{};
    GetWindowRect(handle, &frame);
    frame.right = frame.left + MulDiv(frame.right - frame.left, moved, dpi);
    frame.bottom = frame.top + MulDiv(frame.bottom - frame.top, moved, dpi);
    SendMessageA(handle, WM_DPICHANGED, MAKEWPARAM(moved, moved), reinterpret_cast<LPARAM>(&frame));
    pumpPending();
    RECT now{};
    GetWindowRect(handle, &now);
    EXPECT_EQ(now.right - now.left, frame.right - frame.left);
    EXPECT_EQ(now.bottom - now.top, frame.bottom - frame.top);
    expectLaidOutFor(*window, moved);
}

}  // namespace
}  // namespace chessapp::testing
