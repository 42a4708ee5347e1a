#pragma once
// The values of the GUI definition: numbers, backgrounds and font descriptions, read into plain
// records that the Win32 side turns into windows, brushes and fonts.

#include <cstddef>
#include <cstdint>

#include "xml/xml_container.h"

namespace winlib {

// Number attributes. An absent attribute and an empty one are 0. Bad text raises
// BadNumericFormatError, out-of-range values IntegerOverflowError or IntegerUnderflowError.
std::uint32_t readUnsigned(const vek::xml::XmlContainer& element, const char* attribute);
std::int32_t readSigned(const vek::xml::XmlContainer& element, const char* attribute);
// 0 to 255.
std::uint8_t readColour(const vek::xml::XmlContainer& element, const char* attribute);
// An unsigned attribute for an int field: values above the int range are kept as its largest.
int readUnsignedInt(const vek::xml::XmlContainer& element, const char* attribute);

// A window background as the definition names it.
enum BackgroundKind : int {
    bkDEFAULT,  // no brush of its own
    bkSTOCK,    // stock object `number`
    bkSYSTEM,   // system colour brush `number`
    bkSOLID,    // a solid brush of red, green, blue
};

struct Background {
    BackgroundKind kind = bkDEFAULT;
    int number = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

constexpr std::size_t kBackgroundNameCount = 29;

// The index of a background name in the table (exact comparison); 0 for unknown names.
int backgroundIndex(const vek::STRING& name);

// The background of `bgColor`, `bg_red`, `bg_green`, `bg_blue`; the components are always read.
Background readBackground(const vek::xml::XmlContainer& element);

// A font description in the order and meaning of the Win32 LOGFONTA record.
struct FontDescription {
    static constexpr std::size_t kFaceSize = 32;  // with the terminating zero

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[kFaceSize] = {};
};

// "Face;h,w,esc,orient,weight,italic,underline,strikeOut,charSet,out,clip,quality,pitch":
// the face up to the first ";" (cut to fit, always terminated), then thirteen signed decimal
// numbers, each followed by one separator character; blanks before numbers and separators are
// skipped, numbers missing at the end are 0, the byte fields keep the low eight bits.
// Throws the number errors for a number out of the 32-bit range.
FontDescription parseFont(const vek::STRING& text);

}  // namespace winlib
