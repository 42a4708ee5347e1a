#include <algorithm>

#include <gtest/gtest.h>

#include "chess/notation.h"
#include "chess_test_support.h"

namespace vek::chess {
namespace {

using testing::FakeTime;
using testing::play;
using testing::setUp;
using testing::sq;

const Move& lastEntry(const Board& board) { return board.history()[board.history().getCount() - 1]; }

TEST(NewGame, SetsUpBothSidesWhiteFirstWithWhitesClockRunning) {
    FakeTime::now = 500;
    Board board(FakeTime::tick);
    board.newGame();
    ASSERT_EQ(board.figures().getCount(), 32u);
    const char* const order = "BBBBBBBBTSLDKLSTbbbbbbbbtsldklst";
    for (std::size_t i = 0; i < 32; ++i) {
        const Figure* figure = board.figures()[i];
        EXPECT_EQ(figureLetter(figure->kind()), order[i] & ~0x20) << i;
        EXPECT_EQ(figure->colour(), i < 16 ? WHITE : BLACK);
        EXPECT_FALSE(figure->moved());
        const std::size_t expectedTargets = figure->kind() == PAWN ? 2 : figure->kind() == KNIGHT ? 2 : 0;
        EXPECT_EQ(figure->moves().targetCount, expectedTargets) << i;
    }
    EXPECT_EQ(board.whiteKing(), board.figureAt(sq("e1")));
    EXPECT_EQ(board.blackKing(), board.figureAt(sq("e8")));
    EXPECT_EQ(board.state(), RUNNING);
    EXPECT_EQ(board.sideToMove(), WHITE);
    EXPECT_TRUE(board.whiteClock().running);
    EXPECT_FALSE(board.blackClock().running);
    EXPECT_EQ(board.blackClock().shown(board.tick()), 0);
}

TEST(PlayMove, EnPassantTakesThePassedPawn) {
    Board board;
    setUp(board, {"Be5", "bd7", "Ke1", "ke8"}, 'S');
    play(board, "d7d5");
    Figure* passed = board.figureAt(sq("d5"));
    play(board, "e5d6");
    const Move& entry = lastEntry(board);
    EXPECT_EQ(entry.to, sq("d6"));
    EXPECT_EQ(entry.captured, passed);
    EXPECT_EQ(entry.capturedSquare, sq("d5"));
    EXPECT_EQ(board.figureAt(sq("d5")), nullptr);
    EXPECT_EQ(passed->square(), kNoSquare);
    EXPECT_EQ(board.figures().getCount(), 4u);
}

TEST(PlayMove, KingBesideADoubleSteppedPawnTakesNothing) {
    Board board;
    setUp(board, {"Kc5", "bd7", "kh8"}, 'S');
    play(board, "d7d5");
    play(board, "c5d6");
    EXPECT_EQ(lastEntry(board).captured, nullptr);
    EXPECT_NE(board.figureAt(sq("d5")), nullptr);
}

TEST(PlayMove, EngineCastlingMovesKingAndRook) {
    Board board;
    setUp(board, {"Ke1", "Th1", "ke8"});
    const MoveList list = board.listAllMoves();
    const auto castling = std::find_if(list.begin(), list.end(), [](const Move& m) { return m.castlingRook; });
    ASSERT_NE(castling, list.end());
    Figure* rook = board.figureAt(sq("h1"));
    board.playMove(*castling);
    EXPECT_EQ(board.figureAt(sq("g1")), board.whiteKing());
    EXPECT_EQ(board.figureAt(sq("f1")), rook);
    EXPECT_EQ(board.figureAt(sq("h1")), nullptr);
    EXPECT_TRUE(rook->moved());
    EXPECT_TRUE(board.whiteKing()->moved());
    EXPECT_EQ(lastEntry(board).castlingRook, rook);
    EXPECT_EQ(lastEntry(board).rookFrom, sq("h1"));
    EXPECT_EQ(lastEntry(board).rookTo, sq("f1"));
    EXPECT_EQ(board.sideToMove(), BLACK);
}

TEST(PlayPromotion, NewFigureReplacesThePawn) {
    Board board;
    setUp(board, {"Bb7", "ta8", "Ke1", "kh8"});
    Figure* pawn = board.figureAt(sq("b7"));
    Figure* rook = board.figureAt(sq("a8"));
    board.playPromotion(pawn, sq("b7"), QUEEN, sq("a8"));
    const Figure* queen = board.figureAt(sq("a8"));
    EXPECT_EQ(queen->kind(), QUEEN);
    EXPECT_EQ(queen->colour(), WHITE);
    EXPECT_TRUE(queen->moved());
    EXPECT_EQ(pawn->square(), kNoSquare);
    EXPECT_EQ(rook->square(), kNoSquare);
    const Move& entry = lastEntry(board);
    EXPECT_EQ(entry.promotedFigure, queen);
    EXPECT_EQ(entry.promotionKind, QUEEN);
    EXPECT_EQ(entry.captured, rook);
    EXPECT_EQ(entry.stateAfter, BLACK_IN_CHECK);
    EXPECT_EQ(board.figures().getCount(), 5u);
}

TEST(PlayPromotion, OnlyKnightToQueenReplaceAPawn) {
    for (const FigureKind kind : {static_cast<FigureKind>(0), PAWN, KING, static_cast<FigureKind>(7)}) {
        Board board;
        setUp(board, {"Bb7", "ta8", "Ke1", "kh8"});
        const vek::STRING before = board.positionText();
        board.playPromotion(board.figureAt(sq("b7")), sq("b7"), kind, sq("a8"));
        EXPECT_EQ(board.positionText(), before) << kind;
        EXPECT_TRUE(board.history().isEmpty()) << kind;
        EXPECT_EQ(board.figures().getCount(), 4u) << kind;
    }
}

TEST(Clocks, EachSideRunsOnlyWhileItIsToMove) {
    FakeTime::now = 1000;
    Board board(FakeTime::tick);
    board.newGame();
    FakeTime::now = 4000;
    play(board, "e2e4");
    FakeTime::now = 6000;
    play(board, "e7e5");
    FakeTime::now = 7000;
    EXPECT_TRUE(board.whiteClock().running);
    EXPECT_EQ(board.whiteClock().shown(board.tick()), 4000);
    EXPECT_FALSE(board.blackClock().running);
    EXPECT_EQ(board.blackClock().shown(board.tick()), 2000);
    board.newGame();
    EXPECT_EQ(board.whiteClock().shown(board.tick()), 0);
    EXPECT_EQ(board.blackClock().shown(board.tick()), 0);
}

TEST(GamePlay, FoolsMateEndsTheGameWithTheHistoryComplete) {
    Board board;
    board.newGame();
    for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"})
        play(board, move);
    EXPECT_EQ(board.state(), BLACK_WINS);
    ASSERT_EQ(board.history().getCount(), 4u);
    EXPECT_EQ(board.history()[0].stateAfter, RUNNING);
    EXPECT_EQ(lastEntry(board).stateAfter, BLACK_WINS);
    EXPECT_TRUE(board.isMoveRejected(board.figureAt(sq("a2")), sq("a2"), sq("a3"), 0));
}

TEST(StatusText, NamesTheStateInTheOemCodePage) {
    Board board;
    EXPECT_STREQ(board.statusText().getText(), "Patt/Remis");
    EXPECT_EQ(board.statusText().getCharset(), vek::csOEM);
    board.newGame();
    EXPECT_STREQ(board.statusText().getText(), "N\x84" "chster: Wei\xE1");
    EXPECT_EQ(board.statusText().getCharset(), vek::csOEM);
    play(board, "e2e4");
    EXPECT_STREQ(board.statusText().getText(), "N\x84" "chster: Schwarz");
    setUp(board, {"Ke1", "te8", "ka8"});
    EXPECT_STREQ(board.statusText().getText(), "Schach");
    setUp(board, {"Kh1", "Bg2", "Bh2", "ta1", "ka8"});
    EXPECT_STREQ(board.statusText().getText(), "Schwarz (Zarvo) gewinnt durch Schachmatt");
    setUp(board, {"kh8", "bg7", "bh7", "Ta8", "Ka1"}, 'S');
    EXPECT_STREQ(board.statusText().getText(), "Wei\xE1 (Zarvo) gewinnt durch Schachmatt");
    setUp(board, {"ka8", "Db6", "Kh1"}, 'S');
    EXPECT_STREQ(board.statusText().getText(), "Patt/Remis");
}

TEST(Board, ClearDeletesEveryFigure) {
    Board board;
    board.createFigure(WHITE, KNIGHT, sq("g1"), false);
    EXPECT_EQ(board.createFigure(WHITE, KNIGHT, kNoSquare, false), nullptr);
    EXPECT_EQ(board.createFigure(WHITE, static_cast<FigureKind>(7), sq("a1"), false), nullptr);
    EXPECT_EQ(board.figures().getCount(), 1u);
    EXPECT_EQ(board.figureAtIndex(6)->kind(), KNIGHT);
    board.clear();
    EXPECT_EQ(board.figures().getCount(), 0u);
    for (std::size_t i = 0; i < 64; ++i)
        EXPECT_EQ(board.figureAtIndex(i), nullptr);
    EXPECT_EQ(board.state(), NO_GAME);
    EXPECT_EQ(board.figureAt(kNoSquare), nullptr);
}

}  // namespace
}  // namespace vek::chess
