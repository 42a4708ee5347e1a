#include "chess_test_support.h"

#include "chess/notation.h"

#include <gtest/gtest.h>

namespace vek::chess::testing {

Square sq(const char* name) { return Square{name[0], static_cast<std::int8_t>(name[1] - '0')}; }

std::string name(Square s) {
    if (s == kNoSquare)
        return "--";
    return std::string{s.column, static_cast<char>('0' + s.row)};
}

vek::STRING positionOf(std::initializer_list<const char*> placements, char side) {
    std::string text(64, ' ');
    for (const char* placement : placements)
        text[squareIndex(sq(placement + 1))] = placement[0];
    text += side;
    return vek::STRING(text.c_str());
}

void setUp(Board& board, std::initializer_list<const char*> placements, char side, bool settle) {
    ASSERT_TRUE(board.loadPosition(positionOf(placements, side)));
    if (settle)
        board.refresh();
}

std::vector<std::string> targetsOf(const Board& board, const char* square) {
    std::vector<std::string> names;
    const FigureMoves& moves = board.figureAt(sq(square))->moves();
    for (std::size_t i = 0; i < moves.targetCount; ++i)
        names.push_back(name(moves.targets[i].target));
    return names;
}

std::vector<std::string> coveredOf(const Board& board, const char* square) {
    std::vector<std::string> names;
    const FigureMoves& moves = board.figureAt(sq(square))->moves();
    for (std::size_t i = 0; i < moves.coveredCount; ++i)
        names.push_back(name(moves.covered[i]));
    return names;
}

std::string describe(const Move& move) {
    std::string text = name(move.from) + (move.captured ? "x" : "") + name(move.to);
    if (move.promotionKind != 0)
        text += figureLetter(move.promotionKind);
    return text;
}

std::vector<std::string> describe(const MoveList& list) {
    std::vector<std::string> texts;
    for (const Move& move : list)
        texts.push_back(describe(move));
    return texts;
}

void play(Board& board, const char* move) {
    Move m;
    m.from = sq(move);
    m.to = sq(move + 2);
    m.figure = board.figureAt(m.from);
    ASSERT_NE(m.figure, nullptr) << move;
    board.playMove(m);
}

}  // namespace vek::chess::testing
