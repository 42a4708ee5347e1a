#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "parsed.h"

namespace vek::xml::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

TEST(XmlParserRecovery, EndTagMatchesIgnoringCase) {
    const Parsed parsed("<a>x</A><L\xE4ufer>y</L\xC4UFER>");
    EXPECT_EQ(parsed.document.getNumObjects(), 2u);
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserRecovery, EndTagOfTheParentTerminatesBoth) {
    const Parsed parsed("<a><b>x</a><c/>");
    EXPECT_THAT(parsed.errors,
                ElementsAre("1.11: end tag </a> does not match start tag <b> --> terminating parent"));
    EXPECT_EQ(parsed.document.getNumObjects(), 2u);
    EXPECT_EQ(parsed.root().getElement("b")->getValue(), "x");
    EXPECT_EQ(parsed.document.getElement(1)->getTag(), "c");
}

TEST(XmlParserRecovery, UnrelatedEndTagIsIgnored) {
    const Parsed parsed("<a><b>x</c>y</b></a>");
    EXPECT_THAT(parsed.errors, ElementsAre("1.11: end tag </c> does not match start tag <b> --> ignoring"));
    EXPECT_EQ(parsed.root().getElement("b")->getValue(), "xy");
    EXPECT_EQ(parsed.document.getNumObjects(), 1u);
}

TEST(XmlParserRecovery, EndTagOutsideAnyElementIsIgnored) {
    const Parsed parsed("</a>\n<b/>");
    EXPECT_THAT(parsed.errors, ElementsAre("1.4: end tag </a> without start tag --> ignoring"));
    EXPECT_EQ(parsed.root().getTag(), "b");
}

TEST(XmlParserRecovery, EmptyEndTagNeverClosesTheDocument) {
    const Parsed parsed("<a></><b/></a>");
    EXPECT_THAT(parsed.errors, ElementsAre("1.6: end tag </> does not match start tag <a> --> ignoring"));
    EXPECT_NE(parsed.root().getElement("b"), nullptr);
}

TEST(XmlParserRecovery, UnclosedElementsAreReportedInnermostFirstAtTheEnd) {
    const Parsed parsed("<gui>\n<forms>\n<form>");
    EXPECT_THAT(parsed.errors, ElementsAre("3.6: form was not terminated correctly",
                                           "3.6: forms was not terminated correctly",
                                           "3.6: gui was not terminated correctly"));
    EXPECT_NE(parsed.root().getElement("forms")->getElement("form"), nullptr);
}

TEST(XmlParserRecovery, PositionsCountLinesFromOneAndColumnsFromTheLineStart) {
    const Parsed parsed("<gui>\n  <forms>\n  </form>\n</gui>");
    EXPECT_THAT(parsed.errors,
                ElementsAre("3.9: end tag </form> does not match start tag <forms> --> ignoring",
                            "4.6: end tag </gui> does not match start tag <forms> --> terminating parent"));
}

TEST(XmlParserRecovery, NestingDeeperThanTheLimitIsSkipped) {
    constexpr std::size_t levels = 1000000;
    std::string text = "<r>";
    for (std::size_t i = 0; i < levels; ++i)
        text += "<a>";
    for (std::size_t i = 0; i < levels; ++i)
        text += "</a>";
    const Parsed parsed(text + "<after/></r>");

    EXPECT_THAT(parsed.errors, ElementsAre("1.771: <a> is nested deeper than 256 levels --> skipping it"));
    std::size_t depth = 1;
    for (const Element* node = parsed.root().getElement("a"); node != nullptr; node = node->getElement("a"))
        ++depth;
    EXPECT_EQ(depth, Parser::kMaxDepth);
    EXPECT_NE(parsed.root().getElement("after"), nullptr);
}

TEST(XmlParserRecovery, NestingTooDeepAndNeverClosedStillEnds) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "<a><!-- c --><?p?>text";
    const Parsed parsed(text);
    // The skip error and one for each element that was built.
    EXPECT_THAT(parsed.errors, SizeIs(1 + Parser::kMaxDepth));
}

TEST(XmlParserRecovery, DamagedMarkupIsReportedAndReadingGoesOn) {
    EXPECT_THAT(Parsed("<a>x<").errors,
                ElementsAre("1.5: Missing name after <", "1.5: a was not terminated correctly"));
    EXPECT_THAT(Parsed("<a><!-- open").errors,
                ElementsAre("1.12: Unterminated comment", "1.12: a was not terminated correctly"));
    EXPECT_THAT(Parsed("<![CDATA[x").errors, ElementsAre("1.10: Unterminated CDATA section"));
    EXPECT_THAT(Parsed("<!DOCTYPE x").errors, ElementsAre("1.11: Unterminated DOCTYPE"));
    EXPECT_THAT(Parsed("<!ELEMENT x><a/>").errors, ElementsAre("1.2: Unknown markup after <!"));
    EXPECT_THAT(Parsed("<?xml version=\"1.0\"").errors,
                ElementsAre("1.19: Unexpected end of file in <?xml?>"));
    EXPECT_THAT(Parsed("<?xml version=\"1.0\">").errors, ElementsAre("1.20: Missing ? before > in <?xml?>"));
    EXPECT_THAT(Parsed("<a></a").errors, ElementsAre("1.6: Unexpected end of file in </a",
                                                     "1.6: a was not terminated correctly"));
}

