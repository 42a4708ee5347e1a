#include "uci/input_quote.h"

namespace vek::uci {

std::string quoteInput(std::string_view text) {
    constexpr std::string_view kHexDigits = "0123456789abcdef";
    std::string quoted;
    for (const char c : text.substr(0, kMaxQuotedBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            quoted += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            quoted += "\\x";
            quoted += kHexDigits[byte >> 4];
            quoted += kHexDigits[byte & 0xf];
        } else {
            quoted += c;
        }
    }
    if (text.size() > kMaxQuotedBytes)
        quoted += "...";
    return quoted;
}

}  // namespace vek::uci
