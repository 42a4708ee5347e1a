#include "engine/evaluation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

namespace vek::engine {
namespace {

using chess::BLACK;
using chess::Colour;
using chess::WHITE;

// The game phase each figure stands for: 24 with all of them on the board, 0 with pawns alone.
constexpr std::array<int, 7> kPhase{0, 0, 1, 1, 2, 4, 0};
constexpr int kFullPhase = 24;

// [colour][square]: the squares ahead of a pawn on its own and the two neighbouring files; a
// pawn with no enemy pawn there is passed.
constexpr auto kPassedSpan = [] {
    std::array<std::array<Bitboard, 64>, 2> spans{};
    for (int square = 0; square < 64; ++square) {
        const int file = fileOf(square);
        Bitboard files = fileMask(file);
        if (file > 0)
            files |= fileMask(file - 1);
        if (file < 7)
            files |= fileMask(file + 1);
        Bitboard above = 0;
        Bitboard below = 0;
        for (int rank = 0; rank < 8; ++rank) {
            if (rank > rankOf(square))
                above |= rankMask(rank);
            if (rank < rankOf(square))
                below |= rankMask(rank);
        }
        spans[WHITE][square] = files & above;
        spans[BLACK][square] = files & below;
    }
    return spans;
}();

constexpr Bitboard adjacentFiles(int file) {
    return (file > 0 ? fileMask(file - 1) : 0) | (file < 7 ? fileMask(file + 1) : 0);
}

constexpr int kTempo = 10;
// A pawn the enemy king cannot catch is nearly a queen.
constexpr int kUnstoppable = 600;
// King danger units of a check the enemy could give safely, by the checking figure.
constexpr std::array<int, 7> kSafeCheckUnits{0, 0, 4, 3, 5, 4, 0};

// Mobility is counted beyond a typical number of reachable squares.
constexpr std::array<int, 7> kTypicalMobility{0, 0, 4, 6, 6, 12, 0};
// How much an attacker of each kind near the enemy king weighs.
constexpr std::array<int, 7> kKingAttackWeight{0, 0, 2, 2, 3, 5, 0};

int relativeRank(Colour colour, int square) { return colour == WHITE ? rankOf(square) : 7 - rankOf(square); }

Bitboard pawnAttackSet(Colour colour, Bitboard pawns) {
    if (colour == WHITE)
        return ((pawns & ~kFileA) << 7) | ((pawns & ~kFileH) << 9);
    return ((pawns & ~kFileA) >> 9) | ((pawns & ~kFileH) >> 7);
}

int distance(int a, int b) { return std::max(std::abs(fileOf(a) - fileOf(b)), std::abs(rankOf(a) - rankOf(b))); }

class Evaluator {
public:
    Evaluator(const Position& position, const EvalWeights& weights) : position_(position), w_(weights) {}

