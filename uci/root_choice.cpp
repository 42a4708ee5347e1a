#include "uci/root_choice.h"

#include <algorithm>

#include "chess/random.h"
#include "uci/board_game.h"

namespace vek::uci {
namespace {

// The root candidates as the engine's own search takes them: the answers to a check, or every
// move.
chess::MoveList rootCandidates(const chess::Board& board) {
    std::size_t checkerCount = 0;
    chess::MoveList evasions = board.listEvasions(checkerCount);
    return checkerCount > 0 ? evasions : board.listAllMoves();
}

// Every entry has the same chance; the generator is left alone when there is no choice.
template <typename T>
const T& drawAmong(const std::vector<T>& entries) {
    return entries.size() == 1 ? entries.front() : entries[chess::pickIndex(chess::drawEngineRandom(), entries.size())];
}

// A legal candidate with its score.
struct ScoredMove {
    engine::Move move;
    std::int32_t score;
};

}  // namespace

std::optional<RootChoice> chooseRootMove(chess::Board& board, const std::vector<engine::Move>& legal, std::int32_t depth) {
    if (legal.empty())
        return std::nullopt;
    chess::MoveList candidates = rootCandidates(board);
    if (!candidates.isEmpty()) {
        try {
            board.scoreRootMoves(candidates, depth);
        } catch (...) {
            board.refresh();  // the lists still show where the search failed
            throw;
        }
        board.refresh();
    }
    std::vector<ScoredMove> allowed;
    for (const chess::Move& candidate : candidates) {
        const engine::Move move = moveOf(candidate);
        if (std::find(legal.begin(), legal.end(), move) != legal.end())
            allowed.push_back(ScoredMove{move, candidate.score});
    }
    if (allowed.empty())
        return RootChoice{drawAmong(legal), board.evaluate(), legal.size()};
    const bool white = board.sideToMove() == chess::WHITE;
    const auto better = [white](const ScoredMove& a, const ScoredMove& b) { return white ? a.score > b.score : a.score < b.score; };
    const std::int32_t best = std::min_element(allowed.begin(), allowed.end(), better)->score;
    std::erase_if(allowed, [best](const ScoredMove& entry) { return entry.score != best; });
    return RootChoice{drawAmong(allowed).move, best, legal.size()};
}

}  // namespace vek::uci
