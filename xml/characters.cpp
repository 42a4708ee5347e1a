#include "xml/characters.h"

namespace vek::xml {

namespace {

// The library's lower-case table for 8-bit names; in UTF-8 names only ASCII letters fold, since
// a byte above 0x7F is part of a longer sequence there.
unsigned char foldCase(unsigned char c, bool utf8) {
    if (!utf8)
        return vek::toLowerCase(c);
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace

bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view stripBlanks(std::string_view text) {
    while (!text.empty() && isBlank(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(const STRING& left, const STRING& right, bool utf8) {
    if (left.getLength() != right.getLength())
        return false;
    const char* a = left.getText();
    const char* b = right.getText();
    for (std::size_t i = 0; i < left.getLength(); ++i) {
        if (foldCase(static_cast<unsigned char>(a[i]), utf8) != foldCase(static_cast<unsigned char>(b[i]), utf8))
            return false;
    }
    return true;
}

STRING excerpt(const STRING& text) {
    constexpr std::size_t kLength = 64;
    if (text.getLength() <= kLength)
        return text;
    return text.leftString(kLength) + "...";
}

}  // namespace vek::xml
