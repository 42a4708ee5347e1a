#pragma once
// The time a deepening search may take over one move: a soft limit, after which it begins no
// new depth, and a hard limit, at which a running depth is stopped. With the pruned search a
// depth costs about half as much again as all the depths before it, so a search that may begin
// depths up to two thirds of its allotment ends, on average, near the allotment.

#include <optional>

#include "chess/types.h"
#include "engine/search.h"
#include "uci/search_limits.h"

namespace vek::uci {

struct TimePlan {
    std::optional<Milliseconds> softLimit;  // no new depth is begun after it
    std::optional<Milliseconds> hardLimit;  // the search is stopped here
};

// The plan for the side to move:
// - "movetime M": a hard limit just short of M (at least 0.95 M), no soft limit;
// - a clock C with increment I and "movestogo" N (or sudden death, counted as 25 moves): an
//   allotment of the usable time (C less `overhead`, or a tenth of a C within it) over N
//   plus three quarters of I; a soft limit of two thirds of the allotment and a hard
//   limit of three times it, both at most half the clock and the usable time;
// - otherwise, and for "go infinite", no limit of time.
TimePlan planTime(const GoLimits& limits, chess::Colour side, Milliseconds overhead = kDefaultMoveOverhead);

// The share of the soft limit a search may use before it begins another depth: more after a
// depth that changed the best move or lost ground, less once the best move has held for
// several depths, so that time goes where the search is unsure. The hard limit holds anyway.
double softLimitScale(const engine::Stability& stability);

}  // namespace vek::uci