    // From White's view; with `breakdown`, its terms are kept there too.
    int whiteScore(EvalBreakdown* breakdown) {
        int phase = 0;
        // Both sides' figures first: they count the pressure on the kings.
        const std::array<Weight, 2> figure{figures(WHITE, phase), figures(BLACK, phase)};
        for (const Colour colour : {WHITE, BLACK}) {
            attackedBy_[colour][chess::PAWN] = pawnAttackSet(colour, position_.pieces(colour, chess::PAWN));
            attackedBy_[colour][chess::KING] = kingAttacks(position_.kingSquare(colour));
            for (int kind = chess::PAWN; kind <= chess::KING; ++kind)
                attacked_[colour] |= attackedBy_[colour][kind];
        }
        countSafeChecks(WHITE);
        countSafeChecks(BLACK);
        const std::array<Weight, 2> threat{threats(WHITE), threats(BLACK)};
        const std::array<Weight, 2> pawn{pawns(WHITE), pawns(BLACK)};
        const std::array<Weight, 2> shelter{kingShelter(WHITE), kingShelter(BLACK)};
        const std::array<Weight, 2> danger{Weight{-kingDanger(WHITE), 0}, Weight{-kingDanger(BLACK), 0}};
        std::array<Weight, 2> total{};
        for (const Colour colour : {WHITE, BLACK}) {
            total[colour] = figure[colour];
            total[colour] += threat[colour];
            total[colour] += pawn[colour];
            total[colour] += shelter[colour];
            total[colour] += danger[colour];
        }
        Weight white = total[WHITE];
        white -= total[BLACK];
        phase = std::min(phase, kFullPhase);
        const int blended = (white.mg * phase + white.eg * (kFullPhase - phase)) / kFullPhase;
        const int score = scaleDrawish(blended);
        if (breakdown) {
            const std::array<Weight, 2> material{materialOf(WHITE), materialOf(BLACK)};
            std::array<Weight, 2> placement = figure;
            placement[WHITE] -= material[WHITE];
            placement[BLACK] -= material[BLACK];
            breakdown->terms = {{"material", material[WHITE], material[BLACK]},
                                {"placement and mobility", placement[WHITE], placement[BLACK]},
                                {"threats", threat[WHITE], threat[BLACK]},
                                {"pawns", pawn[WHITE], pawn[BLACK]},
                                {"king shelter", shelter[WHITE], shelter[BLACK]},
                                {"king danger", danger[WHITE], danger[BLACK]},
                                {"total", total[WHITE], total[BLACK]}};
            breakdown->phase = phase;
            breakdown->blended = blended;
            breakdown->white = score;
        }
        return score;
    }

private:
    // Material, tables and mobility of one side; adds its phase share.
    Weight figures(Colour colour, int& phase) {
        const Colour them = chess::opponent(colour);
        const Bitboard all = position_.occupied();
        const Bitboard safe = ~position_.occupied(colour) & ~pawnAttackSet(them, position_.pieces(them, chess::PAWN));
        const Bitboard kingZone = kingAttacks(position_.kingSquare(them)) | bit(position_.kingSquare(them));
        Weight score;
        for (int kind = chess::PAWN; kind <= chess::KING; ++kind) {
            Bitboard set = position_.pieces(colour, static_cast<chess::FigureKind>(kind));
            phase += kPhase[static_cast<std::size_t>(kind)] * std::popcount(set);
            while (set) {
                const int square = popLowest(set);
                score += w_.squares[static_cast<std::size_t>(kind)][static_cast<std::size_t>(colour == WHITE ? square : square ^ 56)];
                score += w_.material[static_cast<std::size_t>(kind)];
                if (kind == chess::PAWN || kind == chess::KING)
                    continue;
                const Bitboard reach = attacksOf(kind, square, all);
                attackedBy_[colour][kind] |= reach;
                if ((kind == chess::KNIGHT || kind == chess::BISHOP) && isOutpost(colour, square))
                    score += kind == chess::KNIGHT ? w_.knightOutpost : w_.bishopOutpost;
                score += w_.mobility[static_cast<std::size_t>(kind)] *
                         (std::popcount(reach & safe) - kTypicalMobility[static_cast<std::size_t>(kind)]);
                if (reach & kingZone) {
                    ++kingAttackers_[them];
                    kingAttackUnits_[them] +=
                        kKingAttackWeight[static_cast<std::size_t>(kind)] * std::popcount(reach & kingZone);
                }
                if (kind == chess::ROOK)
                    score += rookFile(colour, square);
            }
        }
        if (std::popcount(position_.pieces(colour, chess::BISHOP)) >= 2)
            score += w_.bishopPair;
        return score;
    }

    Weight materialOf(Colour colour) const {
        Weight material;
        for (int kind = chess::PAWN; kind <= chess::KING; ++kind)
            material += w_.material[static_cast<std::size_t>(kind)] *
                        std::popcount(position_.pieces(colour, static_cast<chess::FigureKind>(kind)));
        return material;
    }

