#pragma once
// The GUI's text as quoted back in an "info string" note: a line of any length and any bytes
// from the GUI must give a short note of printable characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace vek::uci {

inline constexpr std::size_t kMaxQuotedBytes = 80;

// At most the first kMaxQuotedBytes bytes of `text`, followed by "..." when there were more;
// bytes outside printable ASCII written as \xNN, and a backslash as \\, so that the note can
// be read back unambiguously.
std::string quoteInput(std::string_view text);

}  // namespace vek::uci
