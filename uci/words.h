#pragma once
// The words of the GUI's lines and the numbers among them, read alike by every command.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek::uci {

// The words of a text, split at any run of blanks.
std::vector<std::string> splitWords(std::string_view text);

// The whole number `text` is, within [low, high], or none (also for any sign of a fraction,
// a second word or digits beyond the 64 bits).
std::optional<std::int64_t> numberWithin(std::string_view text, std::int64_t low, std::int64_t high);

}  // namespace vek::uci
