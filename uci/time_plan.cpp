#include "uci/time_plan.h"

#include <algorithm>

namespace vek::uci {
namespace {

// A sudden-death clock is spent as if this many moves were left: the allotment shrinks with
// the clock, so a game never runs out, and a long game still gets a fair share.
constexpr std::int32_t kSuddenDeathMoves = 25;
constexpr std::int64_t kHardLimitFactor = 3;

constexpr double kNewBestScale = 1.4;
constexpr int kSettledDepths = 4;
constexpr double kSettledScale = 0.7;
constexpr int kSmallDrop = 20, kLargeDrop = 50;  // centipawns
constexpr double kSmallDropScale = 1.2, kLargeDropScale = 1.4;
// Beyond it, a run of unsure moves just before a "movestogo" control would eat into the reserve.
constexpr double kMostScale = 1.4;

}  // namespace

Milliseconds usableTime(Milliseconds clock, Milliseconds overhead) {
    return clock > overhead ? clock - overhead : clock / 10;
}

TimePlan planTime(const GoLimits& limits, chess::Colour side, Milliseconds overhead) {
    TimePlan plan;
    if (limits.infinite)
        return plan;
    if (limits.moveTime) {
        plan.allotment = plan.hardLimit = usableTime(*limits.moveTime, overhead);
        return plan;
    }
    const auto& clock = side == chess::WHITE ? limits.whiteTime : limits.blackTime;
    if (!clock)
        return plan;
    const Milliseconds increment = (side == chess::WHITE ? limits.whiteIncrement : limits.blackIncrement).value_or(Milliseconds{0});
    const Milliseconds usable = usableTime(*clock, overhead);
    const Milliseconds allotment = usable / limits.movesToGo.value_or(kSuddenDeathMoves) + increment * 3 / 4;
    const Milliseconds most = std::min(*clock / 2, usable);
    plan.allotment = std::min(allotment, most);
    plan.softLimit = std::min(allotment * 2 / 3, most);
    plan.hardLimit = std::min(allotment * kHardLimitFactor, most);
    return plan;
}

double softLimitScale(const engine::Stability& stability) {
    double scale = 1.0;
    if (stability.stableDepths == 0)
        scale = kNewBestScale;
    else if (stability.stableDepths >= kSettledDepths)
        scale = kSettledScale;
    if (stability.scoreDrop >= kLargeDrop)
        scale *= kLargeDropScale;
    else if (stability.scoreDrop >= kSmallDrop)
        scale *= kSmallDropScale;
    return std::min(scale, kMostScale);
}

}  // namespace vek::uci
