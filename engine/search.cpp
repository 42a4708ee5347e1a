#include "engine/search.h"

namespace vek::engine {

class TranspositionTable {};

Searcher::Searcher(std::size_t) : table_(std::make_unique<TranspositionTable>()) {}
Searcher::~Searcher() = default;
void Searcher::resizeHash(std::size_t) {}
void Searcher::clearHash() {}
void Searcher::setThreads(std::size_t count) { threads_ = count; }

std::optional<Move> Searcher::search(const Position& position, const Limits&, const std::atomic<bool>&,
                                     const std::function<bool(int, std::chrono::milliseconds)>&,
                                     const std::function<void(const Report&)>&) {
    const std::vector<Move> moves = position.legalMoves();
    if (moves.empty())
        return std::nullopt;
    return moves.front();
}

}  // namespace vek::engine
