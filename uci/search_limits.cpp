#include "uci/search_limits.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "uci/time_plan.h"

namespace vek::uci {
namespace {

using std::chrono::microseconds;

// The least growth from one depth to the next that a prediction assumes.
constexpr std::int64_t kMinGrowth = 2;

std::optional<std::int64_t> parseNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A GUI may send a negative time when a clock has run out.
Milliseconds timeOf(std::int64_t value) { return Milliseconds{std::max<std::int64_t>(value, 0)}; }

std::int32_t countOf(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 1, kMaxPlanDepth));
}

// Stores the value of a known parameter; false for an unknown name.
bool store(GoLimits& limits, std::string_view name, std::int64_t value) {
    if (name == "depth")
        limits.depth = countOf(value);
    else if (name == "movetime")
        limits.moveTime = timeOf(value);
    else if (name == "wtime")
        limits.whiteTime = timeOf(value);
    else if (name == "btime")
        limits.blackTime = timeOf(value);
    else if (name == "winc")
        limits.whiteIncrement = timeOf(value);
    else if (name == "binc")
        limits.blackIncrement = timeOf(value);
    else if (name == "movestogo")
        limits.movesToGo = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 1, 1000));
    else if (name == "nodes")
        limits.nodes = static_cast<std::uint64_t>(std::max<std::int64_t>(value, 1));
    else if (name == "mate")
        limits.mate = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 1, kMaxPlanDepth / 2));
    else
        return false;
    return true;
}

bool isNumericParameter(std::string_view name) {
    GoLimits probe;
    return store(probe, name, 0);
}

bool isParameterName(std::string_view word) {
    return isNumericParameter(word) || word == "infinite" || word == "searchmoves" || word == "ponder";
}

}  // namespace

std::optional<GoLimits> parseGoLimits(const std::vector<std::string>& words, std::string& error) {
    GoLimits limits;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "infinite" || words[i] == "ponder") {
            (words[i] == "infinite" ? limits.infinite : limits.ponder) = true;
            continue;
        }
        if (words[i] == "searchmoves") {
            for (; i + 1 < words.size() && !isParameterName(words[i + 1]); ++i)
                limits.searchMoves.push_back(words[i + 1]);
            continue;
        }
        if (!isNumericParameter(words[i]))
            continue;
        const std::optional<std::int64_t> value = i + 1 < words.size() ? parseNumber(words[i + 1]) : std::nullopt;
        if (!value) {
            error = "go " + words[i] + " needs a number";
            return std::nullopt;
        }
        store(limits, words[i], *value);
        ++i;
    }
    return limits;
}

SearchPlan planSearch(const GoLimits& limits, chess::Colour side, std::int32_t configuredDepth, Milliseconds overhead) {
    SearchPlan plan;
    plan.infinite = limits.infinite;
    const auto& clock = side == chess::WHITE ? limits.whiteTime : limits.blackTime;
    const bool timed = limits.moveTime || clock;
    plan.maxDepth = limits.depth ? *limits.depth : (timed || limits.infinite ? kMaxPlanDepth : configuredDepth);
    const TimePlan time = planTime(limits, side, overhead);
    plan.allotment = time.allotment;
    plan.hardLimit = time.hardLimit;
    return plan;
}

bool nextDepthFits(const SearchPlan& plan, microseconds elapsed, const std::vector<microseconds>& depthTimes,
                   std::size_t moveCount) {
    if (!plan.allotment)
        return true;
    if (depthTimes.empty())
        return elapsed < *plan.allotment;
    const microseconds last = std::max(depthTimes.back(), microseconds{1});
    std::int64_t growth = static_cast<std::int64_t>(moveCount);
    if (depthTimes.size() >= 2)
        growth = last.count() / std::max(depthTimes[depthTimes.size() - 2], microseconds{1}).count();
    const microseconds predicted = last * std::max(growth, kMinGrowth);
    return elapsed + predicted <= *plan.allotment;
}

}  // namespace vek::uci
