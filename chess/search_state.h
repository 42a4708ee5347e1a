#pragma once
// The lists that a board carries from one refresh to the next, taken out of the board so that
// two boards in the same position can be compared, or one given the other's lists.

#include <cstdint>

#include "chess/figure.h"
#include "chess/types.h"
#include "foundation/array.h"

namespace vek::chess {

struct SearchState {
    vek::Array<FigureState> figures;  // by the index of the figure in Board::figures()
    std::uint64_t changedSinceRefresh = 0;
    GameState state = NO_GAME;
    Colour sideToMove = WHITE;

    bool operator==(const SearchState& other) const {
        if (figures.getCount() != other.figures.getCount() || changedSinceRefresh != other.changedSinceRefresh ||
            state != other.state || sideToMove != other.sideToMove)
            return false;
        for (std::size_t i = 0; i < figures.getCount(); ++i)
            if (!(figures[i] == other.figures[i]))
                return false;
        return true;
    }
};

}  // namespace vek::chess
