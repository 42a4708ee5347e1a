#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "chess_form_definition.h"
#include "parsed.h"
#include "xml/mark.h"

namespace vek::xml::testing {
namespace {

using ::testing::IsEmpty;

// The form element of a definition: gui > forms > form.
const XmlContainer& formOf(const Parsed& parsed) {
    const XmlContainer* forms = parsed.root().getElement("forms");
    if (forms == nullptr || forms->getElement("form") == nullptr)
        throw std::runtime_error("definition has no form");
    return *forms->getElement("form");
}

// The child element with that name attribute, searched below the form.
const XmlContainer* childNamed(const XmlContainer& form, const char* name) {
    Array<const XmlContainer*> children;
    form.getAllElements(children, "child");
    for (const XmlContainer* child : children) {
        if (child->getAttribute("name") == name)
            return child;
    }
    return nullptr;
}

TEST(XmlGuiDefinition, ChessFormReadsWithoutErrorsIntoItsTree) {
    const Parsed parsed(kChessFormDefinition);
    EXPECT_THAT(parsed.errors, IsEmpty());
    EXPECT_FALSE(parsed.utf8);
    EXPECT_EQ(dynamic_cast<const Declaration*>(parsed.document.getElement(std::size_t{0}))->getEncoding(),
              "iso-8859-1");
    EXPECT_EQ(parsed.root().getTag(), "gui");

    const XmlContainer& form = formOf(parsed);
    EXPECT_EQ(form.getAttribute("name"), "ChessFORM");
    EXPECT_EQ(form.getAttribute("style"), "277807104");
    EXPECT_EQ(form.getAttribute("bgColor"), "COLOR_WINDOW ");
    EXPECT_EQ(form.getAttributes().getCount(), 11u);
    EXPECT_EQ(form.getElement("layoutManager")->getAttribute("type"), "AttachmentManager");

    Array<const XmlContainer*> children;
    form.getAllElements(children, "child");
    EXPECT_EQ(children.getCount(), 16u);
}

TEST(XmlGuiDefinition, ChessFormChildrenCarryTheirAttributesAndLayout) {
    const Parsed parsed(kChessFormDefinition);
    const XmlContainer& panel = *formOf(parsed).getElement("child");
    EXPECT_EQ(panel.getAttribute("name"), "ControlCHILD");
    const XmlContainer* layout = panel.getElement("layout");
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->getAttribute("growHeight"), "2");

    const XmlContainer* label = panel.getElement("child");
    EXPECT_EQ(label->getAttribute("caption"), "Tiefe:");
    EXPECT_TRUE(label->getAttribute("id").isEmpty());

    const XmlContainer* promotions = childNamed(formOf(parsed), "PromotionList");
    ASSERT_NE(promotions, nullptr);
    EXPECT_EQ(promotions->getParent(), &panel);
    EXPECT_EQ(childNamed(formOf(parsed), "QueenBtn")->getParent(), promotions);
    EXPECT_EQ(childNamed(formOf(parsed), "MovesBOX")->getAttribute("style"), "1353777409");
}

TEST(XmlGuiDefinition, Latin1CaptionStaysOneBytePerLetter) {
    const Parsed parsed(kChessFormDefinition);
    const STRING caption = childNamed(formOf(parsed), "BishopBtn")->getAttribute("caption");
    EXPECT_EQ(caption, "L\xE4ufer");
    EXPECT_EQ(caption.getLength(), 6u);
    EXPECT_EQ(caption.getCharset(), csWINDOWS);
}

TEST(XmlGuiDefinition, ListItemsAndNestedStringsAreFound) {
    const Parsed parsed(R"(<?xml version="1.0" encoding="iso-8859-1"?>
<gui>
<forms>
<form name="PickFORM">
<child type="ComboBox" name="FigureBOX" x="8" y="8" width="120" height="96">
<items>
<item>Dame</item>
<item>  Turm  </item>
<item>  </item>
<label>not an item</label>
</items>
</child>
</form>
</forms>
<strings>
<group><string id="7" caption="Neustart &amp; Drehen"/></group>
</strings>
</gui>)");
    EXPECT_THAT(parsed.errors, IsEmpty());
    const XmlContainer* items = childNamed(formOf(parsed), "FigureBOX")->getElement("items");
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->getNumObjects(), 4u);
    EXPECT_EQ(items->getElement(std::size_t{0})->getValue(), "Dame");
    EXPECT_EQ(items->getElement(1)->getValue(), "Turm");
    EXPECT_EQ(items->getElement(2)->getValue(), "  ");

    Array<const XmlContainer*> strings;
    parsed.root().getElement("strings")->getAllElements(strings, "string");
    ASSERT_EQ(strings.getCount(), 1u);
    EXPECT_EQ(strings[0]->getAttribute("caption"), "Neustart & Drehen");
}

}  // namespace
}  // namespace vek::xml::testing
