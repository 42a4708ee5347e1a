#pragma once
// What a "go" command asks for, and the plan of depths and time that the engine makes of it.
// The engine searches depth 1, 2, ... each to its end; time decides only whether the next
// depth is begun, and when a running one is cut short.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chess/types.h"

namespace vek::uci {

using Milliseconds = std::chrono::milliseconds;

// The deepest search any plan asks for; "go infinite" deepens up to it.
inline constexpr std::int32_t kMaxPlanDepth = 64;

// The parameters of "go"; what a GUI leaves out stays empty.
struct GoLimits {
    std::optional<std::int32_t> depth;
    std::optional<Milliseconds> moveTime;
    std::optional<Milliseconds> whiteTime, blackTime, whiteIncrement, blackIncrement;
    std::optional<std::int32_t> movesToGo;
    std::optional<std::uint64_t> nodes;
    std::optional<std::int32_t> mate;     // moves
    std::vector<std::string> searchMoves;  // as the GUI wrote them, not yet checked
    bool infinite = false;
    bool ponder = false;  // in the opponent's time, on the move the engine expects of it
};

// The parameters after "go"; parameters it does not know are skipped with their value.
// "searchmoves" takes the words up to the next parameter's name. None, with the reason in
// `error`, when a known one lacks its number or has a malformed one.
std::optional<GoLimits> parseGoLimits(const std::vector<std::string>& words, std::string& error);

// Kept on the clock after any move, when the clock allows it (the option "Move Overhead"): the
// answer's way to the GUI, the GUI's own time, and the next move's first depths.
inline constexpr Milliseconds kDefaultMoveOverhead{150};
inline constexpr Milliseconds kMaxMoveOverhead{5000};

struct SearchPlan {
    std::int32_t maxDepth = 1;
    bool infinite = false;                // the answer waits for "stop"
    std::optional<Milliseconds> allotment;  // a depth is begun only if predicted to end within it
    std::optional<Milliseconds> hardLimit;  // a running depth is stopped here
};

// The plan of the Minimax search for the side to move: "depth" or, without any limit,
// `configuredDepth` fixes the deepest depth; the allotment and the hard limit are those of the
// time plan that the AlphaBeta search follows too (time_plan.h).
SearchPlan planSearch(const GoLimits& limits, chess::Colour side, std::int32_t configuredDepth,
                      Milliseconds overhead = kDefaultMoveOverhead);

// Whether the next depth, predicted from the last depths' times, ends within the allotment:
// its time is the last depth's times the growth of the two last depths, or, after depth 1
// alone, times the number of legal moves.
bool nextDepthFits(const SearchPlan& plan, std::chrono::microseconds elapsed,
                   const std::vector<std::chrono::microseconds>& depthTimes, std::size_t moveCount);

}  // namespace vek::uci
