#include "chess/figure.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "chess/board.h"
#include "chess/figures.h"

namespace vek::chess {

std::uint64_t coveredSquares(const Figure& figure) {
    std::uint64_t squares = figure.moves().coveredSet;
    if (figure.isPlaced())  // only a stale list can hold it; it does not count
        squares &= ~(std::uint64_t{1} << figure.index());
    return squares;
}

KingSafety KingSafety::against(const Board& board, Colour mover) {
    KingSafety safety;
    safety.enemyKing = board.kingOf(opponent(mover));
    for (std::size_t index = 0; index < 64; ++index) {
        const Figure* figure = board.figureAtIndex(index);
        if (figure && figure->colour() != mover)
            safety.enemyCovered |= coveredSquares(*figure);
    }
    safety.seal();
    return safety;
}

namespace {

// Each square with its eight neighbours, as bits by squareIndex: every king generation asks
// this of the enemy king.
using NeighbourhoodTable = std::array<std::uint64_t, 64>;

constexpr NeighbourhoodTable makeNeighbourhoods() {
    NeighbourhoodTable table{};
    for (std::size_t index = 0; index < 64; ++index) {
        table[index] = std::uint64_t{1} << index;
        for (int column = -1; column <= 1; ++column)
            for (int row = -1; row <= 1; ++row) {
                const Square s =
                    stepBy(squareAt(index), static_cast<std::int8_t>(column), static_cast<std::int8_t>(row));
                if (s != kNoSquare)
                    table[index] |= std::uint64_t{1} << squareIndex(s);
            }
    }
    return table;
}

constexpr NeighbourhoodTable kNeighbourhoods = makeNeighbourhoods();

}  // namespace

std::uint64_t neighbourhood(std::size_t index) {
    assert(index < kNeighbourhoods.size());
    return kNeighbourhoods[index];
}

void KingSafety::seal() {
    forbidden = enemyCovered;
    if (enemyKing && enemyKing->isPlaced())
        forbidden |= kNeighbourhoods[enemyKing->index()];
}

namespace {

// value() by kind, colour and square index.
using MaterialTable = std::array<std::array<std::array<std::int8_t, 64>, 2>, 7>;

constexpr MaterialTable makeMaterial() {
    constexpr std::array<int, 7> byKind{0, 0, Knight::kValue, Bishop::kValue, Rook::kValue, Queen::kValue, King::kValue};
    MaterialTable table{};
    for (std::size_t kind = KNIGHT; kind <= KING; ++kind)
        for (auto& byColour : table[kind])
            byColour.fill(static_cast<std::int8_t>(byKind[kind]));
    for (const Colour colour : {WHITE, BLACK})
        for (std::size_t index = 0; index < 64; ++index)
            table[PAWN][colour][index] = static_cast<std::int8_t>(Pawn::valueOn(colour, squareAt(index).row));
    return table;
}

constexpr MaterialTable kMaterial = makeMaterial();

}  // namespace

Figure::Figure(Board& board, Colour colour, Square square, bool moved, FigureKind kind)
    : moved_(moved), board_(&board), colour_(colour), kind_(kind) {
    place(square);
}

void Figure::place(Square s) {
    square_ = s;
    index_ = isOnBoard(s) ? static_cast<std::uint8_t>(squareIndex(s)) : kOffBoard;
    if (isPlaced())
        material_ = kMaterial[kind_][colour_][index_];
}

void Figure::restore(const FigureState& state, BoardKey) {
    place(state.square);
    moved_ = state.moved;
    moves_ = state.moves;
    neighbourhoodMemo_ = kNoMemo;
    pinTowardKing_ = state.pinTowardKing;
    pinAwayFromKing_ = state.pinAwayFromKing;
}

std::int64_t Figure::walk(FigureMoves& record, StepFunction step, int maxSteps, bool kingSafety) const {
    const std::uint64_t forbidden = kingSafety ? KingSafety::against(*board_, colour_).forbidden : 0;
    const Direction direction = directionOf(stepOf(step));
    std::int64_t added = 0;
    walkRays(record, {&direction, 1}, static_cast<std::size_t>(std::max(maxSteps, 0)), forbidden, &added);
    return added;
}

namespace {

// Appends to a record with the counts held in locals: every store of a (char-sized) square
// could otherwise alias them and force a reload.
class RecordWriter {
public:
    explicit RecordWriter(FigureMoves& record)
        : record_(record), targets_(record.targetCount), covered_(record.coveredCount),
          coveredSet_(record.coveredSet), capturedMaterial_(record.capturedMaterial), canCapture_(record.canCapture) {}
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    ~RecordWriter() {
        record_.targetCount = targets_;
        record_.coveredCount = covered_;
        record_.coveredSet = coveredSet_;
        record_.canCapture = canCapture_;
        record_.capturedMaterial = capturedMaterial_;
    }