    static Bitboard attacksOf(int kind, int square, Bitboard all) {
        switch (kind) {
        case chess::KNIGHT: return knightAttacks(square);
        case chess::BISHOP: return bishopAttacks(square, all);
        case chess::ROOK: return rookAttacks(square, all);
        default: return queenAttacks(square, all);
        }
    }

    bool isOutpost(Colour colour, int square) const {
        const int rank = relativeRank(colour, square);
        if (rank < 3 || rank > 5)
            return false;
        const Colour them = chess::opponent(colour);
        if ((pawnAttackSet(colour, position_.pieces(colour, chess::PAWN)) & bit(square)) == 0)
            return false;
        return (kPassedSpan[colour][square] & adjacentFiles(fileOf(square)) & position_.pieces(them, chess::PAWN)) == 0;
    }

    // What `colour` threatens among the enemy figures (pawns and king aside).
    Weight threats(Colour colour) const {
        const Colour them = chess::opponent(colour);
        const Bitboard figures = position_.occupied(them) & ~position_.pieces(them, chess::PAWN) &
                                 ~position_.pieces(them, chess::KING);
        const Bitboard majors = position_.pieces(them, chess::ROOK) | position_.pieces(them, chess::QUEEN);
        const auto& by = attackedBy_[colour];
        Weight score;
        score += w_.threatByPawn * std::popcount(by[chess::PAWN] & figures);
        score += w_.threatByMinor * std::popcount((by[chess::KNIGHT] | by[chess::BISHOP]) & majors);
        score += w_.threatByRook * std::popcount(by[chess::ROOK] & position_.pieces(them, chess::QUEEN));
        score += w_.hanging * std::popcount(attacked_[colour] & figures & ~attacked_[them]);
        return score;
    }

    // The checks the enemy figures could give the king of `colour` on squares it does not
    // cover: each kind adds to the king's danger.
    void countSafeChecks(Colour colour) {
        const Colour them = chess::opponent(colour);
        const int king = position_.kingSquare(colour);
        const Bitboard all = position_.occupied();
        const Bitboard safe = ~attacked_[colour] & ~position_.occupied(them);
        const Bitboard diagonal = bishopAttacks(king, all);
        const Bitboard straight = rookAttacks(king, all);
        const std::array<Bitboard, 7> checks{0, 0, knightAttacks(king), diagonal, straight, diagonal | straight, 0};
        for (int kind = chess::KNIGHT; kind <= chess::QUEEN; ++kind)
            if (checks[static_cast<std::size_t>(kind)] & attackedBy_[them][kind] & safe)
                kingAttackUnits_[colour] += kSafeCheckUnits[static_cast<std::size_t>(kind)];
    }

    Weight rookFile(Colour colour, int square) const {
        const Bitboard file = fileMask(fileOf(square));
        if ((position_.pieces(colour, chess::PAWN) & file) != 0)
            return {};
        const bool enemyPawn = (position_.pieces(chess::opponent(colour), chess::PAWN) & file) != 0;
        return enemyPawn ? w_.rookHalfOpenFile : w_.rookOpenFile;
    }

