#include "uci/words.h"

#include <algorithm>
#include <charconv>

namespace vek::uci {

std::vector<std::string> splitWords(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    std::vector<std::string> words;
    for (std::size_t start = text.find_first_not_of(kBlanks); start != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(kBlanks, start), text.size());
        words.emplace_back(text.substr(start, end - start));
        start = text.find_first_not_of(kBlanks, end);
    }
    return words;
}

std::optional<std::int64_t> numberWithin(std::string_view text, std::int64_t low, std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace vek::uci
