#include "chess/king.h"

#include <array>
#include <utility>

#include "chess/board.h"
#include "chess/figures.h"

namespace vek::chess {
namespace {

// The single steps in the order they are tried, each with the opposite line direction.
constexpr std::array<std::pair<Direction, Direction>, 8> kKingSteps{{
    {dNORTH, dSOUTH},
    {dSOUTH, dNORTH},
    {dEAST, dWEST},
    {dWEST, dEAST},
    {dNORTH_EAST, dSOUTH_WEST},
    {dSOUTH_WEST, dNORTH_EAST},
    {dNORTH_WEST, dSOUTH_EAST},
    {dSOUTH_EAST, dNORTH_WEST},
}};

// A line checker makes the step unsafe, unless it stands closer than `near` and no other enemy
// figure protects it, so that the king may take it.
bool rayIsSafe(const RayProbe& probe, int near, const KingSafety& safety) {
    if (!probe.figure)
        return true;
    return probe.distance < near && !safety.isCovered(probe.figure->square());
}

// e1 or e8. The castling targets and rook targets are fixed squares reached from there only;
// a king that a trial move took elsewhere still counts as unmoved, since trial moves set no
// moved flags.
bool isOnInitialSquare(const King& king) {
    return king.square() == Square{'e', static_cast<std::int8_t>(king.colour() == WHITE ? 1 : 8)};
}

}  // namespace

FigureMoves& King::generateMoves(FigureMoves& record) {
    return generateMoves(record, KingSafety::against(board(), colour()));
}

FigureMoves& King::generateMoves(FigureMoves& record, const KingSafety& safety) {
    record.clear();
    queenSide_ = CastlingOption{};
    kingSide_ = CastlingOption{};
    if (square() == kNoSquare)  // taken in a trial line of the search
        return record;

    const auto [westTargets, eastTargets] = addSingleSteps(record, safety);
    // No castling out of check: the plain rule of chess, which the walks alone would not
    // enforce (they test only the squares crossed and reached).
    if (!moved() && isOnInitialSquare(*this) && !safety.isCovered(square())) {
        if (westTargets > 0)
            castle(record, queenSide_, safety, dWEST, 'a', 3);
        if (eastTargets > 0)
            castle(record, kingSide_, safety, dEAST, 'h', 2);
    }
    return record;
}

bool King::readsOnlyItsNeighbourhood(const KingSafety& safety) const {
    return isPlaced() && !safety.isCovered(square()) && (moved() || !isOnInitialSquare(*this));
}

std::pair<std::int64_t, std::int64_t> King::addSingleSteps(FigureMoves& record, const KingSafety& safety) const {
    // A probe meets only enemy figures whose lists hold the king's square, and every enemy
    // figure's list is part of the safety's covered squares: outside check every probe would
    // come back empty and every step pass, so none is made.
    std::array<bool, 8> unsafe{};
    if (safety.isCovered(square()))
        unsafe = stepsOffLineCheckers(safety);

    std::pair<std::int64_t, std::int64_t> westAndEast{0, 0};
    for (const auto& [way, back] : kKingSteps) {
        if (unsafe[way])
            continue;
        const std::int64_t added = addStep(record, way, safety.forbidden);
        if (way == dWEST)
            westAndEast.first = added;
        else if (way == dEAST)
            westAndEast.second = added;
    }
    return westAndEast;
}

std::array<bool, 8> King::stepsOffLineCheckers(const KingSafety& safety) const {
    std::array<RayProbe, 8> probes{};
    for (std::size_t line = 0; line < probes.size(); ++line)
        probes[line] = probe(static_cast<Direction>(line));
    std::array<bool, 8> unsafe{};
    for (const auto& [way, back] : kKingSteps)
        unsafe[way] = !rayIsSafe(probes[way], 2, safety) || !rayIsSafe(probes[back], 0, safety);
    return unsafe;
}

// The one-step walk of the general rule, without its pin test: a king is never pinned, since
// the line from a figure to its own king is none for the king itself.
std::int64_t King::addStep(FigureMoves& record, Direction direction, std::uint64_t forbidden) const {
    const Ray& ray = rayFrom(index(), direction);
    if (ray.length == 0 || ((forbidden >> ray.squares[0]) & 1u))
        return 0;
    const std::size_t index = ray.squares[0];
    record.addCovered(index);
    const Figure* other = board().figureAtIndex(index);
    if (!other) {
        record.addTarget(squareAt(index), kNoSquare);
        return 1;
    }
    if (other->colour() == colour() || other->kindCode() == KING)
        return 0;
    record.addCapture(squareAt(index), squareAt(index), other->material());
    return 1;
}

RayProbe King::probe(Direction direction) const {
    const std::size_t from = index();
    const int first = firstOccupied(from, direction, board().occupancy());
    if (first < 0)
        return {};
    const auto at = static_cast<std::size_t>(first);
    Figure* met = board().figureAtIndex(at);
    if (met->colour() != colour() && met->moves().covers(square()))
        return {met, static_cast<int>(stepsAlong(from, direction, at))};
    return {};
}

void King::castle(FigureMoves& record, CastlingOption& option, const KingSafety& safety,
                  Direction kingWay, char rookColumn, std::int64_t rookTargets) {
    FigureMoves kingWalk;
    std::int64_t kingSteps = 0;
    walkRays(kingWalk, {&kingWay, 1}, 2, safety.forbidden, &kingSteps);
    if (kingSteps != 2 || kingWalk.canCapture)
        return;
    Figure* rook = board().figureAt(Square{rookColumn, square().row});
    if (!rook || rook->moved())
        return;
    const StepFunction rookWay = kingWay == dWEST ? stepEast : stepWest;
    FigureMoves rookWalk;
    if (rook->walk(rookWalk, rookWay, 8, false) < rookTargets || rookWalk.canCapture)
        return;
    const Square kingTarget = kingWalk.targets[1].target;
    record.addTarget(kingTarget, kNoSquare);
    option.kingTarget = kingTarget;
    option.rookTarget = rookWalk.targets[static_cast<std::size_t>(rookTargets - 1)].target;
    option.rook = rook->kind() == ROOK ? static_cast<Rook*>(rook) : nullptr;
}

RayProbe King::probeLine(StepFunction step, Square from, Square to, int steps) const {
    Square s = square();
    int distance = 0;
    Figure* met = nullptr;
    for (int i = 0; i < steps && !met; ++i) {
        s = step(s);
        if (s == kNoSquare || s == to)  // the moving figure blocks the line or takes the checker
            return {};
        ++distance;
        if (s != from)  // the moving figure leaves `from` empty
            met = board().figureAt(s);
    }
    if (!met || met->colour() == colour() || !met->moves().covers(square()))
        return {};
    return {met, distance};
}

Figure* King::findCheckingFigure(Square from, Square to) const {
    for (const Step& step : kSteps) {
        const RayProbe checker = probeLine(step.function, from, to, step.maxSteps);
        if (checker.figure)
            return checker.figure;
    }
    return nullptr;
}

}  // namespace vek::chess
