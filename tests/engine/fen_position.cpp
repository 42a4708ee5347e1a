#include "tests/engine/fen_position.h"

#include <string>

#include <gtest/gtest.h>

#include "uci/fen.h"

namespace vek::engine::testing {

Position positionFromFen(std::string_view fen, int halfmoveClock, int fullmoveNumber) {
    std::string error;
    const auto standard = uci::parseFen(fen, error);
    EXPECT_TRUE(standard.has_value()) << fen << ": " << error;
    if (!standard)
        return {};
    return Position::fromSquares(standard->squares, standard->side, standard->castling, standard->enPassant,
                                 halfmoveClock, fullmoveNumber);
}

}  // namespace vek::engine::testing
