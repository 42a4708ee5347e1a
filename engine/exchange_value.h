#pragma once
// What a figure counts in an exchange on one square: for the exchange evaluation of the board,
// the ordering of captures and the pruning of captures that cannot help. The evaluation's own
// material values are another matter: they are fitted to game results (evaluation_weights.h).

#include <array>
#include <cstddef>

namespace vek::engine {

// By chess::FigureKind (index 0 unused): the king's beyond any material. Knight and bishop
// count alike: a bishop that takes a defended knight is an even trade.
inline constexpr std::array<int, 7> kExchangeValue{0, 100, 325, 325, 500, 950, 20000};

constexpr int exchangeValue(int kind) { return kExchangeValue[static_cast<std::size_t>(kind)]; }

}  // namespace vek::engine
