// The board view: squares, lines, figures and the frames of the picked-up figure and its targets.
#include "app/chess_main_window.h"

#include <array>
#include <optional>

#include "app/figure_outline.h"
#include "winlib/device.h"
#include "winlib/dpi_scale.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSelectionBlue = RGB(0, 0, 255);
constexpr COLORREF kTargetGreen = RGB(0, 255, 0);
constexpr COLORREF kLightSquare = RGB(240, 239, 216);
constexpr COLORREF kDarkSquare = RGB(212, 187, 4);
constexpr COLORREF kWhiteFigure = RGB(190, 178, 118);
constexpr COLORREF kBlackFigure = RGB(110, 47, 47);

// The pens and brushes of one paint. They are selected into the device while they live;
// the stock objects are selected back first, since a selected object cannot be deleted.
class PaintTools {
    // First: the pens below are made with the DPI.
    winlib::Device& device_;
    const int dpi_;

public:
    // Lines as wide as on a 96-DPI screen, scaled to the window's DPI.
    PaintTools(winlib::Device& device, int dpi) : device_(device), dpi_(dpi) {}
    PaintTools(const PaintTools&) = delete;
    PaintTools& operator=(const PaintTools&) = delete;
    ~PaintTools() {
        device_.selectPen(static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        device_.selectBrush(hollow);
        for (HGDIOBJ object : std::array<HGDIOBJ, 7>{outline, selection, target, lightSquare, darkSquare,
                                                      whiteFigure, blackFigure})
            if (object != nullptr)
                DeleteObject(object);
    }

    const HPEN outline = pen(1, kBlack);
    const HPEN selection = pen(3, kSelectionBlue);
    const HPEN target = pen(3, kTargetGreen);
    const HBRUSH lightSquare = CreateSolidBrush(kLightSquare);
    const HBRUSH darkSquare = CreateSolidBrush(kDarkSquare);
    const HBRUSH whiteFigure = CreateSolidBrush(kWhiteFigure);
    const HBRUSH blackFigure = CreateSolidBrush(kBlackFigure);
    const HBRUSH hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));  // stock: never deleted

private:
    HPEN pen(int width, COLORREF colour) const {
        const LOGBRUSH brush{BS_SOLID, colour, 0};
        return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                            static_cast<DWORD>(winlib::scaleForDpi(width, dpi_)), &brush, 0, nullptr);
    }

};

void frameCell(winlib::Device& device, const chessapp::Cell& cell) {
    device.rectangle(cell.left, cell.top, cell.right(), cell.bottom());
}

void paintSquares(winlib::Device& device, const PaintTools& tools, const chessapp::BoardGeometry& geometry) {
    // The top-left square is light in either view.
    for (int column = 0; column < 8; ++column)
        for (int row = 0; row < 8; ++row) {
            device.selectBrush((column + row) % 2 == 0 ? tools.lightSquare : tools.darkSquare);
            frameCell(device, *chessapp::displayCell(geometry, column, row));
        }
}

void paintLines(winlib::Device& device, const chessapp::BoardGeometry& geometry) {
    const int left = geometry.boardLeft;
    const int size = geometry.squareSize;
    const int extent = geometry.boardExtent();
    for (int k = 1; k <= 8; ++k) {
        device.moveTo(left, k * size);
        device.lineTo(left + extent, k * size);
    }
    for (int k = 1; k <= 8; ++k) {
        device.moveTo(left + k * size, 0);
        device.lineTo(left + k * size, extent);
    }
}

void paintFigures(winlib::Device& device, const PaintTools& tools, const chessapp::BoardGeometry& geometry,
                  const chessapp::BoardSnapshot& snapshot) {
    for (std::size_t index = 0; index < snapshot.squares.size(); ++index) {
        const chessapp::SquareView& square = snapshot.squares[index];
        if (!square.occupied)
            continue;
        device.selectBrush(square.colour == vek::chess::WHITE ? tools.whiteFigure : tools.blackFigure);
        const chessapp::FigurePolygon polygon =
            chessapp::figurePolygon(square.kind, *chessapp::cellOf(geometry, vek::chess::squareAt(index)));
        std::array<POINT, chessapp::FigurePolygon::kCapacity> points{};
        for (std::size_t i = 0; i < polygon.count; ++i)
            points[i] = POINT{polygon.points[i].x, polygon.points[i].y};
        device.polygon(points.data(), static_cast<int>(polygon.count));
    }
}

void paintMarking(winlib::Device& device, const PaintTools& tools, const chessapp::BoardGeometry& geometry,
                  const chessapp::BoardSnapshot& snapshot) {
    if (!snapshot.selected)
        return;
    device.selectBrush(tools.hollow);
    device.selectPen(tools.selection);
    if (const std::optional<chessapp::Cell> cell = chessapp::cellOf(geometry, *snapshot.selected))
        frameCell(device, *cell);
    device.selectPen(tools.target);
    for (std::size_t i = 0; i < snapshot.targetCount; ++i)
        if (const std::optional<chessapp::Cell> cell = chessapp::cellOf(geometry, snapshot.targets[i]))
            frameCell(device, *cell);
}

}  // namespace

winlib::ProcessStatus ChessMainWindow::handleRepaint(winlib::Device& device) {
    // While the engine runs, the copy taken at its start: the live board holds trial moves.
    paintBoard(device, view_.current(board_, input_.selectedFigure()));
    return winlib::psPROCESSED;
}

void ChessMainWindow::paintBoard(winlib::Device& device, const chessapp::BoardSnapshot& snapshot) const {
    if (!geometry_.hasBoard())
        return;  // no room for a board
    const PaintTools tools(device, getDpi());
    device.selectPen(tools.outline);
    paintSquares(device, tools, geometry_);
    paintLines(device, geometry_);
    paintFigures(device, tools, geometry_, snapshot);
    paintMarking(device, tools, geometry_, snapshot);
}
