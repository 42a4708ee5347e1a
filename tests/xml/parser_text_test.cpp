#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "parsed.h"
#include "xml/xml_text.h"

namespace vek::xml::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(XmlParserText, TextIsStrippedOfSurroundingBlanks) {
    const Parsed parsed("<item>  Text  </item>");
    ASSERT_EQ(parsed.root().getNumObjects(), 1u);
    EXPECT_NE(dynamic_cast<const PCData*>(parsed.root().getElement(std::size_t{0})), nullptr);
    EXPECT_EQ(parsed.root().getValue(), "Text");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserText, ElementWithOnlyBlanksKeepsThemAsItsText) {
    const Parsed parsed("<items><item>  </item><item>\n</item></items>");
    EXPECT_EQ(parsed.root().getElement(std::size_t{0})->getValue(), "  ");
    EXPECT_EQ(parsed.root().getElement(1)->getValue(), "\n");
}

TEST(XmlParserText, BlanksAroundChildElementsAreDropped) {
    const Parsed parsed("<form>\n  <child/>\n  <!-- note -->\n</form>");
    EXPECT_EQ(parsed.root().getNumObjects(), 2u);
    EXPECT_EQ(parsed.root().getValue(), "");
}

TEST(XmlParserText, DefaultEntitiesAreDecoded) {
    const Parsed parsed("<t>a&amp;b&lt;c&gt;d&nbsp;e</t>");
    EXPECT_EQ(text(parsed.root().getValue()), "a&b<c>d\xA0" "e");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserText, NumericReferencesAreTakenModulo256) {
    const Parsed parsed("<t>&#65;&#321;&#0066;</t>");
    EXPECT_EQ(parsed.root().getValue(), "AAB");
}

TEST(XmlParserText, UnknownReferencesVanishWithoutError) {
    const Parsed parsed("<t>say &quot;hi&quot; &#x41;</t>");
    EXPECT_EQ(parsed.root().getValue(), "say hi");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserText, BlankBeforeSemicolonIsAnInvalidEntityKeptAsText) {
    const Parsed parsed("<t>AT&T rocks;</t>");
    EXPECT_EQ(parsed.root().getValue(), "AT&T rocks;");
    EXPECT_THAT(parsed.errors, ElementsAre("1.7: Invalid entity &T"));
}

TEST(XmlParserText, ReferenceCutShortByMarkupOrEndIsInvalid) {
    const Parsed parsed("<t>a&lt</t>b &amp");
    EXPECT_EQ(parsed.root().getValue(), "a&lt");
    EXPECT_THAT(parsed.errors, ElementsAre("1.7: Invalid entity &lt", "1.17: Invalid entity &amp"));
}

TEST(XmlParserText, ReferenceToCharacterZeroIsDropped) {
    const Parsed parsed("<t>a&#256;b</t>");
    EXPECT_EQ(text(parsed.root().getValue()), "ab");
    EXPECT_THAT(parsed.errors, ElementsAre("1.10: NUL character ignored"));
}

