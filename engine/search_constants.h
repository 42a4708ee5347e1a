#pragma once
// The numbers of the search in one place, each with where it comes from. "First search": set
// with the first version of this search, by the common forms of open engines, and never
// measured apart. Any change here changes the bench's node count, and is shown by games
// (scripts/match.py) in the commit that makes it.

#include <cstdint>

#include "engine/transposition.h"

namespace vek::engine {

// Beyond any score, mates included.
inline constexpr int kInfinity = kMate + 1;
// The deepest depth the deepening begins.
inline constexpr int kMaxDepth = 100;
// How many nodes pass between two looks at the stop flags and the node budget's report.
inline constexpr std::uint64_t kPollInterval = 1024;

// Aspiration windows: from this depth the first line is searched in a window this wide on each
// side of the last depth's score, widened by half again on the side it fails. Shown by games
// when they came (+82 Elo at 10+0.1).
inline constexpr int kAspirationDepth = 5;
inline constexpr int kAspirationWindow = 20;

// Reverse futility: at a depth up to this, a node whose static evaluation stands this far per
// ply above beta is cut off. First search.
inline constexpr int kStaticCutDepth = 6;
inline constexpr int kStaticCutMargin = 90;

// Razoring: at a depth up to this, a node this far per ply below alpha is left to the
// quiescence search. Shown by games together with the evaluation's correction (+50 Elo at
// 10+0.1), undecided alone.
inline constexpr int kRazorDepth = 3;
inline constexpr int kRazorMargin = 250;

// Null move from this depth, reduced by kNullBase + depth / kNullDepthDivisor, and one ply
// more per kNullEvalDivisor centipawns the evaluation stands above beta, up to
// kNullEvalMostPlies. First search.
inline constexpr int kNullMinDepth = 3;
inline constexpr int kNullBase = 3;
inline constexpr int kNullDepthDivisor = 5;
inline constexpr int kNullEvalDivisor = 200;
inline constexpr int kNullEvalMostPlies = 2;

// Without a table move, a node from this depth on is searched a ply shallower. First search.
inline constexpr int kNoTableMoveDepth = 6;

// Singular extensions from this depth, when the table's entry is at most kSingularEntryLag
// plies shallower: the table's move is singular when every other move falls short of the
// entry's score by kSingularMargin per ply in a search of about half the depth. Shown by games
// with the pruning below (+47 Elo at 10+0.1).
inline constexpr int kSingularDepth = 8;
inline constexpr int kSingularEntryLag = 3;
inline constexpr int kSingularMargin = 2;

// Late-move reductions: kLmrBase + ln(depth) ln(move number) / kLmrDivisor plies, one less in
// principal-variation nodes, one more when the evaluation is not improving, one less per
// kLmrHistoryDivisor of history. The table first search; the history's share came with the
// pruning below.
inline constexpr double kLmrBase = 0.75;
inline constexpr double kLmrDivisor = 2.25;
inline constexpr int kLmrMinDepth = 3;
inline constexpr int kLmrHistoryDivisor = 10000;

// Pruning near the leaves, up to kPruningDepth, all shown by games together (+47 Elo at
// 10+0.1, with the singular extensions):
// - late-move pruning: quiet moves beyond (kLateMoveBase + depth^2) / 2 (not halved when the
//   evaluation is improving);
// - futility: a late quiet move at a reduced depth up to kFutilityDepth whose static
//   evaluation plus kFutilityBase and kFutilityMargin per ply stays at or below alpha;
// - exchange (SEE) pruning: a quiet move losing more than kSeeQuietMargin per reduced ply on
//   its square, a losing capture more than kSeeNoisyMargin per square of the depth.
inline constexpr int kPruningDepth = 8;
inline constexpr int kLateMoveBase = 3;
inline constexpr int kFutilityDepth = 6;
inline constexpr int kFutilityBase = 90;
inline constexpr int kFutilityMargin = 100;
inline constexpr int kSeeQuietMargin = 60;
inline constexpr int kSeeNoisyMargin = 20;

// History: a cut-off's bonus of depth^2, at most kHistoryBonusMost; each entry pulled back
// towards zero by its share of kHistoryGravity. First search.
inline constexpr int kHistoryBonusMost = 400;
inline constexpr int kHistoryGravity = 16384;

// The correction of the static evaluation by pawn structure: at most kCorrectionMost
// centipawns, a moving average in which a search of depth d weighs d + 1 (at most
// kCorrectionMostWeight) in 256. Shown by games with razoring (see above).
inline constexpr int kCorrectionMost = 64;
inline constexpr int kCorrectionMostWeight = 16;

// Quiescence: a capture that cannot lift the score to alpha with this much beside its
// victim, even won free, is not searched. First search.
inline constexpr int kDeltaMargin = 200;

}  // namespace vek::engine
