#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::setUp;
using testing::sq;

// Everything that a trial move must leave as it found it. Figures created by trial promotions
// stay in the board's list, off the board.
struct Snapshot {
    std::vector<const Figure*> squares;
    std::vector<Square> figureSquares;
    std::vector<std::pair<Square, Square>> history;

    explicit Snapshot(const Board& board) {
        for (std::size_t i = 0; i < 64; ++i)
            squares.push_back(board.figureAtIndex(i));
        for (const Figure* figure : board.figures())
            figureSquares.push_back(figure->square());
        for (const Move& move : board.history())
            history.emplace_back(move.from, move.to);
    }
    bool isRestoredIn(const Board& board) const {
        const Snapshot now(board);
        if (now.squares != squares || now.history != history || now.figureSquares.size() < figureSquares.size())
            return false;
        for (std::size_t i = 0; i < now.figureSquares.size(); ++i)
            if (now.figureSquares[i] != (i < figureSquares.size() ? figureSquares[i] : kNoSquare))
                return false;
        return true;
    }
};

// The figures standing on the board agree with the squares they claim.
bool isConsistent(const Board& board) {
    for (const Figure* figure : board.figures())
        if (figure->square() != kNoSquare && board.figureAt(figure->square()) != figure)
            return false;
    for (std::size_t i = 0; i < 64; ++i)
        if (const Figure* figure = board.figureAtIndex(i); figure && figure->square() != squareAt(i))
            return false;
    return true;
}

// The black king is refreshed last, so generating it again sees the very lists it saw.
bool blackKingAgreesWithAFreshGeneration(Board& board) {
    FigureMoves again;
    return board.blackKing()->generateMoves(again) == board.blackKing()->moves();
}

MoveList candidates(const Board& board) {
    std::size_t checkers = 0;
    MoveList evasions = board.listEvasions(checkers);
    return checkers > 0 ? evasions : board.listAllMoves();
}

std::string position(const Board& board) { return board.positionText().getText(); }

// Random games: at every position each candidate is made, refreshed and taken back, and the
// move then played in the game must give the position that its trial gave.
TEST(TrialMoves, TakeBackRestoresEverythingOverRandomPlayouts) {
    std::mt19937 random(20240611);
    std::size_t trials = 0;
    std::size_t castlings = 0;
    std::size_t promotions = 0;
    std::size_t passings = 0;
    for (int game = 0; game < 10; ++game) {
        Board board;
        board.newGame();
        for (int ply = 0; ply < 120 && isGameRunning(board.state()); ++ply) {
            MoveList list = candidates(board);
            const bool anyTarget = !board.listAllMoves().isEmpty();
            std::size_t checkers = 0;
            const bool evasionsEmpty = board.listEvasions(checkers).isEmpty();
            ASSERT_EQ(board.hasLegalMove(), checkers > 0 ? !evasionsEmpty : anyTarget);
            ASSERT_FALSE(list.isEmpty());

            const Snapshot before(board);
            const GameState state = board.state();
            std::vector<std::string> trialPositions;
            for (Move& move : list) {
                board.applyMove(move);
                board.refresh();
                ASSERT_TRUE(isConsistent(board));
                trialPositions.push_back(position(board));
                board.takeBack(move);
                ASSERT_TRUE(before.isRestoredIn(board)) << testing::describe(move);
                ++trials;
                castlings += move.castlingRook ? 1 : 0;
                promotions += move.promotionKind != 0 ? 1 : 0;
                passings += move.captured && move.capturedSquare != move.to ? 1 : 0;
            }
            board.refresh();
            ASSERT_EQ(board.state(), state);

            const std::size_t chosen = random() % list.getCount();
            board.playMove(list[chosen]);
            ASSERT_TRUE(isConsistent(board));
            ASSERT_TRUE(blackKingAgreesWithAFreshGeneration(board));
            ASSERT_EQ(position(board), trialPositions[chosen]) << testing::describe(list[chosen]);
        }
    }
    EXPECT_GT(trials, 10000u);
    EXPECT_GT(castlings, 0u);
    EXPECT_GT(promotions, 0u);
    EXPECT_GT(passings, 0u);
}

