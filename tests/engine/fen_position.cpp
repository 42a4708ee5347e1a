#include "tests/engine/fen_position.h"

#include <string>

#include <gtest/gtest.h>

#include "uci/engine_game.h"
#include "uci/fen.h"

namespace vek::engine::testing {

Position positionFromFen(std::string_view fen, int halfmoveClock, int fullmoveNumber, bool chess960) {
    std::string error;
    auto setup = uci::parseFen(fen, error, chess960);
    EXPECT_TRUE(setup.has_value()) << fen << ": " << error;
    if (!setup)
        return {};
    setup->halfmoveClock = halfmoveClock;
    setup->fullmoveNumber = fullmoveNumber;
    return uci::enginePosition(*setup);
}

}  // namespace vek::engine::testing
