#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "tests/xml/parsed.h"
#include "winlib/gui_values.h"
#include "winlib/layout_data.h"

namespace winlib {
namespace {

using vek::xml::testing::Parsed;

// One element with the given attributes, e.g. element(R"(style="12")").
class OneElement {
public:
    explicit OneElement(const std::string& attributes) : parsed_("<e " + attributes + "/>") {}
    const vek::xml::XmlContainer& operator*() const { return parsed_.root(); }

private:
    Parsed parsed_;
};

TEST(GuiNumbers, UnsignedAcceptsPlusAndDigitsOnly) {
    const OneElement e(R"(a="277807104" b="+12" c="" d="4294967295")");
    EXPECT_EQ(readUnsigned(*e, "a"), 277807104u);
    EXPECT_EQ(readUnsigned(*e, "b"), 12u);
    EXPECT_EQ(readUnsigned(*e, "c"), 0u);
    EXPECT_EQ(readUnsigned(*e, "absent"), 0u);
    EXPECT_EQ(readUnsigned(*e, "d"), 4294967295u);
    EXPECT_EQ(readUnsignedInt(*e, "d"), INT_MAX);
}

TEST(GuiNumbers, BadTextAndRangeRaiseTheNumberErrors) {
    const OneElement e(R"(minus="-1" letter="12a" big="4294967296" huge="99999999999999999999" low="-2147483649" high="2147483648" colour="256" blank=" 1")");
    EXPECT_THROW(readUnsigned(*e, "minus"), vek::BadNumericFormatError);
    EXPECT_THROW(readUnsigned(*e, "blank"), vek::BadNumericFormatError);
    try {
        readUnsigned(*e, "letter");
        FAIL() << "no error";
    } catch (const vek::IntegerOverflowError&) {
        FAIL() << "wrong error";
    } catch (const vek::BadNumericFormatError& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("Bad Numeric Format"));
    }
    EXPECT_THROW(readUnsigned(*e, "big"), vek::IntegerOverflowError);
    EXPECT_THROW(readUnsigned(*e, "huge"), vek::IntegerOverflowError);
    EXPECT_THROW(readSigned(*e, "low"), vek::IntegerUnderflowError);
    EXPECT_THROW(readSigned(*e, "high"), vek::IntegerOverflowError);
    EXPECT_EQ(readSigned(*e, "minus"), -1);
    EXPECT_THROW(readColour(*e, "colour"), vek::IntegerOverflowError);
}

TEST(GuiBackground, TableNamesAreExact) {
    EXPECT_EQ(backgroundIndex("Default"), 0);
    EXPECT_EQ(backgroundIndex("WHITE_BRUSH"), 1);
    EXPECT_EQ(backgroundIndex("NULL_BRUSH"), 6);
    EXPECT_EQ(backgroundIndex("COLOR_SCROLLBAR"), 7);
    EXPECT_EQ(backgroundIndex("COLOR_WINDOW "), 12);
    EXPECT_EQ(backgroundIndex("COLOR_WINDOW"), 0);
    EXPECT_EQ(backgroundIndex("COLOR_BTNHIGHLIGHT"), 27);
    EXPECT_EQ(backgroundIndex("Select"), 28);
    EXPECT_EQ(backgroundIndex("select"), 0);
    EXPECT_EQ(backgroundIndex(""), 0);
}

TEST(GuiBackground, KindsAndComponents) {
    const Background window = readBackground(*OneElement(R"(bgColor="COLOR_WINDOW ")"));
    EXPECT_EQ(window.kind, bkSYSTEM);
    EXPECT_EQ(window.number, 5);  // COLOR_WINDOW
    EXPECT_EQ(readBackground(*OneElement(R"(bgColor="COLOR_WINDOW")")).kind, bkDEFAULT);
    const Background white = readBackground(*OneElement(R"(bgColor="WHITE_BRUSH")"));
    EXPECT_EQ(white.kind, bkSTOCK);
    EXPECT_EQ(white.number, 0);  // WHITE_BRUSH
    const Background own = readBackground(*OneElement(R"(bgColor="Select" bg_red="255" bg_green="+1" bg_blue="")"));
    EXPECT_EQ(own.kind, bkSOLID);
    EXPECT_EQ(own.red, 255);
    EXPECT_EQ(own.green, 1);
    EXPECT_EQ(own.blue, 0);
    // The components are read even when no colour of its own is chosen.
    EXPECT_THROW(readBackground(*OneElement(R"(bgColor="Default" bg_blue="256")")), vek::IntegerOverflowError);
}

// The last stock brush and the first system colour sit side by side in the name table.
TEST(GuiBackground, TheEdgesOfTheStockAndSystemTables) {
    const Background none = readBackground(*OneElement(R"(bgColor="NULL_BRUSH")"));
    EXPECT_EQ(none.kind, bkSTOCK);
    EXPECT_EQ(none.number, 5);  // NULL_BRUSH
    const Background scrollBar = readBackground(*OneElement(R"(bgColor="COLOR_SCROLLBAR")"));
    EXPECT_EQ(scrollBar.kind, bkSYSTEM);
    EXPECT_EQ(scrollBar.number, 0);  // COLOR_SCROLLBAR
    const Background highlight = readBackground(*OneElement(R"(bgColor="COLOR_BTNHIGHLIGHT")"));
    EXPECT_EQ(highlight.kind, bkSYSTEM);
    EXPECT_EQ(highlight.number, 20);  // COLOR_BTNHIGHLIGHT
}

TEST(GuiFont, FaceAndThirteenNumbers) {
    const FontDescription font = parseFont("Arial; -12 ,0,0,0, 700,1,0,0,0,3,2,1,34");
    EXPECT_STREQ(font.faceName, "Arial");
    EXPECT_EQ(font.height, -12);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_EQ(font.outPrecision, 3);
    EXPECT_EQ(font.clipPrecision, 2);
    EXPECT_EQ(font.quality, 1);
    EXPECT_EQ(font.pitchAndFamily, 34);
}

TEST(GuiFont, ShortLongAndBadDescriptions) {
    const FontDescription cut = parseFont("Courier;10,5");
    EXPECT_STREQ(cut.faceName, "Courier");
    EXPECT_EQ(cut.height, 10);
    EXPECT_EQ(cut.width, 5);
    EXPECT_EQ(cut.pitchAndFamily, 0);
    EXPECT_STREQ(parseFont("Symbol").faceName, "Symbol");

    const std::string longFace(40, 'F');
    const FontDescription longName = parseFont((longFace + ";1").c_str());
    EXPECT_EQ(std::strlen(longName.faceName), FontDescription::kFaceSize - 1);
    EXPECT_EQ(longName.height, 1);

    EXPECT_EQ(parseFont("X;0,0,0,0,0,0,0,0,511").charSet, 255);
    EXPECT_THROW(parseFont("X;99999999999"), vek::IntegerOverflowError);
}

TEST(LayoutDataReading, DefaultsAndStoringRules) {
    const LayoutData none = readLayoutData(*OneElement(""));
    EXPECT_EQ(none.attachment, 0);
    EXPECT_EQ(none.width, 1);
    EXPECT_EQ(none.height, 1);
    const LayoutData chess = readLayoutData(*OneElement(R"(attachment="0" growHeight="2" x="0" y="0")"));
    EXPECT_EQ(chess.growHeight, 2);
    EXPECT_EQ(chess.growWidth, 0);
    const LayoutData read = readLayoutData(*OneElement(
        R"(attachment="-3" x="1" y="2" width="3" height="0" growWidth="4" paddingLeft="5" paddingTop="6" paddingRight="7" paddingBottom="4294967295")"));
    EXPECT_EQ(read.attachment, 0);
    EXPECT_EQ(read.x, 1);
    EXPECT_EQ(read.y, 2);
    EXPECT_EQ(read.width, 3);
    EXPECT_EQ(read.height, 1);
    EXPECT_EQ(read.growWidth, 4);
    EXPECT_EQ(read.paddingLeft, 5);
    EXPECT_EQ(read.paddingTop, 6);
    EXPECT_EQ(read.paddingRight, 7);
    EXPECT_EQ(read.paddingBottom, INT_MAX);
    EXPECT_THROW(readLayoutData(*OneElement(R"(x="-1")")), vek::BadNumericFormatError);
    EXPECT_THROW(readLayoutData(*OneElement(R"(attachment="2147483648")")), vek::IntegerOverflowError);
}

TEST(LayoutManagerReading, KnownTypesWithMargins) {
    const auto table = readManagerSettings(*OneElement(
        R"(type="TableManager" marginLeft="1" marginTop="-2" marginRight="3" marginBottom="4")"));
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->kind, mkTABLE);
    EXPECT_EQ(table->margins.left, 1);
    EXPECT_EQ(table->margins.top, -2);
    EXPECT_EQ(table->margins.right, 3);
    EXPECT_EQ(table->margins.bottom, 4);
    EXPECT_EQ(readManagerSettings(*OneElement(R"(type="AttachmentManager")"))->kind, mkATTACHMENT);
    EXPECT_EQ(readManagerSettings(*OneElement(R"(type="RowManager")"))->kind, mkROW);
    EXPECT_EQ(readManagerSettings(*OneElement(R"(type="ColManager")"))->kind, mkCOL);
    EXPECT_EQ(readManagerSettings(*OneElement(R"(type="SingleChildManager")"))->kind, mkSINGLE_CHILD);
    EXPECT_FALSE(readManagerSettings(*OneElement(R"(type="rowManager")")).has_value());
    EXPECT_FALSE(readManagerSettings(*OneElement("")).has_value());
    EXPECT_THROW(readManagerSettings(*OneElement(R"(type="RowManager" marginTop="x")")), vek::BadNumericFormatError);
}

