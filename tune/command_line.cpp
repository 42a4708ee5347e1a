#include "tune/command_line.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace vek::engine::tune {

std::optional<std::vector<std::pair<std::string, std::string>>> flagValues(int argc, const char* const* argv,
                                                                           int first) {
    if ((argc - first) % 2 != 0)
        return std::nullopt;
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = first; i + 1 < argc; i += 2)
        pairs.emplace_back(argv[i], argv[i + 1]);
    return pairs;
}

std::uint64_t numberArgument(const std::string& flag, const std::string& text, std::uint64_t low,
                             std::uint64_t high) {
    std::size_t used = 0;
    std::uint64_t value = 0;
    try {
        if (!text.empty() && text[0] != '-')
            value = std::stoull(text, &used);
    } catch (const std::logic_error&) {  // not a number, or too large
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        throw std::invalid_argument(flag + " wants a number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

double realArgument(const std::string& flag, const std::string& text, double low, double high) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value) || value < low || value > high) {
        std::ostringstream message;
        message << flag << " wants a number from " << low << " to " << high << ", not \"" << text << "\"";
        throw std::invalid_argument(message.str());
    }
    return value;
}

}  // namespace vek::engine::tune
