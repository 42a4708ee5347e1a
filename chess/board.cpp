#include "chess/board.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <new>
#include <thread>

#include "chess/figures.h"
#include "foundation/exceptions.h"

namespace vek::chess {
namespace {

// Figures have no virtual destructor: each is deleted through its own class.
void destroyFigure(Figure* figure) {
    switch (figure->kind()) {
    case PAWN: delete static_cast<Pawn*>(figure); return;
    case KNIGHT: delete static_cast<Knight*>(figure); return;
    case BISHOP: delete static_cast<Bishop*>(figure); return;
    case ROOK: delete static_cast<Rook*>(figure); return;
    case QUEEN: delete static_cast<Queen*>(figure); return;
    case KING: delete static_cast<King*>(figure); return;
    }
}

struct FigureDeleter {
    void operator()(Figure* figure) const { destroyFigure(figure); }
};
using OwnedFigure = std::unique_ptr<Figure, FigureDeleter>;

template <typename Kind>
OwnedFigure make(Board& board, Colour colour, Square square, bool moved) {
    Figure* figure = new (std::nothrow) Kind(board, colour, square, moved);
    if (!figure)
        throw vek::AllocError();
    return OwnedFigure(figure);
}

// None for a code that is no figure kind.
OwnedFigure makeFigure(Board& board, Colour colour, FigureKind kind, Square square, bool moved) {
    switch (kind) {
    case PAWN: return make<Pawn>(board, colour, square, moved);
    case KNIGHT: return make<Knight>(board, colour, square, moved);
    case BISHOP: return make<Bishop>(board, colour, square, moved);
    case ROOK: return make<Rook>(board, colour, square, moved);
    case QUEEN: return make<Queen>(board, colour, square, moved);
    case KING: return make<King>(board, colour, square, moved);
    }
    return nullptr;
}

// The generation of the figure's own class, without a virtual call: the refresh runs it for
// every figure after every trial move.
void generateInto(Figure& figure, FigureMoves& record) {
    switch (figure.kindCode()) {
    case PAWN: static_cast<Pawn&>(figure).generateMoves(record); return;
    case KNIGHT: static_cast<Knight&>(figure).generateMoves(record); return;
    case BISHOP: static_cast<Bishop&>(figure).generateMoves(record); return;
    case ROOK: static_cast<Rook&>(figure).generateMoves(record); return;
    case QUEEN: static_cast<Queen&>(figure).generateMoves(record); return;
    case KING: static_cast<King&>(figure).generateMoves(record); return;
    }
}

// The squares beyond those its walks pass whose change makes a figure generate its lists again,
// by pawn or not ([1] or [0]), colour and square index: its own square, and a pawn's (up to)
// two squares ahead. A pawn on the row where it could take en passant also reads the last
// move, which may change with no square changing (a double step recorded for a set-up
// position): every square, a read set that no other figure has.
using GenerationReadTable = std::array<std::array<std::array<std::uint64_t, 64>, 2>, 2>;

constexpr GenerationReadTable makeGenerationReads() {
    GenerationReadTable table{};
    for (std::size_t from = 0; from < 64; ++from)
        for (const Colour colour : {WHITE, BLACK}) {
            table[0][colour][from] = std::uint64_t{1} << from;
            const Square s = squareAt(from);
            if (s.row == (colour == WHITE ? 5 : 4)) {
                table[1][colour][from] = ~std::uint64_t{0};
                continue;
            }
            table[1][colour][from] = std::uint64_t{1} << from;
            const auto forward = static_cast<std::int8_t>(colour == WHITE ? 1 : -1);
            Square ahead = s;
            for (int i = 0; i < 2 && (ahead = stepBy(ahead, 0, forward)) != kNoSquare; ++i)
                table[1][colour][from] |= std::uint64_t{1} << squareIndex(ahead);
        }
    return table;
}

constexpr GenerationReadTable kGenerationReads = makeGenerationReads();

// The squares from which a figure could be pinned against this king.
std::uint64_t linesThroughKing(const King* king) {
    return king && king->isPlaced() ? linesThrough(king->index()) : 0;
}

// The weight (see Board::figureWeight) of a figure whose lists were just made on the board as it
// stands: its capture squares still hold the material that the generation found there.
std::int32_t weightOfFreshLists(const Figure& figure) {
    const FigureMoves& moves = figure.moves();
    return figure.material() + static_cast<std::int32_t>(moves.targetCount) + moves.capturedMaterial;
}

// Its square index, or 0 without a king: there are no lines through it then.
std::size_t kingIndex(const King* king) { return king && king->isPlaced() ? king->index() : 0; }

}  // namespace

Board::Board(TickSource ticks) : figures_(32), history_(32), ticks_(ticks) { clear(); }

Board::~Board() { clear(); }

void Board::clear() {
    history_.clear();
    for (Figure* figure : figures_)
        destroyFigure(figure);
    figures_.clear();
    squares_.fill(nullptr);
    occupied_ = 0;
    changedSinceRefresh_ = ~std::uint64_t{0};
    whiteKing_ = nullptr;
    blackKing_ = nullptr;
    state_ = NO_GAME;
    balance_ = 0;
    trialFiguresFrom_ = kNoTrialScope;
    const std::int32_t now = tick();
    whiteClock_.reset(now);
    blackClock_.reset(now);
}

Figure* Board::createFigure(Colour colour, FigureKind kind, Square square, bool moved) {
    if (!isOnBoard(square))
        return nullptr;
    OwnedFigure figure = makeFigure(*this, colour, kind, square, moved);
    if (!figure)
        return nullptr;
    figures_.append(figure.get());
    squares_[squareIndex(square)] = figure.get();
    occupied_ |= std::uint64_t{1} << squareIndex(square);
    markChanged(square);
    return figure.release();
}

void Board::copyFrom(const Board& source) {
    clear();
    for (const Figure* figure : source.figures_) {
        OwnedFigure copy = makeFigure(*this, figure->colour(), figure->kind(), figure->square(), figure->moved());
        copy->restore(figure->state(), BoardKey());
        copy->setWeight(figure->weight(), BoardKey());
        figures_.append(copy.get());
        copy.release();
    }
    for (std::size_t i = 0; i < squares_.size(); ++i)
        squares_[i] = mappedFigure(source.squares_[i], source);
    occupied_ = source.occupied_;
    changedSinceRefresh_ = source.changedSinceRefresh_;
    whiteKing_ = static_cast<King*>(mappedFigure(source.whiteKing_, source));
    blackKing_ = static_cast<King*>(mappedFigure(source.blackKing_, source));
    state_ = source.state_;
    balance_ = source.balance_;
    sideToMove_ = source.sideToMove_;
    for (const Move& entry : source.history_)
        history_.append(counterpart(entry, source));
    whiteClock_ = source.whiteClock_;
    blackClock_ = source.blackClock_;
    ticks_ = source.ticks_;
    searchThreads_ = source.searchThreads_;
    rootProgress_ = source.rootProgress_;
}

Figure* Board::mappedFigure(const Figure* figure, const Board& source) const {
    if (!figure)
        return nullptr;
    for (std::size_t i = 0; i < source.figures_.getCount(); ++i)
        if (source.figures_[i] == figure)
            return figures_[i];
    return nullptr;
}

Move Board::counterpart(const Move& move, const Board& source) const {
    Move copy = move;
    copy.figure = mappedFigure(move.figure, source);
    copy.promotedFigure = mappedFigure(move.promotedFigure, source);
    copy.captured = mappedFigure(move.captured, source);
    copy.castlingRook = mappedFigure(move.castlingRook, source);
    return copy;
}

SearchState Board::searchState() const {
    SearchState state;
    const std::size_t count = trialFiguresFrom_ == kNoTrialScope ? figures_.getCount() : trialFiguresFrom_;
    state.figures.grow(count);
    for (std::size_t i = 0; i < count; ++i)
        state.figures.append(figures_[i]->state());
    state.changedSinceRefresh = changedSinceRefresh_;
    state.state = state_;
    state.sideToMove = sideToMove_;
    return state;
}

void Board::restoreSearchState(const SearchState& state) {
    for (std::size_t i = 0; i < state.figures.getCount(); ++i) {
        assert(figures_[i]->square() == state.figures[i].square);
        figures_[i]->restore(state.figures[i], BoardKey());
    }
    changedSinceRefresh_ = state.changedSinceRefresh;
    state_ = state.state;
    sideToMove_ = state.sideToMove;
    // A figure whose lists the next refresh keeps has the occupants around it that it had when
    // they were made, so weighing it here gives the weight it had then.
    reweighFigures();
}

std::size_t Board::searchThreads() const {
    if (searchThreads_ > 0)
        return searchThreads_;
    return std::max(std::thread::hardware_concurrency(), 1u);
}

// Trial moves are taken back in the reverse order of their making, so a trial figure is in use
// exactly while the history holds the trial promotion that put it on the board.
Figure* Board::spareTrialFigure(Colour colour, FigureKind kind) const {
    if (trialFiguresFrom_ == kNoTrialScope)
        return nullptr;
    for (std::size_t i = trialFiguresFrom_; i < figures_.getCount(); ++i) {
        Figure* figure = figures_[i];
        if (figure->colour() == colour && figure->kindCode() == kind && !isPromotedInTrial(figure))
            return figure;
    }
    return nullptr;
}

bool Board::isPromotedInTrial(const Figure* figure) const {
    for (std::size_t i = trialHistoryFrom_; i < history_.getCount(); ++i)
        if (history_[i].promotedFigure == figure)
            return true;
    return false;
}

void Board::releaseTrialFigures() {
    if (trialFiguresFrom_ == kNoTrialScope)
        return;
    while (figures_.getCount() > trialFiguresFrom_) {
        destroyFigure(figures_[figures_.getCount() - 1]);
        figures_.removeLast();
    }
    trialFiguresFrom_ = kNoTrialScope;
}

void Board::put(Figure& figure, Square s) {
    squares_[squareIndex(s)] = &figure;
    occupied_ |= std::uint64_t{1} << squareIndex(s);
    markChanged(s);
    figure.setSquare(s, BoardKey());
}

void Board::takeOff(Figure& figure) { figure.setSquare(kNoSquare, BoardKey()); }

void Board::refresh() {
    if (isGameRunning(state_))
        state_ = RUNNING;
    CoverMaps figureCover{};        // of the figures other than kings, which never give check
    std::uint64_t kingSquares = 0;  // a loaded position may hold more than one king of a colour
    std::array<std::int32_t, 2> weights{};
    const std::array<std::uint64_t, 2> kingLines{linesThroughKing(whiteKing_), linesThroughKing(blackKing_)};
    const std::array<std::size_t, 2> kingIndices{kingIndex(whiteKing_), kingIndex(blackKing_)};
    for (std::uint64_t rest = occupied_; rest != 0; rest &= rest - 1) {
        const auto index = static_cast<std::size_t>(std::countr_zero(rest));
        Figure& figure = *squares_[index];
        const std::uint64_t here = std::uint64_t{1} << index;
        if (figure.kindCode() == KING) {
            kingSquares |= here;
            continue;
        }
        refreshFigure(figure, kingLines[figure.colour()], kingIndices[figure.colour()]);
        figureCover[figure.colour()] |= figure.moves().coveredSet & ~here;
        weights[figure.colour()] += figure.weight();
    }
    const std::uint64_t changed = changedSinceRefresh_;
    changedSinceRefresh_ = 0;
    if (whiteKing_)
        refreshKing(*whiteKing_, figureCover, kingSquares, changed);
    if (blackKing_)
        refreshKing(*blackKing_, figureCover, kingSquares, changed);
    // Kings beyond the first of a colour keep their lists, but are weighed like the others.
    for (std::uint64_t rest = kingSquares; rest != 0; rest &= rest - 1) {
        Figure& king = *squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        king.setWeight(figureWeight(king), BoardKey());
        weights[king.colour()] += king.weight();
    }
    balance_ = weights[WHITE] - weights[BLACK];
    if (!isGameRunning(state_))
        return;
    detectCheck(figureCover);
    decideState(attackedBy(opponent(sideToMove_), figureCover, kingSquares));
}

// By square index throughout: the refresh asks this of every figure on a line through its king.
// Inline here, beside its only caller, so that the refresh pays no call for it.
inline void Figure::computePin(std::size_t kingIndex) {
    assert(isPlaced() && kLines[kingIndex][index_] >= 0);
    pinTowardKing_ = nullptr;
    pinAwayFromKing_ = nullptr;
    const std::size_t here = index_;
    const auto awayDirection = static_cast<Direction>(kLines[kingIndex][here]);
    const int first = firstOccupied(here, awayDirection, board_->occupancy());
    if (first < 0)
        return;
    const Figure* other = board_->figureAtIndex(static_cast<std::size_t>(first));
    if (other->colour_ != colour_ && ((other->moves_.coveredSet >> here) & 1u)) {
        pinTowardKing_ = kSteps[oppositeLine(awayDirection)].function;
        pinAwayFromKing_ = kSteps[awayDirection].function;
    }
}

// Generating straight into the stored record gives what a scratch copy would: no figure reads
// its own lists while it generates them. Off every line through its king a figure has no pin.
inline void Board::refreshFigure(Figure& figure, std::uint64_t ownKingLines, std::size_t ownKingIndex) {
    const StepFunction pinBefore = figure.pinTowardKing();
    if ((ownKingLines >> figure.index()) & 1u)
        figure.computePin(ownKingIndex);
    else if (pinBefore)
        figure.clearPin(BoardKey());
    if (mustGenerate(figure, pinBefore)) {
        generateInto(figure, figure.storedMoves(BoardKey()));
        figure.setWeight(weightOfFreshLists(figure), BoardKey());
        assert(figure.weight() == figureWeight(figure));
    }
}

// Outside the king, a figure's generation reads only its square, its pin, the occupants of the
// squares its walks pass (a pawn's also of the two squares ahead) and, for a pawn that could
// take en passant, the last move. Its lists stand while none of these changed; such a pawn
// generates at every refresh.
bool Board::mustGenerate(const Figure& figure, StepFunction pinBefore) const {
    if (figure.pinTowardKing() != pinBefore)  // the direction away from the king follows it
        return true;
    const bool pawn = figure.kindCode() == PAWN;
    const std::uint64_t read = figure.moves().coveredSet | kGenerationReads[pawn][figure.colour()][figure.index()];
    const bool readsTheLastMove = read == ~std::uint64_t{0};
    return ((changedSinceRefresh_ & read) != 0) | readsTheLastMove;
}

// The king sees the other figures' lists as they stand now: the other colour's king still
// shows the previous refresh when the white king is computed.
void Board::refreshKing(King& king, const CoverMaps& figureCover, std::uint64_t kingSquares, std::uint64_t changed) {
    const Colour enemy = opponent(king.colour());
    KingSafety safety;
    safety.enemyKing = kingOf(enemy);
    safety.enemyCovered = figureCover[enemy];
    for (std::uint64_t rest = kingSquares; rest != 0; rest &= rest - 1) {
        const Figure* other = squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        if (other->colour() == enemy)
            safety.enemyCovered |= coveredSquares(*other);
    }
    safety.seal();
    king.clearPin(BoardKey());  // a king stands on no line through itself
    // A king out of check and past castling reads only its square and its neighbourhood: its
    // lists stand while neither the occupants there nor the forbidden squares among them changed.
    if (!king.readsOnlyItsNeighbourhood(safety)) {
        king.setNeighbourhoodMemo(Figure::kNoMemo, BoardKey());
        king.generateMoves(king.storedMoves(BoardKey()), safety);
        return;
    }
    const std::uint64_t near = neighbourhood(king.index());
    const std::uint64_t forbiddenNear = safety.forbidden & near;
    if (king.neighbourhoodMemo() == forbiddenNear && (changed & near) == 0)
        return;
    king.generateMoves(king.storedMoves(BoardKey()), safety);
    king.setNeighbourhoodMemo(forbiddenNear, BoardKey());
}

// Every square that a figure of that colour covers, its kings included.
std::uint64_t Board::attackedBy(Colour colour, const CoverMaps& figureCover, std::uint64_t kingSquares) const {
    std::uint64_t attacked = figureCover[colour];
    for (std::uint64_t rest = kingSquares; rest != 0; rest &= rest - 1) {
        const Figure* king = squares_[static_cast<std::size_t>(std::countr_zero(rest))];
        if (king->colour() == colour)
            attacked |= king->moves().coveredSet;
    }
    return attacked;
}

// Kings never give check; when both kings are attacked the first hit by square index decides.
void Board::detectCheck(const CoverMaps& figureCover) {
    const auto attacked = [&](const King* king) {
        return king && king->isPlaced() &&
               ((figureCover[opponent(king->colour())] >> king->index()) & 1u);
    };
    const bool white = attacked(whiteKing_);
    const bool black = attacked(blackKing_);
    if (white != black) {
        state_ = white ? WHITE_IN_CHECK : BLACK_IN_CHECK;
        return;
    }
    if (!white)
        return;
    for (const Figure* figure : squares_) {
        if (!figure || figure->kindCode() == KING)
            continue;
        const King* target = figure->colour() == BLACK ? whiteKing_ : blackKing_;
        if (figure->moves().covers(target->square())) {
            state_ = target == whiteKing_ ? WHITE_IN_CHECK : BLACK_IN_CHECK;
            return;
        }
    }
}

// A king left attacked by its own side's move loses the game, as does a mated side.
void Board::decideState(std::uint64_t attacked) {
    switch (state_) {
    case WHITE_IN_CHECK:
        if (sideToMove_ == BLACK || !hasLegalMove(attacked))
            state_ = BLACK_WINS;
        break;
    case BLACK_IN_CHECK:
        if (sideToMove_ == WHITE || !hasLegalMove(attacked))
            state_ = WHITE_WINS;
        break;
    case RUNNING:
        if (!hasLegalMove(attacked))
            state_ = STALEMATE;
        break;
    default:
        break;
    }
}

}  // namespace vek::chess
