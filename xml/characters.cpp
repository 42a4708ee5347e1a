#include "xml/characters.h"

namespace vek::xml {

namespace {

unsigned char toLowerCase(unsigned char c, bool utf8) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + ('a' - 'A'));
    // Latin-1 capitals À to Þ, except the multiplication sign.
    if (!utf8 && c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    return c;
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
        if (toLowerCase(static_cast<unsigned char>(a[i]), utf8) !=
            toLowerCase(static_cast<unsigned char>(b[i]), utf8))
            return false;
    }
    return true;
}

}  // namespace vek::xml
