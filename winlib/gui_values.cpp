#include "winlib/gui_values.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace winlib {

using vek::STRING;
using vek::xml::XmlContainer;

std::uint32_t readUnsigned(const XmlContainer& element, const char* attribute) {
    return element.getAttribute(attribute).toUnsigned();
}

std::int32_t readSigned(const XmlContainer& element, const char* attribute) {
    return element.getAttribute(attribute).toSigned(10);
}

std::uint8_t readColour(const XmlContainer& element, const char* attribute) {
    return element.getAttribute(attribute).toByte();
}

int readUnsignedInt(const XmlContainer& element, const char* attribute) {
    const std::uint32_t value = readUnsigned(element, attribute);
    return value > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

namespace {

// Index 0 is no brush, 1 to 6 the stock objects 0 to 5, 7 to 27 the system colours 0 to 20,
// 28 a colour of its own. The window colour's entry ends with a blank, and only that spelling
// selects it: definitions written for this table carry it.
constexpr std::array<const char*, kBackgroundNameCount> kBackgroundNames = {
    "Default",           "WHITE_BRUSH",         "LTGRAY_BRUSH",         "GRAY_BRUSH",
    "DKGRAY_BRUSH",      "BLACK_BRUSH",         "NULL_BRUSH",           "COLOR_SCROLLBAR",
    "COLOR_BACKGROUND",  "COLOR_ACTIVECAPTION", "COLOR_INACTIVECAPTION", "COLOR_MENU",
    "COLOR_WINDOW ",     "COLOR_WINDOWFRAME",   "COLOR_MENUTEXT",       "COLOR_WINDOWTEXT",
    "COLOR_CAPTIONTEXT", "COLOR_ACTIVEBORDER",  "COLOR_INACTIVEBORDER", "COLOR_APPWORKSPACE",
    "COLOR_HIGHLIGHT",   "COLOR_HIGHLIGHTTEXT", "COLOR_BTNFACE",        "COLOR_BTNSHADOW",
    "COLOR_GRAYTEXT",    "COLOR_BTNTEXT",       "COLOR_INACTIVECAPTIONTEXT", "COLOR_BTNHIGHLIGHT",
    "Select",
};

constexpr int kFirstStock = 1;
constexpr int kFirstSystem = 7;
constexpr int kSolid = 28;

}  // namespace

int backgroundIndex(const STRING& name) {
    for (std::size_t i = 0; i < kBackgroundNames.size(); ++i) {
        if (name == kBackgroundNames[i])
            return static_cast<int>(i);
    }
    return 0;
}

Background readBackground(const XmlContainer& element) {
    Background background;
    const int index = backgroundIndex(element.getAttribute("bgColor"));
    background.red = readColour(element, "bg_red");
    background.green = readColour(element, "bg_green");
    background.blue = readColour(element, "bg_blue");
    if (index == kSolid) {
        background.kind = bkSOLID;
    } else if (index >= kFirstSystem) {
        background.kind = bkSYSTEM;
        background.number = index - kFirstSystem;
    } else if (index >= kFirstStock) {
        background.kind = bkSTOCK;
        background.number = index - kFirstStock;
    }
    return background;
}

namespace {

// Walks the number part of a font description.
class FontNumbers {
public:
    FontNumbers(const char* text, std::size_t length, std::size_t start) : text_(text), length_(length), at_(start) {}

    // The next number (0 when the text has ended), with the separator after it consumed.
    std::int32_t next() {
        skipBlanks();
        const std::size_t start = at_;
        if (at_ < length_ && (text_[at_] == '+' || text_[at_] == '-'))
            ++at_;
        while (at_ < length_ && text_[at_] >= '0' && text_[at_] <= '9')
            ++at_;
        const std::int32_t value = STRING(text_ + start, at_ - start).toSigned(10);
        skipBlanks();
        if (at_ < length_)
            ++at_;
        return value;
    }

private:
    void skipBlanks() {
        while (at_ < length_ && (text_[at_] == ' ' || text_[at_] == '\t'))
            ++at_;
    }

    const char* text_;
    std::size_t length_;
    std::size_t at_;
};

std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

}  // namespace

FontDescription parseFont(const STRING& text) {
    FontDescription font;
    const char* bytes = text.getText();
    const std::size_t length = text.getLength();
    std::size_t faceEnd = 0;
    while (faceEnd < length && bytes[faceEnd] != ';')
        ++faceEnd;
    std::memcpy(font.faceName, bytes, std::min(faceEnd, FontDescription::kFaceSize - 1));

    FontNumbers numbers(bytes, length, faceEnd < length ? faceEnd + 1 : length);
    font.height = numbers.next();
    font.width = numbers.next();
    font.escapement = numbers.next();
    font.orientation = numbers.next();
    font.weight = numbers.next();
    font.italic = lowByte(numbers.next());
    font.underline = lowByte(numbers.next());
    font.strikeOut = lowByte(numbers.next());
    font.charSet = lowByte(numbers.next());
    font.outPrecision = lowByte(numbers.next());
    font.clipPrecision = lowByte(numbers.next());
    font.quality = lowByte(numbers.next());
    font.pitchAndFamily = lowByte(numbers.next());
    return font;
}

}  // namespace winlib