TEST(XmlParserRecovery, PartialKeywordAfterBangEndsBeforeTheNextMarkup) {
    const Parsed parsed("<![CDAT<b>x</b><!DOCTY<c/><!-x>y");
    EXPECT_THAT(parsed.errors, ElementsAre("1.7: Unknown markup after <!", "1.22: Unknown markup after <!",
                                           "1.29: Unknown markup after <!"));
    ASSERT_EQ(parsed.document.getNumObjects(), 3u);
    EXPECT_EQ(parsed.root().getTag(), "b");
    EXPECT_EQ(parsed.root().getValue(), "x");
    EXPECT_EQ(parsed.document.getElement(1)->getTag(), "c");
    EXPECT_EQ(parsed.document.getElement(2)->getValue(), "y");
}

TEST(XmlParserRecovery, CarriageReturnLineFeedAndBothTogetherEachEndOneLine) {
    const Parsed parsed("\r<a>\r\n</b>\n\r</c>\r\r\n<");
    EXPECT_THAT(parsed.errors, ElementsAre("3.4: end tag </b> does not match start tag <a> --> ignoring",
                                           "5.4: end tag </c> does not match start tag <a> --> ignoring",
                                           "7.1: Missing name after <", "7.1: a was not terminated correctly"));
    EXPECT_THAT(Parsed(std::string("\r\0\n<", 4)).errors, ElementsAre("2.1: NUL character ignored", "3.1: Missing name after <"));
}

TEST(XmlParserRecovery, DamagedAttributesAreReportedAndKeptWherePossible) {
    const Parsed parsed("<a b c=1 d=\"2\"/ e='3'?><f<g/></a>");
    EXPECT_THAT(parsed.errors,
                ElementsAre("1.5: Attribute b has no value", "1.7: Value of attribute c is not quoted",
                            "1.15: Invalid character / in <a>", "1.22: Invalid character ? in <a>",
                            "1.25: Missing > in <f>",
                            "1.33: end tag </a> does not match start tag <f> --> terminating parent"));
    const XmlContainer& a = parsed.root();
    EXPECT_EQ(a.getAttributes().getCount(), 4u);
    EXPECT_EQ(a.getAttribute("c"), "1");
    EXPECT_EQ(a.getAttribute("e"), "3");
    EXPECT_NE(a.getElement("f")->getElement("g"), nullptr);
}

TEST(XmlParserRecovery, UnterminatedAttributeValueTakesTheRestOfTheText) {
    const std::string huge(1 << 20, 'v');
    const Parsed parsed("<a x=\"" + huge);
    EXPECT_EQ(parsed.root().getAttribute("x").getLength(), huge.size());
    EXPECT_THAT(parsed.errors, ElementsAre("1.1048582: Unterminated value of attribute x",
                                           "1.1048582: Unexpected end of file in <a>",
                                           "1.1048582: a was not terminated correctly"));
}

TEST(XmlParserRecovery, NulBytesAreDroppedAndReportedOncePerRun) {
    const Parsed parsed(std::string("<a>x\0\0y</a\0>", 12));
    EXPECT_EQ(parsed.root().getValue(), "xy");
    EXPECT_THAT(parsed.errors, ElementsAre("1.6: NUL character ignored", "1.11: NUL character ignored"));
}

// Elements with rules as a document viewer would give them: an "li" belongs into a "ul" only,
// and a "ul" holds no loose text.
class RuledElement : public XmlContainer {
public:
    explicit RuledElement(const STRING& tag) : XmlContainer(tag) {}
    bool acceptsObject(const Element& child) const override { return !(child.getTag() == "li") || getTag() == "ul"; }
    bool acceptsText() const override { return !(getTag() == "ul"); }
};

class RuledFactory : public Factory {
public:
    std::unique_ptr<XmlContainer> createElement(const STRING& tag) const override {
        return std::make_unique<RuledElement>(tag);
    }
};

TEST(XmlParserRecovery, RefusedElementGoesToTheParentWhichClosesTheContainer) {
    const Parsed parsed("<ul><li>one<li>two</li></ul>", std::make_unique<RuledFactory>());
    EXPECT_THAT(parsed.errors, ElementsAre("1.15: <li> is not allowed within <li>"));
    ASSERT_EQ(parsed.root().getNumObjects(), 2u);
    EXPECT_EQ(parsed.root().getElement(1)->getValue(), "two");
}

TEST(XmlParserRecovery, RefusedElementIsAppendedAnywayWhenTheParentRefusesItToo) {
    const Parsed parsed("<div><span><li>x</li></span></div>", std::make_unique<RuledFactory>());
    EXPECT_THAT(parsed.errors, ElementsAre("1.15: <li> is not allowed within <span>"));
    EXPECT_EQ(parsed.root().getElement("span")->getElement("li")->getValue(), "x");
}

TEST(XmlParserRecovery, RefusedTextIsReportedAndDropped) {
    const Parsed parsed("<ul> loose <li>kept</li></ul>", std::make_unique<RuledFactory>());
    EXPECT_THAT(parsed.errors, ElementsAre("1.11: PCDATA not allowed here"));
    EXPECT_EQ(parsed.root().getValue(), "kept");
}

}  // namespace
}  // namespace vek::xml::testing
