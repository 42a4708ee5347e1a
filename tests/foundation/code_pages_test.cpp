#include "foundation/code_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

vek::STRING tagged(const char* bytes, vek::Charset tag) {
    vek::STRING text(bytes);
    text.setCharset(tag);
    return text;
}

// Each tag reads its bytes in its own fixed code page, whatever the system's code pages are.
TEST(CodePages, EachTagHasItsOwnCodePage) {
    EXPECT_EQ(vek::toUtf16(tagged("N\x84" "chster: Wei\xE1 \xB0\x9F", vek::csOEM)), u"N\u00E4chster: Wei\u00DF \u2591\u0192");
    EXPECT_EQ(vek::toUtf16(tagged("L\xE4ufer \x80\x9C\x8A", vek::csWINDOWS)), u"L\u00E4ufer \u20AC\u0153\u0160");
    EXPECT_EQ(vek::toUtf16(vek::STRING("plain")), u"plain");
    EXPECT_EQ(vek::toUtf16(tagged("\xC5\x81\xC3\xB3 \xE6\x9D\xB1 \xF0\x9F\x98\x80", vek::csWIDE)),
              u"\u0141\u00F3 \u6771 \U0001F600");
    // A byte that is no UTF-8 counts as code page 1252.
    EXPECT_EQ(vek::toUtf16(tagged("a\xE4", vek::csUTF8)), u"a\u00E4");

    std::string oem = "\x84\x94\x81\x8E\x99\x9A\xE1\x82\xB0 ASCII stays";
    vek::oemToAnsi(oem.data(), oem.data(), oem.size());
    EXPECT_EQ(oem, "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9? ASCII stays");
    vek::ansiToOem(oem.data(), oem.data(), oem.size());
    EXPECT_EQ(oem, "\x84\x94\x81\x8E\x99\x9A\xE1\x82? ASCII stays");
}

// Texts from Windows come back as 1252 text when that code page has every character, and as
// UTF-8 otherwise, so that nothing is lost.
TEST(CodePages, TextsFromWindowsLoseNothing) {
    const vek::STRING german = vek::fromUtf16(u"L\u00E4ufer \u20AC");
    EXPECT_EQ(german.getCharset(), vek::csWINDOWS);
    EXPECT_STREQ(german.getText(), "L\xE4ufer \x80");
    EXPECT_EQ(vek::fromUtf16(u"8").getCharset(), vek::csASCII);

    const std::u16string folder = u"C:\\Users\\\u0141ukasz W\u00F3jcik \u0416\u0443\u043A \u6771\u4EAC \U0001F600";
    const vek::STRING wide = vek::fromUtf16(folder);
    EXPECT_EQ(wide.getCharset(), vek::csWIDE);
    EXPECT_EQ(vek::toUtf16(wide), folder);
    EXPECT_EQ(vek::toUtf16(wide + "\\chess.txt"), folder + u"\\chess.txt");

    EXPECT_EQ(vek::toUtf16(vek::fromUtf16(u"a\xD800z")), u"a\uFFFDz");
}

// The program's own German texts, OEM and Windows, go out and come back with the same bytes.
TEST(CodePages, GermanTextsMakeTheRoundTrip) {
    for (const char* oem : {"N\x84" "chster: Wei\xE1", "Wei\xE1 (Zarvo) gewinnt durch Schachmatt", "\x8E\x99\x9A\x84\x94\x81\xE1"}) {
        const std::u16string shown = vek::toUtf16(tagged(oem, vek::csOEM));
        EXPECT_STREQ(vek::fromUtf16(shown).convertToCharset(vek::csOEM).getText(), oem);
    }
    for (const char* windows : {"L\xE4ufer", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF \x80"}) {
        EXPECT_STREQ(vek::fromUtf16(vek::toUtf16(vek::STRING(windows))).getText(), windows);
    }
}

}  // namespace
