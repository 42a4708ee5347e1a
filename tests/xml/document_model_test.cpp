#include <gtest/gtest.h>

#include <memory>

#include "xml/document.h"
#include "xml/mark.h"
#include "xml/xml_text.h"
#include "parsed.h"

namespace vek::xml {
namespace {

using testing::text;

// Appends a new element and returns it, for building trees by hand.
XmlContainer& addElement(XmlContainer& parent, const char* tag) {
    return static_cast<XmlContainer&>(parent.addObject(std::make_unique<Any>(tag)));
}

TEST(XmlDocumentModel, ContainerOwnsItsChildrenInOrderAndIsTheirParent) {
    Any list("items");
    Element& first = list.addObject(std::make_unique<PCData>("one"));
    XmlContainer& second = addElement(list, "item");

    EXPECT_EQ(list.getNumObjects(), 2u);
    EXPECT_EQ(list.getElement(std::size_t{0}), &first);
    EXPECT_EQ(list.getElement(1), &second);
    EXPECT_EQ(list.getElement(2), nullptr);
    EXPECT_EQ(first.getParent(), &list);
    EXPECT_EQ(second.getParent(), &list);
}

TEST(XmlDocumentModel, LeafNodesHaveNoTagAttributesOrChildren) {
    const PCData text("Text");
    EXPECT_TRUE(text.getTag().isEmpty());
    EXPECT_TRUE(text.getAttribute("name").isEmpty());
    EXPECT_EQ(text.getNumObjects(), 0u);
    EXPECT_EQ(text.getElement(std::size_t{0}), nullptr);
    EXPECT_EQ(text.getElement("child"), nullptr);
    EXPECT_EQ(text.getValue(), "Text");
}

TEST(XmlDocumentModel, ElementByTagIsTheFirstContainerWithExactlyThatTag) {
    Any form("form");
    form.addObject(std::make_unique<Comment>("child"));
    addElement(form, "Child");
    XmlContainer& wanted = addElement(form, "child");
    addElement(form, "child");

    EXPECT_EQ(form.getElement("child"), &wanted);
    EXPECT_EQ(form.getElement("layout"), nullptr);
}

TEST(XmlDocumentModel, AllElementsAreCollectedDepthFirstInDocumentOrder) {
    Any form("form");
    XmlContainer& panel = addElement(form, "child");
    XmlContainer& inner = addElement(panel, "child");
    addElement(inner, "layout");
    XmlContainer& last = addElement(form, "child");

    Array<const XmlContainer*> found;
    form.getAllElements(found, "child");

    ASSERT_EQ(found.getCount(), 3u);
    EXPECT_EQ(found[0], &panel);
    EXPECT_EQ(found[1], &inner);
    EXPECT_EQ(found[2], &last);
}

TEST(XmlDocumentModel, ValueGathersCharacterDataOfAllDescendantsButNoComments) {
    Any item("item");
    item.addObject(std::make_unique<PCData>("Dame"));
    item.addObject(std::make_unique<Comment>(" not shown "));
    XmlContainer& bold = addElement(item, "b");
    bold.addObject(std::make_unique<CData>("<Turm>"));

    EXPECT_EQ(item.getValue(), "Dame<Turm>");
    EXPECT_EQ(bold.getValue(), "<Turm>");
}

TEST(XmlDocumentModel, ValueKeepsTheCharacterSetOfItsPieces) {
    Any latin("item");
    latin.addObject(std::make_unique<PCData>("L\xE4ufer"));
    latin.addObject(std::make_unique<PCData>(" und T\xFCrme"));
    EXPECT_EQ(latin.getValue(), "L\xE4ufer und T\xFCrme");
    EXPECT_EQ(latin.getValue().getCharset(), csWINDOWS);

    STRING utf8("Tr\xC3\xA4ger");
    utf8.setCharset(csUTF8);
    Any mixed("item");
    mixed.addObject(std::make_unique<PCData>("L\xE4ufer "));
    mixed.addObject(std::make_unique<PCData>(utf8));
    EXPECT_EQ(text(mixed.getValue()), "L\xC3\xA4ufer Tr\xC3\xA4ger");
    EXPECT_EQ(mixed.getValue().getCharset(), csUTF8);
}

TEST(XmlDocumentModel, AttributeIsFoundByExactNameAndFirstOneWins) {
    Any child("child");
    child.addAttribute("name", "StopBtn");
    child.addAttribute("caption", "Stop");
    child.addAttribute("name", "second");

    EXPECT_EQ(child.getAttribute("name"), "StopBtn");
    EXPECT_TRUE(child.getAttribute("Name").isEmpty());
    EXPECT_TRUE(child.getAttribute("id").isEmpty());
    EXPECT_EQ(child.getAttributes().getCount(), 3u);
}

TEST(XmlDocumentModel, RootIsTheFirstTopLevelContainerWhateverItsTag) {
    Document document;
    EXPECT_EQ(document.getRoot(), nullptr);

    document.addObject(std::make_unique<Declaration>());
    document.addObject(std::make_unique<Comment>("made by hand"));
    XmlContainer& root = addElement(document, "gui");
    addElement(document, "other");

    EXPECT_EQ(document.getRoot(), &root);
}

TEST(XmlDocumentModel, DeclarationDefaultsToVersionOneAndLatin1) {
    Declaration plain;
    EXPECT_EQ(plain.getTag(), "xml");
    EXPECT_EQ(plain.getVersion(), "1.0");
    EXPECT_EQ(plain.getEncoding(), "iso-8859-1");

    Declaration explicitOne;
    explicitOne.addAttribute("version", "1.1");
    explicitOne.addAttribute("encoding", "UTF-8");
    EXPECT_EQ(explicitOne.getVersion(), "1.1");
    EXPECT_EQ(explicitOne.getEncoding(), "UTF-8");
}

}  // namespace
}  // namespace vek::xml
