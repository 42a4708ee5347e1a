#include "engine/position.h"

namespace vek::engine {

Position Position::fromSquares(const std::array<std::int8_t, 64>& squares, chess::Colour side, unsigned castling,
                               int enPassant, int halfmoveClock, int fullmoveNumber) {
    Position position;
    position.squares_ = squares;
    position.side_ = side;
    position.castling_ = castling;
    position.enPassant_ = enPassant;
    position.halfmoveClock_ = halfmoveClock;
    position.fullmoveNumber_ = fullmoveNumber;
    return position;
}

void Position::play(Move) {}
std::vector<Move> Position::legalMoves() const { return {}; }
int Position::kingSquare(chess::Colour) const { return 0; }
bool Position::isAttacked(int, chess::Colour) const { return false; }
bool Position::hasPieces(chess::Colour) const { return true; }
bool Position::isCapture(Move) const { return false; }
bool Position::isPseudoLegal(Move) const { return false; }
void Position::generate(MoveBuffer&, bool) const {}
bool Position::make(Move) { return false; }
void Position::undo() {}
void Position::makeNull() {}
void Position::undoNull() {}
bool Position::isRepetition() const { return false; }
std::uint64_t Position::computeKey() const { return 0; }

}  // namespace vek::engine
