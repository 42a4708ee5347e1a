// The neural evaluation's accumulators, moved along random lines full of castling (standard
// and Chess960, king and rook landing on each other's squares), en passant, promotions and
// null moves and taken back to the root, hold at every position what the whole board gives,
// from both sides' views; and the evaluation is the quantised reference's, exactly. On every
// SIMD path this processor runs (under Wine too, through the Windows build's ctest).
#include <array>
#include <cstdint>
#include <iostream>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/nn_accumulator.h"
#include "engine/nn_quantised.h"
#include "tests/engine/fen_position.h"

namespace vek::engine {
namespace {

constexpr int kHidden = 32;

// Weights that put some neurons of every position below 0, some above kQA and some between.
QuantisedNetwork randomNetwork(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const auto fill = [&](std::vector<std::int16_t>& values, std::size_t count, int bound) {
        std::uniform_int_distribution<int> draw(-bound, bound);
        for (std::size_t i = 0; i < count; ++i)
            values.push_back(static_cast<std::int16_t>(draw(random)));
    };
    QuantisedNetwork network;
    network.hidden = kHidden;
    fill(network.inputWeights, kInputs * kHidden, 120);
    fill(network.inputBiases, kHidden, 200);
    fill(network.outputWeights, 2 * kHidden, 3000);
    network.outputBias = 12345;
    return network;
}

std::array<std::int8_t, 64> squaresOf(const Position& position) {
    std::array<std::int8_t, 64> squares{};
    for (int square = 0; square < 64; ++square)
        squares[static_cast<std::size_t>(square)] = static_cast<std::int8_t>(position.pieceAt(square));
    return squares;
}

// What the walks met, so that a walk that missed a kind of move fails rather than passes.
struct Met {
    int castlings = 0;
    int chess960Castlings = 0;
    int enPassants = 0;
    int promotions = 0;
    int nullMoves = 0;
};

bool takesEnPassant(const Position& position, Move move) {
    return move.to == position.enPassant() && std::abs(position.pieceAt(move.from)) == chess::PAWN;
}

bool castles(const Position& position, Move move) {
    const int piece = position.pieceAt(move.from);
    return std::abs(piece) == chess::KING &&
           (std::abs(move.to - move.from) == 2 || position.pieceAt(move.to) == piece / chess::KING * chess::ROOK);
}

class Walk {
public:
    Walk(const Network& network, const QuantisedNetwork& weights, const Position& root, SimdPath path)
        : network_(network), weights_(weights), position_(root), accumulators_(network, path) {
        accumulators_.reset(root);
    }

    // Random moves, preferring the rare kinds, random null moves and random steps back; then
    // back to the root. False at the first position whose accumulators or output are wrong.
    bool run(std::uint64_t seed, int steps, Met& met) {
        std::mt19937_64 random(seed);
        for (int step = 0; step < steps; ++step) {
            if (!matchesWholeBoard())
                return false;
            const std::vector<Move> legal = position_.legalMoves();
            if (!line_.empty() && (legal.empty() || line_.size() >= 40 || random() % 5 == 0)) {
                back();
            } else if (!position_.inCheck() && random() % 10 == 0) {
                position_.makeNull();
                accumulators_.push(FigureChanges{});
                line_.push_back(true);
                ++met.nullMoves;
            } else if (!legal.empty()) {
                play(choose(legal, random), met);
            }
        }
        while (!line_.empty()) {
            back();
            if (!matchesWholeBoard())
                return false;
        }
        return true;
    }

private:
    Move choose(const std::vector<Move>& legal, std::mt19937_64& random) const {
        std::vector<Move> rare;
        for (const Move move : legal)
            if (move.promotion != 0 || castles(position_, move) || takesEnPassant(position_, move) ||
                (position_.isCapture(move) && random() % 3 == 0))
                rare.push_back(move);
        const std::vector<Move>& from = !rare.empty() && random() % 3 != 0 ? rare : legal;
        return from[random() % from.size()];
    }

    void play(Move move, Met& met) {
        met.castlings += castles(position_, move);
        met.chess960Castlings += castles(position_, move) && position_.isChess960();
        met.enPassants += takesEnPassant(position_, move);
        met.promotions += move.promotion != 0;
        position_.make(move);
        accumulators_.push(position_.lastChanges());
        line_.push_back(false);
    }

    void back() {
        if (line_.back())
            position_.undoNull();
        else
            position_.undo();
        accumulators_.pop();
        line_.pop_back();
    }

    bool matchesWholeBoard() {
        AccumulatorStack whole(network_, SimdPath::spPLAIN);
        whole.reset(position_);
        for (const chess::Colour view : {chess::WHITE, chess::BLACK}) {
            const auto kept = accumulators_.values(view);
            const auto fresh = whole.values(view);
            if (!std::equal(kept.begin(), kept.end(), fresh.begin(), fresh.end())) {
                ADD_FAILURE() << "view " << view << " differs after " << line_.size() << " plies";
                return false;
            }
        }
        const std::int64_t reference = outputOf(weights_, squaresOf(position_), position_.sideToMove());
        EXPECT_EQ(accumulators_.output(position_.sideToMove()), reference) << line_.size() << " plies";
        EXPECT_EQ(accumulators_.evaluate(position_), centipawnsOf(reference));
        return accumulators_.output(position_.sideToMove()) == reference;
    }

    const Network& network_;
    const QuantisedNetwork& weights_;
    Position position_;
    AccumulatorStack accumulators_;
    std::vector<bool> line_;  // by ply: a null move
};

TEST(NnAccumulators, FollowTheBoardThroughEveryKindOfMoveAndBack) {
    const QuantisedNetwork weights = randomNetwork(7);
    const Network network(weights, "random");
    struct Start {
        const char* fen;
        bool chess960;
    };
    // Castling both ways with promotions at hand; en passant for both sides; Chess960 with
    // White's king-side and Black's queen-side castling swapping king and rook, pawns about to
    // promote and to pass each other.
    const Start starts[] = {
        {"r3k2r/pPppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q2/PpPBBPPP/R3K2R w KQkq - 0 1", false},
        {"rnbqkbnr/pp1p1ppp/8/2pPp3/8/8/PPP1PPPP/RNBQKBNR w KQkq c6 0 3", false},
        {"2rk3r/P2p4/8/4P3/1p6/8/2P4p/R4KR1 w AGch - 0 1", true},
    };
    std::cout << "[ paths    ]";  // which ran, for the record of a run under Wine
    for (const SimdPath path : {SimdPath::spPLAIN, SimdPath::spSSE2, SimdPath::spAVX2}) {
        if (!simdPathSupported(path))
            continue;
        std::cout << ' ' << simdPathName(path);
        Met met;
        for (std::size_t i = 0; i < std::size(starts); ++i) {
            const Position root = testing::positionFromFen(starts[i].fen, 0, 1, starts[i].chess960);
            for (std::uint64_t seed = 1; seed <= 6; ++seed)
                ASSERT_TRUE(Walk(network, weights, root, path).run(seed * 100 + i, 300, met))
                    << simdPathName(path) << ", " << starts[i].fen << ", seed " << seed;
        }
        EXPECT_GT(met.castlings, 20) << simdPathName(path);
        EXPECT_GT(met.chess960Castlings, 5) << simdPathName(path);
        EXPECT_GT(met.enPassants, 4) << simdPathName(path);
        EXPECT_GT(met.promotions, 20) << simdPathName(path);
        EXPECT_GT(met.nullMoves, 20) << simdPathName(path);
    }
    std::cout << '\n';
}

}  // namespace
}  // namespace vek::engine