    Weight pawns(Colour colour) const {
        const Colour them = chess::opponent(colour);
        const Bitboard own = position_.pieces(colour, chess::PAWN);
        const Bitboard enemy = position_.pieces(them, chess::PAWN);
        Weight score;
        for (int file = 0; file < 8; ++file) {
            const int count = std::popcount(own & fileMask(file));
            if (count == 0)
                continue;
            if (count > 1)
                score += w_.doubled * (count - 1);
            if ((own & adjacentFiles(file)) == 0)
                score += w_.isolated * count;
        }
        const Bitboard backed = pawnAttackSet(colour, own);
        Bitboard set = own;
        while (set) {
            const int square = popLowest(set);
            const int rank = relativeRank(colour, square);
            const Bitboard beside = adjacentFiles(fileOf(square)) & rankMask(rankOf(square));
            if ((own & beside) || (backed & bit(square)))
                score += w_.connected * rank;
            if (kPassedSpan[colour][square] & enemy)
                continue;
            score += w_.passed[static_cast<std::size_t>(rank)];
            const Bitboard path = kPassedSpan[colour][square] & fileMask(fileOf(square));
            const int stepWeight = rank >= 3 ? (rank - 2) * (rank - 1) / 2 : 0;  // 1, 3, 6, 10
            const Bitboard next = colour == WHITE ? bit(square) << 8 : bit(square) >> 8;
            // A pawn that outruns the king counts as nearly a queen below: its path bonuses
            // on top would make it worth more than the queen it becomes.
            const bool unstoppable = !position_.hasPieces(them) && outrunsKing(colour, square);
            if (stepWeight && !unstoppable && (next & position_.occupied()) == 0) {
                score += w_.passedFreeStep * stepWeight;
                if ((path & (position_.occupied() | attacked_[them])) == 0)
                    score += w_.passedSafePath * stepWeight;
            }
            // In the endgame a passed pawn wants its own king near the square ahead of it and
            // the enemy king far from it.
            const int ahead = colour == WHITE ? square + 8 : square - 8;
            const int weight = rank >= 3 ? rank - 2 : 0;
            score.eg += weight * (5 * distance(position_.kingSquare(them), ahead) -
                                  2 * distance(position_.kingSquare(colour), ahead));
            if (unstoppable)
                score.eg += kUnstoppable;
        }
        return score;
    }

    // Against king and pawns alone: whether the enemy king is too far to catch the pawn before
    // it promotes (the rule of the square), its own figures not standing in the way.
    bool outrunsKing(Colour colour, int square) const {
        const int promotion = colour == WHITE ? 56 + fileOf(square) : fileOf(square);
        const Bitboard path = kPassedSpan[colour][square] & fileMask(fileOf(square));
        if (path & position_.occupied())
            return false;
        const int pawnSteps = std::min(5, 7 - relativeRank(colour, square));  // the double step
        const int kingSteps = distance(position_.kingSquare(chess::opponent(colour)), promotion) -
                              (position_.sideToMove() == colour ? 0 : 1);
        return pawnSteps < kingSteps;
    }

    // The pawn shield before a king at a wing.
    Weight kingShelter(Colour colour) const {
        Weight score;
        const int king = position_.kingSquare(colour);
        const int file = fileOf(king);
        if (file <= 2 || file >= 5) {
            const Bitboard own = position_.pieces(colour, chess::PAWN);
            for (int f = std::max(0, file - 1); f <= std::min(7, file + 1); ++f) {
                const Bitboard pawnsOnFile = own & fileMask(f);
                const int front = colour == WHITE ? king + 8 : king - 8;
                const int twoAhead = colour == WHITE ? king + 16 : king - 16;
                const auto onRankOf = [&](int square) {
                    return square >= 0 && square < 64 && (pawnsOnFile & rankMask(rankOf(square))) != 0;
                };
                if (onRankOf(front))
                    score += w_.shelterNear;
                else if (onRankOf(twoAhead))
                    score += w_.shelterFar;
                else
                    score += w_.shelterMissing;
            }
        }
        // A file beside the king without a pawn of its own is a road in for enemy rooks and queens.
        const Colour them = chess::opponent(colour);
        if (position_.pieces(them, chess::ROOK) | position_.pieces(them, chess::QUEEN)) {
            const Bitboard own = position_.pieces(colour, chess::PAWN);
            for (int f = std::max(0, file - 1); f <= std::min(7, file + 1); ++f)
                if ((own & fileMask(f)) == 0)
                    score += w_.openFileNearKing;
        }
        return score;
    }

    // The pressure of the enemy figures on the squares around the king, as `figures` counted
    // it, when there are several and the enemy queen is among the figures.
    int kingDanger(Colour colour) const {
        const Colour them = chess::opponent(colour);
        if (kingAttackers_[colour] < 2 || position_.pieces(them, chess::QUEEN) == 0)
            return 0;
        const int units = kingAttackUnits_[colour];
        return std::min(500, units * units / 3);
    }

