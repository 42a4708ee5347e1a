#include "winlib/gui_lookup.h"

#include "foundation/exceptions.h"

namespace winlib {

using vek::STRING;
using vek::xml::XmlContainer;

namespace {

const char* sectionOf(const STRING& type) {
    if (type == "form")
        return "forms";
    if (type == "frame" || type == "scroller")
        return "frames";
    if (type == "menu")
        return "menus";
    if (type == "string")
        return "strings";
    throw vek::LibraryException("Don't know container type");
}

}  // namespace

const XmlContainer* findGuiElement(const XmlContainer* root, const STRING& value, const STRING& type,
                                   const STRING& attribute) {
    if (root == nullptr)
        return nullptr;
    const XmlContainer* section = root->getElement(STRING(sectionOf(type)));
    if (section == nullptr)
        return nullptr;
    if (type == "string") {
        vek::Array<const XmlContainer*> strings;
        section->getAllElements(strings, type);
        for (const XmlContainer* string : strings) {
            if (string->getAttribute(attribute) == value)
                return string;
        }
        return nullptr;
    }
    for (std::size_t i = 0; i < section->getNumObjects(); ++i) {
        // Only elements count: a mark or comment with a matching name is not one.
        const auto* child = dynamic_cast<const XmlContainer*>(section->getElement(i));
        if (child != nullptr && child->getTag() == type && child->getAttribute(attribute) == value)
            return child;
    }
    return nullptr;
}

}  // namespace winlib