    std::size_t targetCount() const { return targets_; }
    void cover(std::size_t index, Square s) {
        assert(covered_ < FigureMoves::kCapacity);
        record_.covered[covered_++] = s;
        coveredSet_ |= std::uint64_t{1} << index;
    }
    // The first `count` squares of a ray (at most seven): the run of squares before the figure
    // met. A whole run is copied, without a loop whose end the processor would mispredict; the
    // entries past `count` are left uncounted.
    void coverRun(const LineRay& ray, std::size_t count, std::uint64_t bits) {
        assert(covered_ + LineRay::kRunLength <= FigureMoves::kCapacity);
        std::memcpy(&record_.covered[covered_], ray.squares.data(), sizeof ray.squares);
        covered_ += count;
        coveredSet_ |= bits;
    }
    void quietRun(const LineRay& ray, std::size_t count) {
        assert(targets_ + LineRay::kRunLength <= FigureMoves::kCapacity);
        std::memcpy(&record_.targets[targets_], ray.quietTargets.data(), sizeof ray.quietTargets);
        targets_ += count;
    }
    void quietTarget(Square s) {
        assert(targets_ < FigureMoves::kCapacity);
        record_.targets[targets_++] = MoveTarget{s, kNoSquare};
    }
    void captureTarget(Square s, const Figure& victim) {
        assert(targets_ < FigureMoves::kCapacity);
        record_.targets[targets_++] = MoveTarget{s, s};
        canCapture_ = true;
        capturedMaterial_ += victim.material();
    }
    // A square that a step of `mover` reaches: covered, whatever stands there; a target when it
    // is empty or holds an enemy figure other than the king. True when the square is empty,
    // so that a walk may go on.
    bool land(std::size_t index, const Figure* occupant, Colour mover) {
        const Square s = squareAt(index);
        cover(index, s);
        if (!occupant) {
            quietTarget(s);
            return true;
        }
        if (occupant->colour() != mover && occupant->kindCode() != KING)
            captureTarget(s, *occupant);
        return false;
    }

private:
    FigureMoves& record_;
    std::size_t targets_;
    std::size_t covered_;
    std::uint64_t coveredSet_;
    std::int32_t capturedMaterial_;
    bool canCapture_;
};

}  // namespace

void Figure::walkRays(FigureMoves& record, std::span<const Direction> directions, std::size_t maxSteps,
                      std::uint64_t forbidden, std::int64_t* added) const {
    if (!isPlaced())
        return;
    const Board& board = *board_;
    const std::size_t from = index_;
    RecordWriter writer(record);
    for (const Direction direction : directions) {
        const std::size_t before = writer.targetCount();
        const Ray& ray = rayFrom(from, direction);
        const std::size_t steps = mayWalk(kSteps[direction]) ? std::min(maxSteps, std::size_t{ray.length}) : 0;
        for (std::size_t i = 0; i < steps; ++i) {
            const std::size_t index = ray.squares[i];
            if ((forbidden >> index) & 1u)
                break;
            if (!writer.land(index, board.figureAtIndex(index), colour_))
                break;
        }
        if (added)
            *added++ = static_cast<std::int64_t>(writer.targetCount() - before);
    }
}

FigureMoves& Figure::jumps(FigureMoves& record) const {
    record.clear();
    if (!isPlaced() || (pinTowardKing_ && pinAwayFromKing_))
        return record;
    const Board& board = *board_;
    const std::size_t from = index_;
    RecordWriter writer(record);
    for (std::size_t jump = dKNIGHT1; jump <= dKNIGHT8; ++jump) {
        const Ray& ray = kRays[jump][from];
        if (ray.length == 0)
            continue;
        writer.land(ray.squares[0], board.figureAtIndex(ray.squares[0]), colour_);
    }
    return record;
}

namespace {

// One direction of a slide from square index `from`, up to and including the first figure met.
inline void slideAlong(RecordWriter& writer, const Board& board, Colour mover, std::size_t from, Direction direction) {
    const LineRay& ray = kLineRays[direction][from];
    const int first = firstOccupied(from, direction, board.occupancy());
    if (first < 0) {
        writer.quietRun(ray, ray.length);
        writer.coverRun(ray, ray.length, ray.mask);
        return;
    }
    const auto met = static_cast<std::size_t>(first);
    const std::size_t steps = stepsAlong(from, direction, met);
    writer.quietRun(ray, steps - 1);
    writer.coverRun(ray, steps, ray.mask & ~kLineRays[direction][met].mask);
    const Figure* other = board.figureAtIndex(met);
    if (other->colour() != mover && other->kindCode() != KING)
        writer.captureTarget(ray.squares[steps - 1], *other);
}

}  // namespace

// The directions unrolled: a loop over them would end at a different count for each kind.
template <Direction... kDirections>
FigureMoves& Figure::slide(FigureMoves& record) const {
    record.clear();
    if (!isPlaced())
        return record;
    RecordWriter writer(record);
    ((mayWalk(kSteps[kDirections]) ? slideAlong(writer, *board_, colour_, index_, kDirections) : void()), ...);
    return record;
}

template FigureMoves& Figure::slide<dNORTH_EAST, dSOUTH_EAST, dSOUTH_WEST, dNORTH_WEST>(FigureMoves&) const;
template FigureMoves& Figure::slide<dNORTH, dEAST, dSOUTH, dWEST>(FigureMoves&) const;
template FigureMoves& Figure::slide<dNORTH, dNORTH_EAST, dEAST, dSOUTH_EAST, dSOUTH, dSOUTH_WEST, dWEST, dNORTH_WEST>(
    FigureMoves&) const;

}  // namespace vek::chess
