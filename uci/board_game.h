#pragma once
// The GUI's game on the engine's board: setting up a position and playing the moves that the
// GUI sends, whatever the board's own acceptance test would say of them.

#include "chess/board.h"
#include "uci/standard_rules.h"

namespace vek::uci {

// Sets the board up on the position: its figures and side through the position text, the
// castling rights that are gone as moved flags of king or rook, and the en passant square as
// the pawn's double step played last. False when the board refuses the position.
bool setUpBoard(chess::Board& board, const StandardPosition& position);

// Plays a move that standard chess allows in the board's position (legal in
// standardPositionOf(board)) as a game move.
void playStandardMove(chess::Board& board, StandardMove move);

// A candidate of the board's move lists as a move of standard chess.
StandardMove standardMoveOf(const chess::Move& move);

}  // namespace vek::uci
