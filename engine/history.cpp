#include "engine/history.h"

#include <algorithm>
#include <cstdlib>

#include "engine/search_constants.h"

namespace vek::engine {
namespace {

// The unit of the correction: a centipawn in 256ths.
constexpr int kCorrectionGrain = 256;
constexpr int kCorrectionLimit = kCorrectionMost * kCorrectionGrain;

// A history entry moves towards `delta` and is pulled back towards zero as it grows, so that
// it stays bounded and keeps learning.
void adjust(int& entry, int delta) { entry += delta - entry * std::abs(delta) / kHistoryGravity; }

}  // namespace

void Killers::add(int ply, Move move) {
    auto& killers = byPly_[static_cast<std::size_t>(ply)];
    if (killers[0] != move) {
        killers[1] = killers[0];
        killers[0] = move;
    }
}

void History::clear() {
    butterfly_ = {};
    counterMoves_ = {};
    std::fill(continuation_.begin(), continuation_.end(), 0);
    std::fill(corrections_.begin(), corrections_.end(), 0);
}

std::size_t History::continuationIndex(int before, int pieceSquare) {
    return static_cast<std::size_t>(before * kPieceSquares + pieceSquare);
}

int* History::continuation(int before, int pieceSquare) {
    return before < 0 ? nullptr : &continuation_[continuationIndex(before, pieceSquare)];
}

const int* History::continuation(int before, int pieceSquare) const {
    return before < 0 ? nullptr : &continuation_[continuationIndex(before, pieceSquare)];
}

int History::quietScore(const Position& position, Move move, const PriorMoves& prior) const {
    int score = butterfly_[position.sideToMove()][move.from][move.to];
    const int pieceSquare = pieceSquareOf(position, move);
    for (const int before : {prior.last, prior.beforeLast})
        if (const int* entry = continuation(before, pieceSquare))
            score += *entry;
    return score;
}

void History::rewardQuiet(const Position& position, Move move, int depth, const PriorMoves& prior, const Move* tried,
                          std::size_t triedCount) {
    const int bonus = std::min(depth * depth, kHistoryBonusMost);
    const auto adjustAll = [&](Move quiet, int delta) {
        adjust(butterfly_[position.sideToMove()][quiet.from][quiet.to], delta);
        const int pieceSquare = pieceSquareOf(position, quiet);
        for (const int before : {prior.last, prior.beforeLast})
            if (int* entry = continuation(before, pieceSquare))
                adjust(*entry, delta);
    };
    adjustAll(move, bonus);
    for (std::size_t i = 0; i < triedCount; ++i)
        if (tried[i] != move)
            adjustAll(tried[i], -bonus);
    if (prior.last >= 0)
        counterMoves_[static_cast<std::size_t>(prior.last)] = move;
}

Move History::counterMove(const PriorMoves& prior) const {
    return prior.last < 0 ? kNoMove : counterMoves_[static_cast<std::size_t>(prior.last)];
}

std::size_t History::correctionIndex(const Position& position) const {
    // Both sides' pawns mixed into an index; collisions only blur the correction.
    const std::uint64_t mix = position.pieces(chess::WHITE, chess::PAWN) * 0x9E3779B97F4A7C15ULL ^
                              position.pieces(chess::BLACK, chess::PAWN) * 0xC2B2AE3D27D4EB4FULL;
    return position.sideToMove() * kCorrectionEntries + static_cast<std::size_t>(mix >> 50) % kCorrectionEntries;
}

int History::correctedEval(const Position& position, int rawEval) const {
    return std::clamp(rawEval + corrections_[correctionIndex(position)] / kCorrectionGrain, -kMateBound + 1,
                      kMateBound - 1);
}

void History::learnCorrection(const Position& position, int rawEval, int best, int depth) {
    // A moving average that trusts deeper searches more.
    const int weight = std::min(depth + 1, kCorrectionMostWeight);
    int& entry = corrections_[correctionIndex(position)];
    const int target = std::clamp((best - rawEval) * kCorrectionGrain, -kCorrectionLimit, kCorrectionLimit);
    entry = (entry * (256 - weight) + target * weight) / 256;
}

}  // namespace vek::engine
