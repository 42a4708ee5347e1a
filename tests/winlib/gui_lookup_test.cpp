#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/xml/chess_form_definition.h"
#include "tests/xml/parsed.h"
#include "winlib/gui_lookup.h"

namespace winlib {
namespace {

using vek::xml::XmlContainer;
using vek::xml::testing::Parsed;

constexpr const char* kSections = R"(<gui>
<forms>
  <!-- form name="Commented" -->
  <frame name="Main"/>
  <form name="Main" caption="first"/>
  <form name="Main" caption="second"/>
  <box><form name="Nested"/></box>
</forms>
<frames><scroller name="S"/><frame name="F"/></frames>
<menus><menu name="M"/></menus>
<strings>
  <string id="1" caption="one"/>
  <group><deeper><string id="7" caption="seven"/></deeper></group>
  <string id="7" caption="later"/>
</strings>
</gui>)";

TEST(GuiLookup, FormsByExactNameInTheirSection) {
    const Parsed parsed(kSections);
    const XmlContainer* form = findGuiElement(&parsed.root(), "Main", "form", "name");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->getAttribute("caption"), "first");
    EXPECT_EQ(findGuiElement(&parsed.root(), "main", "form", "name"), nullptr);
    EXPECT_EQ(findGuiElement(&parsed.root(), "Main ", "form", "name"), nullptr);
    EXPECT_EQ(findGuiElement(&parsed.root(), "Nested", "form", "name"), nullptr);
    EXPECT_EQ(findGuiElement(&parsed.root(), "Commented", "form", "name"), nullptr);
    EXPECT_EQ(findGuiElement(&parsed.root(), "F", "frame", "name")->getTag(), "frame");
    EXPECT_EQ(findGuiElement(&parsed.root(), "S", "scroller", "name")->getTag(), "scroller");
    EXPECT_EQ(findGuiElement(&parsed.root(), "S", "frame", "name"), nullptr);
    EXPECT_EQ(findGuiElement(&parsed.root(), "M", "menu", "name")->getTag(), "menu");
}

TEST(GuiLookup, StringsAtAnyDepthInDocumentOrder) {
    const Parsed parsed(kSections);
    EXPECT_EQ(findGuiElement(&parsed.root(), "1", "string", "id")->getAttribute("caption"), "one");
    EXPECT_EQ(findGuiElement(&parsed.root(), "7", "string", "id")->getAttribute("caption"), "seven");
    EXPECT_EQ(findGuiElement(&parsed.root(), "2", "string", "id"), nullptr);
}

TEST(GuiLookup, UnknownTypesMissingSectionsAndNoRoot) {
    const Parsed parsed(kSections);
    try {
        findGuiElement(&parsed.root(), "Main", "forms", "name");
        FAIL() << "no error";
    } catch (const vek::LibraryException& error) {
        EXPECT_STREQ(error.what(), "Don't know container type");
    }
    const Parsed formsOnly("<gui><forms/></gui>");
    EXPECT_EQ(findGuiElement(&formsOnly.root(), "1", "string", "id"), nullptr);
    EXPECT_EQ(findGuiElement(&formsOnly.root(), "M", "menu", "name"), nullptr);
    EXPECT_EQ(findGuiElement(nullptr, "Main", "form", "name"), nullptr);
}

TEST(GuiLookup, ChessFormAndDamagedDefinitions) {
    const Parsed chess(vek::xml::testing::kChessFormDefinition);
    EXPECT_EQ(findGuiElement(&chess.root(), "ChessFORM", "form", "name")->getAttribute("id"), "128");
    // Cut short inside the form: what was read is still found.
    const std::string_view text = vek::xml::testing::kChessFormDefinition;
    const Parsed cut(text.substr(0, text.find("<child type=\"ListBox\"")));
    EXPECT_NE(findGuiElement(&cut.root(), "ChessFORM", "form", "name"), nullptr);
    // Wrong nesting: the form outside its section is not one.
    const Parsed misplaced("<gui><form name=\"ChessFORM\"/><forms></forms></gui>");
    EXPECT_EQ(findGuiElement(&misplaced.root(), "ChessFORM", "form", "name"), nullptr);
}

}  // namespace
}  // namespace winlib
