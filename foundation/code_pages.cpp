#include "foundation/code_pages.h"

namespace vek {
namespace {

// The Windows code page 1252 from 0x80 to 0x9F in Unicode (the five unassigned bytes map to the
// C1 control with the same number, as Windows does).
constexpr char16_t kWindowsHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Code page 850 from 0x80 to 0xFF in Unicode.
constexpr char16_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// Each byte through Unicode into the other code page, '?' where it has no byte.
template <typename ToUnicode, typename FromUnicode>
void convertBytes(const char* from, char* to, std::size_t length, ToUnicode toUnicode, FromUnicode fromUnicode) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(from[i]);
        const int converted = byte < 0x80 ? byte : fromUnicode(toUnicode(byte));
        to[i] = static_cast<char>(converted < 0 ? '?' : converted);
    }
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// The character at text[i] and the units it takes; a lone surrogate gives U+FFFD.
char32_t decodeUtf16(std::u16string_view text, std::size_t i, std::size_t& used) {
    const char32_t c = text[i];
    used = 1;
    if (c < 0xD800 || c > 0xDFFF)
        return c;
    if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        used = 2;
        return 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    return 0xFFFD;
}

}  // namespace

char32_t windowsToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindowsHigh[byte - 0x80] : byte;
}

int unicodeToWindows(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kWindowsHigh[i] == c)
            return 0x80 + i;
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}


char32_t oemToUnicode(unsigned char byte) { return byte < 0x80 ? byte : kOemHigh[byte - 0x80]; }

int unicodeToOem(char32_t c) {
    if (c < 0x80)
        return static_cast<int>(c);
    for (int i = 0; i < 128; ++i)
        if (kOemHigh[i] == c)
            return 0x80 + i;
    return -1;
}

void oemToAnsi(const char* from, char* to, std::size_t length) {
    convertBytes(from, to, length, oemToUnicode, unicodeToWindows);
}

void ansiToOem(const char* from, char* to, std::size_t length) {
    convertBytes(from, to, length, windowsToUnicode, unicodeToOem);
}

char32_t decodeUtf8(const char* bytes, std::size_t length, std::size_t i, std::size_t& used, bool& invalid) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    invalid = false;
    used = 1;
    if (b0 < 0x80)
        return b0;
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        c = b0 & 0x1F;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        c = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        c = b0 & 0x07;
        minimum = 0x10000;
    } else {
        invalid = true;
        return windowsToUnicode(b0);
    }
    if (i + extra >= length) {
        invalid = true;
        return windowsToUnicode(b0);
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) {
            invalid = true;
            return windowsToUnicode(b0);
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        invalid = true;
        return windowsToUnicode(b0);
    }
    used = extra + 1;
    return c;
}

std::u16string toUtf16(const STRING& text) {
    const char* bytes = text.getText();
    const std::size_t length = text.getLength();
    std::u16string out;
    out.reserve(length);
    const Charset tag = text.getCharset();
    if (tag == csUTF8 || tag == csWIDE) {
        for (std::size_t i = 0; i < length;) {
            std::size_t used = 1;
            bool invalid = false;
            appendUtf16(out, decodeUtf8(bytes, length, i, used, invalid));
            i += used;
        }
        return out;
    }
    const auto toUnicode = tag == csOEM ? oemToUnicode : windowsToUnicode;
    for (std::size_t i = 0; i < length; ++i)
        out += static_cast<char16_t>(toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

STRING fromUtf16(std::u16string_view text) {
    std::string windows;
    windows.reserve(text.size());
    bool fits = true;
    for (std::size_t i = 0; i < text.size() && fits;) {
        std::size_t used = 1;
        const int byte = unicodeToWindows(decodeUtf16(text, i, used));
        fits = byte >= 0;
        windows += static_cast<char>(byte);
        i += used;
    }
    if (fits)
        return STRING(windows.data(), windows.size());
    std::string utf8;
    utf8.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size();) {
        std::size_t used = 1;
        appendUtf8(utf8, decodeUtf16(text, i, used));
        i += used;
    }
    STRING result(utf8.data(), utf8.size());
    result.setCharset(csWIDE);
    return result;
}

}  // namespace vek
