#pragma once
// Helpers for the chess tests: positions from figure lists, square names, fake time.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "chess/board.h"

namespace vek::chess::testing {

// "e4" -> {'e', 4}.
Square sq(const char* name);
std::string name(Square s);

// A position text from placements like "Ke1" (upper case White) or "ke8" (lower case Black),
// followed by the side letter.
vek::STRING positionOf(std::initializer_list<const char*> placements, char side = 'W');

// Loads the placements; a second refresh lets every figure see the others' fresh lists.
void setUp(Board& board, std::initializer_list<const char*> placements, char side = 'W', bool settle = true);

// Target squares (in generation order) and covered squares of the figure on a square.
std::vector<std::string> targetsOf(const Board& board, const char* square);
std::vector<std::string> coveredOf(const Board& board, const char* square);

// "e2e4", with the promotion letter and "x" before the target for a capture.
std::string describe(const Move& move);
std::vector<std::string> describe(const MoveList& list);

// Plays a plain move given as "e2e4" through playMove.
void play(Board& board, const char* move);

// A clock that moves only when told.
struct FakeTime {
    static inline std::int32_t now = 0;
    static std::int32_t tick() { return now; }
};

}  // namespace vek::chess::testing