TEST(XmlParserText, AttributeValuesInBothQuoteStylesHaveEntitiesDecoded) {
    const Parsed parsed(R"(<a x="1 &amp; 'two'" y='say "&#72;i"'/>)");
    EXPECT_EQ(parsed.root().getAttribute("x"), "1 & 'two'");
    EXPECT_EQ(parsed.root().getAttribute("y"), "say \"Hi\"");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserText, DefinedEntitiesAreDecodedToo) {
    std::istringstream in("<t>&quot;x&quot;</t>");
    Parser parser(in);
    parser.defineEntity("&quot;", '"');
    Document document;
    parser.readFile(document);
    EXPECT_EQ(document.getRoot()->getValue(), "\"x\"");
}

TEST(XmlParserText, Latin1DeclarationKeepsTextsOneBytePerLetter) {
    const Parsed parsed("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<b caption=\"L\xE4ufer\">L\xE4ufer</b>");
    const STRING value = parsed.root().getValue();
    EXPECT_FALSE(parsed.utf8);
    EXPECT_EQ(value.getLength(), 6u);
    EXPECT_EQ(value.getCharset(), csWINDOWS);
    EXPECT_EQ(parsed.root().getAttribute("caption").getCharset(), csWINDOWS);
}

TEST(XmlParserText, Utf8DeclarationMarksLater8BitTextsAsUtf8) {
    const Parsed parsed("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<b caption=\"L\xC3\xA4ufer\">L\xC3\xA4ufer<c>plain</c></b>");
    EXPECT_TRUE(parsed.utf8);
    EXPECT_EQ(parsed.root().getElement(std::size_t{0})->getValue().getCharset(), csUTF8);
    EXPECT_EQ(parsed.root().getAttribute("caption").getCharset(), csUTF8);
    EXPECT_EQ(parsed.root().getElement("c")->getValue().getCharset(), csASCII);
}

TEST(XmlParserText, EncodingNameIsComparedIgnoringCaseAndBlanks) {
    EXPECT_TRUE(Parsed("<?xml version=\"1.0\" encoding=\"utf-8\"?><r/>").utf8);
    EXPECT_TRUE(Parsed("<?xml version=\"1.0\" encoding=\" UTF-8\t\"?><r/>").utf8);
}

TEST(XmlParserText, ByteOrderMarkSwitchesToUtf8AndIsNoText) {
    const Parsed parsed("\xEF\xBB\xBF<r>L\xC3\xA4ufer</r>");
    EXPECT_TRUE(parsed.utf8);
    EXPECT_EQ(parsed.document.getNumObjects(), 1u);
    EXPECT_EQ(parsed.root().getValue().getCharset(), csUTF8);
    // Only a whole mark at the very start counts; the bytes of a partial one are text.
    const Parsed partial("\xEF\xBB<r/>");
    EXPECT_FALSE(partial.utf8);
    ASSERT_EQ(partial.document.getNumObjects(), 2u);
    EXPECT_EQ(partial.document.getElement(std::size_t{0})->getValue(), "\xEF\xBB");
    EXPECT_FALSE(Parsed("<r/>\xEF\xBB\xBF").utf8);
}

TEST(XmlParserText, Utf8TagNamesThatDifferInTheCaseOfAOrZCloseEachOther) {
    const Parsed parsed("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<A\xC3\xA4Z><Zebra>x</zEBRA>y</a\xC3\xA4z>");
    EXPECT_THAT(parsed.errors, IsEmpty());
    EXPECT_EQ(parsed.root().getTag(), "A\xC3\xA4Z");
    ASSERT_NE(parsed.root().getElement("Zebra"), nullptr);
    EXPECT_EQ(parsed.root().getElement("Zebra")->getValue(), "x");
}

// An overlong sequence spells a character with more bytes than it needs (here "!" and the last
// character of each length): decoded, it could slip past checks made on the bytes. Its bytes
// stay bytes of the Windows code page.
TEST(XmlParserText, OverlongUtf8SequencesAreNotDecodedAsCharacters) {
    for (const std::string overlong : {"\xE0\x80\xA1", "\xE0\x9F\xBF", "\xF0\x80\x80\xA1", "\xF0\x8F\xBF\xBF"}) {
        const Parsed parsed("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<t>x" + overlong + "y</t>");
        const STRING value = parsed.root().getValue();
        ASSERT_EQ(value.getCharset(), csUTF8);
        EXPECT_EQ(text(value.convertToCharset(csWINDOWS)), "x" + overlong + "y");
    }
    // The shortest forms of the same characters are decoded.
    const Parsed shortest("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<t>x!\xDF\xBF\xE0\xA0\x80y</t>");
    EXPECT_EQ(text(shortest.root().getValue().convertToCharset(csWINDOWS)), "x!??y");
}

}  // namespace
}  // namespace vek::xml::testing
