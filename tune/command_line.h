#pragma once
// The numbers of the developer tools' command-line options, checked against their range.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vek::engine::tune {

// The options from argv[first] on as pairs of flag and value; none when a flag has no value.
std::optional<std::vector<std::pair<std::string, std::string>>> flagValues(int argc, const char* const* argv,
                                                                           int first);

// Throws std::invalid_argument naming the flag and the range when `text` is no whole number
// from low to high.
std::uint64_t numberArgument(const std::string& flag, const std::string& text, std::uint64_t low,
                             std::uint64_t high);
// The same for a decimal number.
double realArgument(const std::string& flag, const std::string& text, double low, double high);

}  // namespace vek::engine::tune
