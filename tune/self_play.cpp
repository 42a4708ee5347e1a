#include "tune/self_play.h"

#include <atomic>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/search.h"
#include "tune/texel.h"
#include "uci/fen.h"

namespace vek::engine::tune {
namespace {

// A score this far from equality for a few plies in a row decides the game; a score this near
// it for many plies late in the game draws it.
constexpr int kDecisive = 1000;
constexpr int kDecisivePlies = 4;
constexpr int kDrawnScore = 8;
constexpr int kDrawnPlies = 12;
constexpr int kDrawnFromPly = 100;
constexpr int kLongestGame = 400;
// Random openings that leave one side this far ahead are played again.
constexpr int kUnbalanced = 250;
// Positions this soon after the random moves still carry their disorder.
constexpr int kSettlePlies = 4;

const char* resultText(Outcome outcome) {
    return outcome == ocWHITE_WINS ? "1-0" : outcome == ocBLACK_WINS ? "0-1" : "1/2-1/2";
}

// How the game stands after a move: ended by the rules, or still on.
Outcome ruleOutcome(const Position& position) {
    if (position.legalMoves().empty()) {
        if (!position.inCheck())
            return ocDRAW;
        return position.sideToMove() == chess::WHITE ? ocBLACK_WINS : ocWHITE_WINS;
    }
    if (position.isRepetition() || position.isFiftyMoveDraw() || position.lacksMatingMaterial())
        return ocDRAW;
    return ocUNDECIDED;
}

// A score from White's view, mates as far beyond the decisive margin.
int whiteView(const Score& score, chess::Colour side) {
    const int value = score.isMate ? (score.value > 0 ? 2 * kDecisive : -2 * kDecisive) : score.value;
    return side == chess::WHITE ? value : -value;
}

class SelfPlayer {
public:
    explicit SelfPlayer(const SelfPlaySettings& settings) : settings_(settings), random_(settings.seed), searcher_(16) {}

    void playAll(const GameSink& take) {
        for (int game = 0; game < settings_.games; ++game) {
            std::vector<KeptPosition> kept;
            const Outcome outcome = playOne(kept);
            if (!take(kept, outcome))
                return;
        }
    }

private:
    struct Choice {
        Move move;
        int whiteScore = 0;
    };

    Position randomOpening() {
        for (;;) {
            Position position = positionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
            bool usable = true;
            for (int ply = 0; ply < settings_.randomPlies; ++ply) {
                const std::vector<Move> moves = position.legalMoves();
                if (moves.empty()) {
                    usable = false;
                    break;
                }
                std::uniform_int_distribution<std::size_t> pick(0, moves.size() - 1);
                position.play(moves[pick(random_)]);
            }
            if (usable && ruleOutcome(position) == ocUNDECIDED &&
                std::abs(choose(position).whiteScore) <= kUnbalanced)
                return position;
        }
    }

    Choice choose(const Position& position) {
        Limits limits;
        limits.nodes = settings_.nodesPerMove;
        Score score;
        const std::atomic<bool> stop{false};
        const auto move = searcher_.search(
            position, limits, stop, deepenAlways,
            [&](const Report& report) { score = report.score; });
        return {move.value_or(kNoMove), whiteView(score, position.sideToMove())};
    }

    Outcome playOne(std::vector<KeptPosition>& kept) {
        searcher_.clearHash();
        Position position = randomOpening();
        Outcome outcome = ocUNDECIDED;
        int decisiveRun = 0;
        int drawnRun = 0;
        for (int ply = 0; outcome == ocUNDECIDED; ++ply) {
            const Choice choice = choose(position);
            const bool quiet = !position.inCheck() && !position.isNoisy(choice.move);
            if (ply >= kSettlePlies && quiet && std::abs(choice.whiteScore) < kDecisive)
                kept.push_back({position, choice.whiteScore});
            decisiveRun = std::abs(choice.whiteScore) >= kDecisive ? decisiveRun + 1 : 0;
            drawnRun = std::abs(choice.whiteScore) <= kDrawnScore ? drawnRun + 1 : 0;
            position.play(choice.move);
            outcome = ruleOutcome(position);
            if (outcome != ocUNDECIDED)
                break;
            if (decisiveRun >= kDecisivePlies)
                outcome = choice.whiteScore > 0 ? ocWHITE_WINS : ocBLACK_WINS;
            else if ((ply >= kDrawnFromPly && drawnRun >= kDrawnPlies) || ply >= kLongestGame)
                outcome = ocDRAW;
        }
        return outcome;
    }

    const SelfPlaySettings settings_;
    std::mt19937_64 random_;
    Searcher searcher_;
};

}  // namespace

void playSelfGames(const SelfPlaySettings& settings, const GameSink& take) {
    SelfPlayer(settings).playAll(take);
}

std::uint64_t playSelfGames(const SelfPlaySettings& settings, std::ostream& out) {
    std::uint64_t written = 0;
    playSelfGames(settings, [&](const std::vector<KeptPosition>& kept, Outcome outcome) {
        for (const KeptPosition& position : kept)
            out << uci::fenOf(position.position) << " | " << resultText(outcome) << '\n';
        out << '\n' << std::flush;
        written += kept.size();
        return true;
    });
    return written;
}

}  // namespace vek::engine::tune
