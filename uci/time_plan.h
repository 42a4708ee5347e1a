#pragma once
// The time a search may take over one move, one plan for both searches: an allotment, what the
// move is meant to take, and a hard limit, at which a running depth is stopped. The AlphaBeta
// search begins no new depth after its soft limit, two thirds of the allotment: with the
// pruned search a depth costs about half as much again as all the depths before it, so a
// search that may begin depths up to two thirds of its allotment ends, on average, near the
// allotment. The Minimax search begins a depth only where it predicts it to end within the
// allotment (search_limits.h).

#include <optional>

#include "chess/types.h"
#include "engine/search.h"
#include "uci/search_limits.h"

namespace vek::uci {

struct TimePlan {
    std::optional<Milliseconds> allotment;  // what the move is meant to take
    std::optional<Milliseconds> softLimit;  // no new depth is begun after it (AlphaBeta)
    std::optional<Milliseconds> hardLimit;  // the search is stopped here
};

// The clock less the overhead; a clock already within it may spend a tenth of itself.
Milliseconds usableTime(Milliseconds clock, Milliseconds overhead);

// The plan for the side to move; `overhead` (the option "Move Overhead") is kept in every case:
// - "movetime M": the usable time of M is allotted and is the hard limit; no soft limit;
// - a clock C with increment I and "movestogo" N (or sudden death, counted as 25 moves): an
//   allotment of the usable time of C over N plus three quarters of I; a soft limit of two
//   thirds of the allotment and a hard limit of three times it, all three at most half the
//   clock and the usable time;
// - otherwise, and for "go infinite", no limit of time.
TimePlan planTime(const GoLimits& limits, chess::Colour side, Milliseconds overhead = kDefaultMoveOverhead);

// The share of the soft limit a search may use before it begins another depth: more after a
// depth that changed the best move or lost ground, less once the best move has held for
// several depths, so that time goes where the search is unsure. The hard limit holds anyway.
double softLimitScale(const engine::Stability& stability);

}  // namespace vek::uci
