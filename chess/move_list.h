#pragma once
// A list of candidate moves, built by the Board's list operations (listAllMoves,
// listEvasions) in a fixed order that the search relies on.

#include "chess/types.h"
#include "foundation/array.h"

namespace vek::chess {

class MoveList : public vek::Array<Move> {
public:
    static constexpr std::size_t kBlockSize = 32;

    MoveList() : vek::Array<Move>(kBlockSize) {}

    // Appends the four promotions of a pawn move: queen, rook, knight, bishop.
    void addPromotions(const Move& pawnMove);
    // Removes every entry but keeps the storage, so that a list refilled at every node of a
    // search allocates only when it outgrows all earlier fillings.
    void reset() {
        while (!isEmpty())
            removeLast();
    }
};

}  // namespace vek::chess