    // A side ahead without pawns and by less than a rook can rarely win: the score shrinks.
    int scaleDrawish(int score) const {
        const Colour strong = score > 0 ? WHITE : BLACK;
        if (position_.pieces(strong, chess::PAWN) == 0 && std::abs(score) < 400)
            return score / 4;
        return score;
    }

    const Position& position_;
    const EvalWeights& w_;
    std::array<int, 2> kingAttackers_{};    // by the colour of the king attacked
    std::array<int, 2> kingAttackUnits_{};
    // What each colour's figures of each kind attack, and all of them together.
    std::array<std::array<Bitboard, 7>, 2> attackedBy_{};
    std::array<Bitboard, 2> attacked_{};
};

}  // namespace

int evaluate(const Position& position) { return evaluate(position, kEvalWeights); }

int evaluate(const Position& position, const EvalWeights& weights) {
    const int white = Evaluator(position, weights).whiteScore(nullptr);
    return (position.sideToMove() == WHITE ? white : -white) + kTempo;
}

EvalBreakdown explainEvaluation(const Position& position) {
    EvalBreakdown breakdown;
    const int white = Evaluator(position, kEvalWeights).whiteScore(&breakdown);
    breakdown.tempo = kTempo;
    breakdown.sideToMove = (position.sideToMove() == WHITE ? white : -white) + kTempo;
    return breakdown;
}

std::vector<std::pair<std::string, Weight*>> tunableWeights(EvalWeights& w) {
    std::vector<std::pair<std::string, Weight*>> named;
    const auto each = [&](const char* name, auto& array, std::size_t first, std::size_t last) {
        for (std::size_t i = first; i <= last; ++i)
            named.emplace_back(std::string(name) + "[" + std::to_string(i) + "]", &array[i]);
    };
    each("material", w.material, chess::PAWN, chess::QUEEN);
    each("passed", w.passed, 1, 6);
    each("mobility", w.mobility, chess::KNIGHT, chess::QUEEN);
    for (auto& [name, weight] : std::initializer_list<std::pair<const char*, Weight*>>{
             {"passedFreeStep", &w.passedFreeStep}, {"passedSafePath", &w.passedSafePath},
             {"doubled", &w.doubled}, {"isolated", &w.isolated}, {"connected", &w.connected},
             {"bishopPair", &w.bishopPair}, {"rookOpenFile", &w.rookOpenFile},
             {"rookHalfOpenFile", &w.rookHalfOpenFile}, {"threatByPawn", &w.threatByPawn},
             {"threatByMinor", &w.threatByMinor}, {"threatByRook", &w.threatByRook}, {"hanging", &w.hanging},
             {"knightOutpost", &w.knightOutpost}, {"bishopOutpost", &w.bishopOutpost},
             {"shelterNear", &w.shelterNear}, {"shelterFar", &w.shelterFar},
             {"shelterMissing", &w.shelterMissing}, {"openFileNearKing", &w.openFileNearKing}})
        named.emplace_back(name, weight);
    return named;
}

std::vector<std::pair<std::string, Weight*>> tunableSquares(EvalWeights& w) {
    std::vector<std::pair<std::string, Weight*>> named;
    for (std::size_t kind = chess::PAWN; kind <= chess::KING; ++kind) {
        // A pawn never stands on the first or the last row.
        const std::size_t first = kind == chess::PAWN ? 8 : 0;
        const std::size_t last = kind == chess::PAWN ? 56 : 64;
        for (std::size_t square = first; square < last; ++square)
            if (fileOf(static_cast<int>(square)) < 4)
                named.emplace_back("squares[" + std::to_string(kind) + "][" + std::to_string(square) + "]",
                               &w.squares[kind][square]);
    }
    return named;
}

}  // namespace vek::engine
