#include <gtest/gtest.h>

#include "xml/characters.h"

namespace vek::xml {
namespace {

TEST(XmlCharacters, StrippingKeepsTheNonBreakingSpace) {
    EXPECT_EQ(stripBlanks(" \t\r\n\v\fText \n"), "Text");
    EXPECT_EQ(stripBlanks("\xA0Text\xA0"), "\xA0Text\xA0");
    EXPECT_EQ(stripBlanks("   "), "");
}

TEST(XmlCharacters, NamesFoldAsciiAndLatin1LettersIn8BitText) {
    EXPECT_TRUE(equalsIgnoringCase("ChildForm", "CHILDform", false));
    EXPECT_TRUE(equalsIgnoringCase("L\xC4UFER", "l\xE4ufer", false));
    EXPECT_FALSE(equalsIgnoringCase("\xD7", "\xF7", false));
    EXPECT_TRUE(equalsIgnoringCase("\x8A\x8C\x8E", "\x9A\x9C\x9E", false));
    EXPECT_FALSE(equalsIgnoringCase("item", "items", false));
}

TEST(XmlCharacters, Utf8NamesFoldOnlyAscii) {
    // Byte-wise Latin-1 folding would turn the lead byte 0xC3 into 0xE3 and match these.
    EXPECT_FALSE(equalsIgnoringCase("\xC3\xA4", "\xE3\xA4", true));
    EXPECT_TRUE(equalsIgnoringCase("L\xC3\xA4ufer", "l\xC3\xA4UFER", true));
}

TEST(XmlCharacters, Utf8NamesFoldAToZButNotTheirNeighbours) {
    EXPECT_TRUE(equalsIgnoringCase("A\xC3\xA4Z", "a\xC3\xA4z", true));
    EXPECT_TRUE(equalsIgnoringCase("az", "AZ", true));
    // The characters next to the letters are 32 apart too, but no case of each other.
    EXPECT_FALSE(equalsIgnoringCase("@", "`", true));
    EXPECT_FALSE(equalsIgnoringCase("[", "{", true));
}

}  // namespace
}  // namespace vek::xml
