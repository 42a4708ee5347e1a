#include "app/figure_outline.h"

#include <algorithm>

namespace chessapp {
namespace {

constexpr OutlinePoint kPawn[] = {{0, 0}, {1, 2}, {0, 3}, {1, 4}, {2, 3}, {1, 2}, {2, 0}, {0, 0}};
constexpr OutlinePoint kKnight[] = {{1, 0}, {2, 4}, {0, 3}, {2, 5}, {3, 5}, {4, 0}, {1, 0}};
constexpr OutlinePoint kBishop[] = {{0, 0}, {1, 5}, {2, 0}, {0, 0}};
constexpr OutlinePoint kRook[] = {{0, 0}, {0, 6}, {1, 6}, {1, 5}, {2, 5}, {2, 6}, {3, 6}, {3, 0}, {0, 0}};
constexpr OutlinePoint kQueen[] = {{1, 0}, {1, 5}, {0, 6}, {2, 7}, {4, 6}, {3, 5}, {3, 0}, {1, 0}};
constexpr OutlinePoint kKing[] = {{0, 0}, {0, 5}, {1, 5}, {1, 6}, {0, 6}, {1, 6}, {1, 7},
                                  {1, 6}, {2, 6}, {1, 6}, {1, 5}, {2, 5}, {2, 0}, {0, 0}};

static_assert(std::size(kKing) == FigurePolygon::kCapacity);

}  // namespace

std::span<const OutlinePoint> figureOutline(std::int32_t kind) {
    switch (kind) {
    case vek::chess::PAWN: return kPawn;
    case vek::chess::KNIGHT: return kKnight;
    case vek::chess::BISHOP: return kBishop;
    case vek::chess::ROOK: return kRook;
    case vek::chess::QUEEN: return kQueen;
    case vek::chess::KING: return kKing;
    default: return {};
    }
}

FigurePolygon figurePolygon(std::int32_t kind, const Cell& cell) {
    const std::int32_t unitAcross = cell.size / 4;
    const std::int32_t unitUp = cell.size / 7;
    FigurePolygon polygon;
    std::int32_t lo = cell.size;
    std::int32_t hi = 0;
    for (const OutlinePoint& point : figureOutline(kind)) {
        PixelPoint& pixel = polygon.points[polygon.count++];
        pixel = PixelPoint{point.x * unitAcross, cell.bottom() - point.y * unitUp};
        lo = std::min(lo, pixel.x);
        hi = std::max(hi, pixel.x);
    }
    const std::int32_t shift = lo == 0 && hi == cell.size ? 0 : (cell.size - (hi - lo)) / 2 - lo;
    for (std::size_t i = 0; i < polygon.count; ++i)
        polygon.points[i].x += cell.left + shift;
    return polygon;
}

}  // namespace chessapp