TEST(TrialMoves, EnPassantTrialAgreesWithTheGameMove) {
    Board trial;
    Board game;
    for (Board* board : {&trial, &game}) {
        setUp(*board, {"Be5", "bd7", "Ke1", "ke8"}, 'S');
        testing::play(*board, "d7d5");
    }
    MoveList list = trial.listAllMoves();
    Move& passing = *std::find_if(list.begin(), list.end(), [](const Move& m) { return m.to == sq("d6"); });
    Figure* passed = trial.figureAt(sq("d5"));
    EXPECT_EQ(passing.captured, passed);
    const Snapshot before(trial);
    trial.applyMove(passing);
    EXPECT_EQ(trial.figureAt(sq("d5")), nullptr);
    EXPECT_EQ(passed->square(), kNoSquare);
    EXPECT_EQ(trial.history()[trial.history().getCount() - 1].capturedSquare, sq("d5"));
    game.playMove(passing);
    EXPECT_EQ(position(trial), position(game));
    trial.takeBack(passing);
    EXPECT_TRUE(before.isRestoredIn(trial));
    EXPECT_EQ(trial.figureAt(sq("d5")), passed);
    EXPECT_EQ(trial.state(), RUNNING);
}

TEST(TrialMoves, PromotionCreatesItsFigureOnceAndReusesIt) {
    Board board;
    setUp(board, {"Be7", "Ka1", "kh8"});
    MoveList list = board.listAllMoves();
    Move& promotion = *std::find_if(list.begin(), list.end(), [](const Move& m) { return m.promotionKind == QUEEN; });
    board.applyMove(promotion);
    Figure* queen = promotion.promotedFigure;
    ASSERT_NE(queen, nullptr);
    EXPECT_EQ(board.figureAt(sq("e8")), queen);
    EXPECT_EQ(board.figureAt(sq("e7")), nullptr);
    board.takeBack(promotion);
    EXPECT_EQ(queen->square(), kNoSquare);
    EXPECT_EQ(board.figureAt(sq("e8")), nullptr);
    EXPECT_EQ(board.figureAt(sq("e7"))->kind(), PAWN);
    board.applyMove(promotion);
    EXPECT_EQ(promotion.promotedFigure, queen);
    EXPECT_EQ(board.figures().getCount(), 4u);
    board.takeBack(promotion);
}

TEST(TrialMoves, TakeBackOfTheHistoryEntryItselfRestoresThePosition) {
    Board board;
    setUp(board, {"Be7", "sd8", "Ka1", "kh8"});
    const vek::STRING before = board.positionText();
    MoveList list = board.listAllMoves();
    for (Move& move : list) {
        board.applyMove(move);
        board.takeBack(board.history()[board.history().getCount() - 1]);
        EXPECT_EQ(board.positionText(), before);
        EXPECT_TRUE(board.history().isEmpty());
    }
}

TEST(TrialMoves, CastlingTrialMovesTheRookAndBack) {
    Board board;
    setUp(board, {"Ke1", "Ta1", "ke8"});
    MoveList list = board.listAllMoves();
    Move& castling = *std::find_if(list.begin(), list.end(), [](const Move& m) { return m.castlingRook; });
    const Snapshot before(board);
    board.applyMove(castling);
    EXPECT_EQ(board.figureAt(sq("c1")), board.whiteKing());
    EXPECT_EQ(board.figureAt(sq("d1")), castling.castlingRook);
    EXPECT_EQ(board.figureAt(sq("a1")), nullptr);
    EXPECT_FALSE(board.whiteKing()->moved());
    board.takeBack(castling);
    EXPECT_TRUE(before.isRestoredIn(board));
}

}  // namespace
}  // namespace vek::chess
