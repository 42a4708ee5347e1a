#pragma once
// The GUI's game on the program's own board, which the Minimax search searches: setting up a
// position and playing the moves that the GUI sends, whatever the board's own acceptance test
// would say of them (engine::Position has judged them legal).

#include "chess/board.h"
#include "engine/move.h"
#include "uci/fen.h"

namespace vek::uci {

// Sets the board up on the setup: its figures and side through the position text, the
// castling rights that are gone as moved flags of king or rook, and the en passant square as
// the pawn's double step played last. False when the board refuses the position.
bool setUpBoard(chess::Board& board, const PositionSetup& setup);

// Plays a legal move of the board's position as a game move.
void playGameMove(chess::Board& board, engine::Move move);

// A candidate of the board's move lists as a move in the engine's terms.
engine::Move moveOf(const chess::Move& move);

}  // namespace vek::uci
