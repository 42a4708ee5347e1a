#pragma once
// The moves of a node in the order the search tries them, stage by stage: the table's move;
// the captures and promotions that do not lose material, the most valuable victim first, then
// the least valuable attacker; the killers and the countermove; the other quiet moves by their
// history; last the captures that lose material in the exchange. The moves are generated and
// scored at once, when the picker is made: a quiet move scored later would be scored by a
// history that the searches of the moves before it have changed.

#include <array>
#include <cstddef>

#include "engine/history.h"
#include "engine/move.h"
#include "engine/position.h"

namespace vek::engine {

class MovePicker {
public:
    enum Stage { psTABLE, psGOOD_NOISY, psREFUTATION, psQUIET, psBAD_NOISY };

    // With `noisyOnly` only captures and promotions. `killers`, `counter` and the history
    // order the quiet moves.
    MovePicker(const Position& position, bool noisyOnly, Move tableMove, const std::array<Move, 2>& killers,
               Move counter, const History& history, const PriorMoves& prior);

    // The next pseudo-legal move; false when none is left.
    bool next(Move& move);
    // The stage of the move `next` gave last.
    Stage stage() const { return stages_[current_]; }

private:
    void score(const Position& position, Move tableMove, const std::array<Move, 2>& killers, Move counter,
               const History& history, const PriorMoves& prior);

    MoveBuffer buffer_;
    std::array<int, 256> keys_{};
    std::array<Stage, 256> stages_{};
    std::size_t next_ = 0;
    std::size_t current_ = 0;
};

}  // namespace vek::engine