// The definition counts in 96-DPI pixels: at another DPI its numbers are scaled and rounded to
// the nearest pixel, paddings and margins as positions and sizes.
TEST(DpiScaling, DefinitionPixelsScaleByDpiOver96) {
    EXPECT_EQ(scaleForDpi(280, 96), 280);
    EXPECT_EQ(scaleForDpi(280, 144), 420);
    EXPECT_EQ(scaleForDpi(491, 144), 737);  // 736.5 rounds up
    EXPECT_EQ(scaleForDpi(3, 120), 4);      // 3.75
    EXPECT_EQ(scaleForDpi(1, 120), 1);      // 1.25
    EXPECT_EQ(scaleForDpi(-3, 144), -5);    // halves away from zero, as MulDiv
    EXPECT_EQ(scaleForDpi(16, 0), 16);      // no DPI known
    EXPECT_EQ(scaleForDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(scaleForDpi(INT_MIN, 192), INT_MIN);
    EXPECT_EQ(readLayoutData(*OneElement(R"(paddingLeft="5" paddingBottom="8" growHeight="2")"), 144).paddingLeft, 8);
    EXPECT_EQ(readLayoutData(*OneElement(R"(growHeight="2")"), 144).growHeight, 2);  // a weight, not pixels
    EXPECT_EQ(readManagerSettings(*OneElement(R"(type="RowManager" marginTop="-2")"), 192)->margins.top, -4);
}

}  // namespace
}  // namespace winlib
