#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "parsed.h"
#include "xml/xml_text.h"

namespace vek::xml::testing {
namespace {

using ::testing::IsEmpty;

template <typename Node>
const Node* childAs(const Element& parent, std::size_t index) {
    return dynamic_cast<const Node*>(parent.getElement(index));
}

TEST(XmlParserMarkup, CommentCDataAndDocTypeBecomeNodesOfTheirContainer) {
    const Parsed parsed("<!DOCTYPE gui>\n<gui><!-- a -- comment --><![CDATA[1 &amp; <b>]]></gui>");
    const DocType* docType = childAs<DocType>(parsed.document, 0);
    ASSERT_NE(docType, nullptr);
    EXPECT_EQ(docType->getValue(), "gui");

    const Comment* comment = childAs<Comment>(parsed.root(), 0);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->getValue(), " a -- comment ");
    const CData* cdata = childAs<CData>(parsed.root(), 1);
    ASSERT_NE(cdata, nullptr);
    EXPECT_EQ(cdata->getValue(), "1 &amp; <b>");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, DocTypeRunsToTheMatchingAngleBracket) {
    const Parsed parsed("<!doctype gui [<!ENTITY x \"y\">]><gui/>");
    const DocType* docType = childAs<DocType>(parsed.document, 0);
    ASSERT_NE(docType, nullptr);
    EXPECT_EQ(docType->getValue(), "gui [<!ENTITY x \"y\">]");
    EXPECT_EQ(parsed.root().getTag(), "gui");
}

TEST(XmlParserMarkup, CommentsInTheInternalSubsetMayHoldAngleBrackets) {
    const Parsed parsed("<!DOCTYPE gui [<!-- a > b <c> --><!ENTITY x \"y\"><!---->]><gui/>");
    const DocType* docType = childAs<DocType>(parsed.document, 0);
    ASSERT_NE(docType, nullptr);
    EXPECT_EQ(docType->getValue(), "gui [<!-- a > b <c> --><!ENTITY x \"y\"><!---->]");
    EXPECT_EQ(parsed.document.getNumObjects(), 2u);
    EXPECT_EQ(parsed.root().getTag(), "gui");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, MarksAreTypedByTheirName) {
    const Parsed parsed("<?xml version=\"1.0\"?>"
                        "<?xml-stylesheet type=\"text/xsl\" href=\"gui.xsl\"?>"
                        "<?editor mode='design'?><gui/>");
    const Declaration* declaration = childAs<Declaration>(parsed.document, 0);
    ASSERT_NE(declaration, nullptr);
    EXPECT_EQ(declaration->getVersion(), "1.0");
    EXPECT_EQ(declaration->getEncoding(), "iso-8859-1");

    const StyleSheet* styleSheet = childAs<StyleSheet>(parsed.document, 1);
    ASSERT_NE(styleSheet, nullptr);
    EXPECT_EQ(styleSheet->getAttribute("type"), "text/xsl");
    EXPECT_EQ(styleSheet->getAttribute("href"), "gui.xsl");

    const ProcInstruction* instruction = childAs<ProcInstruction>(parsed.document, 2);
    ASSERT_NE(instruction, nullptr);
    EXPECT_EQ(instruction->getTag(), "editor");
    EXPECT_EQ(instruction->getAttribute("mode"), "design");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, AttributesKeepDocumentOrderAndAllowBlanksAroundTheEqualsSign) {
    const Parsed parsed("<child type = \"Label\"\n  name\t=''  caption=\"Tiefe:\"></child>");
    const Array<Attribute>& attributes = parsed.root().getAttributes();
    ASSERT_EQ(attributes.getCount(), 3u);
    EXPECT_EQ(attributes[0].name, "type");
    EXPECT_EQ(attributes[1].name, "name");
    EXPECT_TRUE(attributes[1].value.isEmpty());
    EXPECT_EQ(attributes[2].value, "Tiefe:");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, SlashBeforeTheBracketMakesAnEmptyElement) {
    const Parsed parsed("<form><layoutManager type=\"AttachmentManager\"/><child /></form>");
    ASSERT_EQ(parsed.root().getNumObjects(), 2u);
    EXPECT_EQ(parsed.root().getElement(std::size_t{0})->getNumObjects(), 0u);
    EXPECT_EQ(parsed.root().getElement(1)->getTag(), "child");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, BlanksBeforeTheBracketOfAnEndTagAreAllowed) {
    const Parsed parsed("<a><b>x</b ><c/></a>");
    ASSERT_EQ(parsed.root().getNumObjects(), 2u);  // <b> was closed, so <c> is its sibling
    EXPECT_EQ(parsed.root().getElement(1)->getTag(), "c");
    EXPECT_THAT(parsed.errors, IsEmpty());
}

TEST(XmlParserMarkup, EveryDistinctNameIsPooledOnce) {
    const Parsed parsed("<gui><child/><child><layout/></child></gui>");
    EXPECT_EQ(parsed.namesPooled, 3u);
    const STRING first = parsed.root().getElement(std::size_t{0})->getTag();
    const STRING second = parsed.root().getElement(1)->getTag();
    EXPECT_EQ(first.getText(), second.getText());
}

TEST(XmlParserMarkup, PoolStopsGrowingButNamesStayRight) {
    std::string text = "<r>";
    for (int i = 0; i < 1500; ++i)
        text += "<n" + std::to_string(i) + "/>";
    const Parsed parsed(text + "</r>");
    EXPECT_EQ(parsed.namesPooled, NamePool::kMaxNames);
    EXPECT_EQ(parsed.root().getElement(1499)->getTag(), "n1499");
}

}  // namespace
}  // namespace vek::xml::testing
