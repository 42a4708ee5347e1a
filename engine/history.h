#pragma once
// What a search thread learns as it goes, beside the shared table: how each quiet move did (by
// side and squares, and after each of the two moves before it), which quiet move refuted a
// move, which quiet moves last cut off a node at each ply, and how far the static evaluation
// was found off for each pawn structure.

#include <array>
#include <cstddef>
#include <vector>

#include "chess/types.h"
#include "engine/move.h"
#include "engine/position.h"
#include "engine/transposition.h"

namespace vek::engine {

// The figure code and target square of a move in the position it is played from (13 x 64
// values): the key of the countermove and continuation tables.
inline constexpr int kPieceSquares = 13 * 64;
// Before the root, and for a null move: no piece square.
inline constexpr int kNoPieceSquare = -1;
inline int pieceSquareOf(const Position& position, Move move) { return (position.pieceAt(move.from) + 6) * 64 + move.to; }

// The piece squares of the two moves that led to a node: what its continuation history and
// countermove are keyed by.
struct PriorMoves {
    int last = kNoPieceSquare;
    int beforeLast = kNoPieceSquare;
};

// The two quiet moves that last cut off a node at each ply of the line searched.
class Killers {
public:
    const std::array<Move, 2>& at(int ply) const { return byPly_[static_cast<std::size_t>(ply)]; }
    void add(int ply, Move move);

private:
    std::array<std::array<Move, 2>, kMaxPly + 1> byPly_{};
};

class History {
public:
    void clear();

    // The ordering key of a quiet move: its own history and how it did after the last two moves.
    int quietScore(const Position& position, Move move, const PriorMoves& prior) const;
    // The quiet `move` cut off a node of `depth` after the quiet moves `tried` had not: it
    // gains, they lose, and it becomes the answer to the last move.
    void rewardQuiet(const Position& position, Move move, int depth, const PriorMoves& prior, const Move* tried,
                     std::size_t triedCount);
    // The quiet move that last refuted the move before the node; kNoMove when none.
    Move counterMove(const PriorMoves& prior) const;

    // The static evaluation corrected by how far searches of positions with the same pawns
    // found it off; and the lesson a finished search of the node teaches.
    int correctedEval(const Position& position, int rawEval) const;
    void learnCorrection(const Position& position, int rawEval, int best, int depth);

private:
    static constexpr std::size_t kCorrectionEntries = 16384;  // per side to move

    // The entry of a quiet move after the move `before`; null when there was none.
    static std::size_t continuationIndex(int before, int pieceSquare);
    int* continuation(int before, int pieceSquare);
    const int* continuation(int before, int pieceSquare) const;
    std::size_t correctionIndex(const Position& position) const;

    // By side to move, from and to square.
    std::array<std::array<std::array<int, 64>, 64>, 2> butterfly_{};
    // By piece square of the move before: the quiet answer that refuted it.
    std::array<Move, kPieceSquares> counterMoves_{};
    // By piece square of the move before and of the quiet move after it.
    std::vector<int> continuation_ = std::vector<int>(kPieceSquares * kPieceSquares);
    // By side to move and pawn structure: how far the evaluation was found off, in 256ths of
    // a centipawn.
    std::vector<int> corrections_ = std::vector<int>(2 * kCorrectionEntries);
};

}  // namespace vek::engine
